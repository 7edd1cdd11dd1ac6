# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# Seconds per fuzz target; make test runs every one of them.
FUZZ_SECONDS ?= 30
JOBS       ?= $(shell nproc)
# make install PREFIX=... DESTDIR=...: where the program goes, and a staging root before it.
PREFIX     ?= /usr/local
DESTDIR    ?=

.PHONY: all deps deps-test deps-bench deps-server deps-package configure build run test unit-tests \
	sanitize fuzz bench server install uninstall package clean

all: build

# Each task installs only the Debian packages it needs and that are missing (tools/deps.sh).
deps:
	bash tools/deps.sh build
deps-test:
	bash tools/deps.sh build test package
deps-bench:
	bash tools/deps.sh build bench
deps-server:
	bash tools/deps.sh server
deps-package:
	bash tools/deps.sh build package

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/kavendra

unit-tests: deps-test build
	ctest --test-dir $(BUILD) --output-on-failure -j 1

# The whole suite: every test, then the song script tests under sanitizers and a short run of
# every fuzzer.
test: unit-tests sanitize fuzz

sanitize: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVENDRA_SANITIZE=ON -DKAVENDRA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target sanitize_tests
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -L sanitize

fuzz: deps-test
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKAVENDRA_FUZZ=ON -DKAVENDRA_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: deps-bench build
	bash bench/run.sh $(BUILD)

server: deps-server
	bash server/run.sh

# Installs the build under PREFIX (inside DESTDIR when given); without DESTDIR it also refreshes
# the desktop's file type, menu and icon caches there. It builds nothing, so that
# `make build && sudo make install` leaves no root-owned files in the build.
install:
	@test -x $(BUILD)/bin/kavendra || { echo "Nothing to install: run make build first." >&2; exit 1; }
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)
	$(if $(DESTDIR),,bash tools/desktop-caches.sh $(PREFIX))

# Removes exactly the files the last install wrote (build/install_manifest.txt).
uninstall:
	DESTDIR=$(DESTDIR) cmake --build $(BUILD) --target uninstall
	$(if $(DESTDIR),,bash tools/desktop-caches.sh $(PREFIX))

# The Debian package, build/kavendra_<version>_<arch>.deb.
package: deps-package build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
