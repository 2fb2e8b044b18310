# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: all deps configure build run test asan fuzz release clang bench screenshots clean package

JOBS ?= $(shell nproc)

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev -j $(JOBS)

# Opens the program on a scratch copy of the bundled sample, so the sample never changes.
run: build
	@scripts/run-sample build

test: build
	@cd build && ctest --output-on-failure -j $(JOBS)

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS)

# The core and tool as a distribution builds them: Release with Debian's hardening flags, all of
# them (fortify, stack protector, relro and now).
release: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	    cmake --preset release \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@cd build-release && ctest --output-on-failure -j $(JOBS)

clang: deps
	@cmake --preset clang >/dev/null
	@cmake --build --preset clang -j $(JOBS)
	@cd build-clang && ctest --output-on-failure -j $(JOBS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

bench: build
	@bench/run-all build

# The README's pictures, drawn offscreen into docs/images/.
screenshots: build
	@docs/make-screenshots build

# The Debian package, left in build/, then unpacked into a scratch root to check its files, and
# checked by lintian: any error or warning fails.
package: build
	@cd build && cpack -G DEB
	@tests/packaging/check-install.sh "$$(ls -t build/zadw_*.deb | head -n1)" build/packaging/deb-root "zadw zadw-tool"
	@lintian --fail-on error,warning --display-level '>=warning' "$$(ls -t build/zadw_*.deb | head -n1)"

clean:
	rm -rf build build-asan build-fuzz build-release build-clang
