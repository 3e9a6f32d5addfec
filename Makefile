# The two everyday commands: `make run` and `make test`.
.PHONY: all build run test asan-test bench format clean

all: build

build/CMakeCache.txt:
	cmake --preset default

build: build/CMakeCache.txt
	cmake --build --preset default

run: build
	./build/examples/nrx_example

test: build
	ctest --preset default

build-asan/CMakeCache.txt:
	cmake --preset asan

asan-test: build-asan/CMakeCache.txt
	cmake --build --preset asan
	ctest --preset asan

bench: build
	./build/bench/tavrin_bench

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
