# The two set-up commands: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps build build-asan build-fuzz fuzz run test perf clean

all: build

deps:
	@./scripts/install-deps

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON
	cmake --build build-asan -j $(JOBS)

build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFUZZ=ON
	cmake --build build-fuzz -j $(JOBS)

fuzz: build-fuzz
	./scripts/run-fuzz

# benchdesk starts dashview from the same folder; both work in build/run/ (Data/flysim.dat).
run: build
	cd build/run && ./benchdesk

# Tests run twice: plain, then under AddressSanitizer and UndefinedBehaviorSanitizer;
# then every fuzz target runs briefly. First, no file may include a header of a
# layer above its own.
test: build build-asan build-fuzz
	./scripts/check-layers --build build
	./scripts/run-fuzz
	cd build && ctest --output-on-failure -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

perf: build
	@for b in build/perf/*_bench; do [ -f "$$b" ] && [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf build build-asan build-fuzz
