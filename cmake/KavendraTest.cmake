# kavendra_add_test(NAME SOURCES <files> LIBS <targets> [LABELS <labels>] [SANITIZE])
# A Qt Test executable registered with CTest. It runs on the offscreen platform with a private
# HOME and XDG directories, so a test never touches the user's settings or files.
# SANITIZE also adds it to the sanitizer build (label "sanitize", target sanitize_tests).
function(kavendra_add_test name)
    cmake_parse_arguments(ARG "SANITIZE" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    add_test(NAME ${name} COMMAND ${name})
    set(labels ${ARG_LABELS})
    if(ARG_SANITIZE)
        list(APPEND labels sanitize)
        add_dependencies(sanitize_tests ${name})
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${labels}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_CACHE_HOME=${home}/cache;XDG_STATE_HOME=${home}/state;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-home/runtime"
        FIXTURES_REQUIRED kavendra_test_home)
endfunction()

# kavendra_add_script_test(NAME SCRIPT <file> [ARGS <args>] [LABELS <labels>] [TIMEOUT <s>])
# A shell test (end-to-end, audio, server). The script starts and stops whatever it needs; it
# exits with 77 to skip when the machine lacks something on purpose.
function(kavendra_add_script_test name)
    cmake_parse_arguments(ARG "" "SCRIPT;TIMEOUT" "ARGS;LABELS" ${ARGN})
    add_test(NAME ${name} COMMAND bash ${ARG_SCRIPT} ${ARG_ARGS})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
        SKIP_RETURN_CODE 77
        ENVIRONMENT "KAVENDRA_BIN=${CMAKE_BINARY_DIR}/bin;KAVENDRA_SOURCE=${CMAKE_SOURCE_DIR}")
endfunction()
