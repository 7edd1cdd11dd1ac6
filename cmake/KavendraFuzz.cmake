# libFuzzer targets (KAVENDRA_FUZZ, clang only), with AddressSanitizer and
# UndefinedBehaviorSanitizer. Every target is built by the target "fuzzers" and listed in
# fuzzers.list in the build folder, one a line: binary, seed folder, dictionary (or "-"), so that
# tools/run-fuzz.sh runs them all.
set(KAVENDRA_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined)
set(KAVENDRA_FUZZ_LIST ${CMAKE_BINARY_DIR}/fuzzers.list)
file(WRITE ${KAVENDRA_FUZZ_LIST} "")
add_custom_target(fuzzers)

# The libraries the fuzzers drive get edge coverage and the sanitizers. Not comparison tracing:
# their keywords are matched inside QtCore, where it sees nothing, and it made every run of a
# song's round trip a third slower.
function(kavendra_fuzz_instrument)
    foreach(lib ${ARGN})
        target_compile_options(${lib} PRIVATE -fsanitize=address,undefined
            -fsanitize-coverage=inline-8bit-counters,pc-table)
    endforeach()
endfunction()

# kavendra_add_fuzzer(NAME SOURCES <files> LIBS <targets> SEEDS <folder> [DICT <file>])
function(kavendra_add_fuzzer name)
    cmake_parse_arguments(ARG "" "SEEDS;DICT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${KAVENDRA_FUZZ_FLAGS})
    target_link_options(${name} PRIVATE ${KAVENDRA_FUZZ_FLAGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    add_dependencies(fuzzers ${name})
    if(NOT ARG_DICT)
        set(ARG_DICT -)
    endif()
    file(APPEND ${KAVENDRA_FUZZ_LIST}
        "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}\t${ARG_SEEDS}\t${ARG_DICT}\n")
endfunction()
