# The two everyday commands: `make run` and `make test`.
.PHONY: all bootstrap build run example test asan-test bench format clean

all: build

# Every build first makes sure the packages are there (quick when they are).
bootstrap:
	@bash scripts/bootstrap

build/CMakeCache.txt: | bootstrap
	cmake --preset default

build: bootstrap build/CMakeCache.txt
	cmake --build --preset default

# The desktop program on a desktop; without one, the command-line example.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./build/bin/tavrin32; \
	else \
	  echo "make run: no display to show tavrin32 on; running the command-line example (make example) instead"; \
	  $(MAKE) --no-print-directory example; \
	fi

example: build
	./build/examples/nrx_example

test: build
	ctest --preset default

build-asan/CMakeCache.txt: | bootstrap
	cmake --preset asan

asan-test: bootstrap build-asan/CMakeCache.txt
	cmake --build --preset asan
	ctest --preset asan

bench: build
	./build/bench/tavrin_bench

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
