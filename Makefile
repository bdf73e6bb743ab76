# The commands of the README: `make run`, `make test` and `make release`.
JOBS ?= 2

.PHONY: deps build build-native build-win64 build-win32 test reproducible run release clean

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
	ctest --test-dir build/win32 --output-on-failure
	@bash -c '. tools/wine-lib.sh && wine_32bit_mode && [ "$$WINE32_MODE" != none ] || \
	  echo "NOTE: the 32-bit Wine tests of build/win32 were skipped: $$WINE32_REASON"'
	$(MAKE) --no-print-directory --old-file=build-win32 reproducible  # built above, with the rest of build

# A second build of the 32-bit preset in another folder gives the same setup.exe files, byte for byte.
reproducible: build-win32
	cmake --preset win32 -B build/win32-again >/dev/null
	cmake --build build/win32-again -j$(JOBS) --target setup setup-standard setup-professional
	@for exe in setup.exe setup-standard.exe setup-professional.exe; do \
	  cmp build/win32/$$exe build/win32-again/$$exe || { echo "$$exe differs between two builds"; exit 1; }; \
	done; echo "reproducible: the two builds' setup.exe files are byte-identical"

# The 32-bit setup.exe, the one users get.
run: build-win32
	tools/run-setup.sh

release: build-win32
	tools/release.sh build/win32 dist

clean:
	rm -rf build dist
