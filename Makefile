# The two commands of the README: `make run` and `make test`.
JOBS ?= 2

.PHONY: deps build build-native build-win64 build-win32 test run clean

deps:
	@tools/install-deps.sh

build-native: deps
	cmake --preset native
	cmake --build --preset native -j$(JOBS)

build-win64: deps
	cmake --preset win64
	cmake --build --preset win64 -j$(JOBS)

build-win32: deps
	cmake --preset win32
	cmake --build --preset win32 -j$(JOBS)

build: build-native build-win64 build-win32

test: build
	ctest --test-dir build/native --output-on-failure -j$(JOBS)
	ctest --test-dir build/win64 --output-on-failure

run: build-win64
	tools/run-setup.sh

clean:
	rm -rf build
