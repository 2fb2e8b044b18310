# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: all deps configure build run test asan fuzz bench screenshots clean package

JOBS ?= $(shell nproc)

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

# Opens the program on a scratch copy of the bundled sample, so the sample never changes.
run: build
	@scripts/run-sample build

test: build
	@cd build && ctest --output-on-failure -j $(JOBS)

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

bench: build
	@bench/run-all build

# The README's pictures, drawn offscreen into docs/images/.
screenshots: build
	@docs/make-screenshots build

# The Debian package, left in build/, then unpacked into a scratch root to check its files.
package: build
	@cd build && cpack -G DEB
	@tests/packaging/check-install.sh "$$(ls -t build/zadw_*.deb | head -n1)" build/packaging/deb-root "zadw zadw-tool"

clean:
	rm -rf build build-asan build-fuzz
