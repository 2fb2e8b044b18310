# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: all deps configure build run test asan asan-gui fuzz release clang bench screenshots clean \
	package format format-check tidy

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

# The whole program and its window tests under the same sanitizers, offscreen.
asan-gui: deps
	@cmake --preset asan-gui >/dev/null
	@cmake --build --preset asan-gui -j $(JOBS)
	@cd build-asan-gui && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --output-on-failure -j $(JOBS)

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

# The Debian package, built in its own Release tree with Debian's hardening flags from only what it
# ships (no tests, no screenshots, no benchmarks) and left in build-package/; then unpacked into a
# scratch root to check its files, and checked by lintian: any error or warning fails.
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	    cmake --preset package \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build --preset package -j $(JOBS)
	@cd build-package && cpack -G DEB
	@deb="$$(ls -t build-package/zadw_*.deb | head -n1)"; \
	    tests/packaging/check-install.sh "$$deb" build-package/packaging/deb-root "zadw zadw-tool" && \
	    lintian --fail-on error,warning --display-level '>=warning' "$$deb"

# Every C++ source of the project in the style of .clang-format: `format` rewrites them,
# `format-check` fails on any difference.
FORMAT_SOURCES = $(shell find src tests bench fuzz examples -name '*.cpp' -o -name '*.h' | sort)

format: deps
	@clang-format -i $(FORMAT_SOURCES)

format-check: deps
	@clang-format --dry-run -Werror $(FORMAT_SOURCES)

# The checks of .clang-tidy over src/ and tests/ (and their headers) in the dev build's compile
# database; any finding fails. The build comes first: the sources include generated headers.
tidy: build
	@run-clang-tidy -quiet -p build -j $(JOBS) \
	    -header-filter='^$(CURDIR)/(src|tests)/' '^$(CURDIR)/(src|tests)/' >build/tidy.log 2>&1 \
	    || { grep -v '^[0-9]* warnings\? generated' build/tidy.log; exit 1; }

clean:
	rm -rf build build-asan build-asan-gui build-fuzz build-release build-clang build-package
