# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev \
	qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev libvulkan-dev libx11-dev \
	libbenchmark-dev fonts-dejavu-core \
	xvfb xauth xdotool x11-apps imagemagick pulseaudio pulseaudio-utils sox \
	php-cli php-sqlite3 curl

.PHONY: all deps configure build run test unit-tests sanitize fuzz bench server clean

all: build

# Installs only what is missing; `apt-get update` runs only then.
deps:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing missing packages:" $$missing; \
		sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
		$$sudo apt-get update && \
		DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/kavendra

unit-tests: build
	ctest --test-dir $(BUILD) --output-on-failure -j 1

# The whole suite: every test, then the song script tests under sanitizers and a short fuzz run.
test: unit-tests sanitize fuzz

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVENDRA_SANITIZE=ON -DKAVENDRA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target sanitize_tests
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -L sanitize

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKAVENDRA_FUZZ=ON -DKAVENDRA_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_songscript
	bash tools/run-fuzz.sh $(FUZZ_BUILD)/bin/fuzz_songscript $(FUZZ_SECONDS)

bench: build
	bash bench/run.sh $(BUILD)

server: deps
	bash server/run.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
