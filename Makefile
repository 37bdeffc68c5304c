# The two commands a newcomer needs: `make run` and `make test`.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: run test test-sanitize build build-sanitize deps bench clean content-sheet

deps:
	@scripts/install-deps.sh

build: deps
	@test -f build/build.ninja || cmake --preset default
	cmake --build --preset default

run: build
	./build/bin/quendal

test: build
	ctest --preset default

build-sanitize: deps
	@test -f build-sanitize/build.ninja || cmake --preset sanitize
	cmake --build --preset sanitize

# SANE's test backend is unloaded at exit with buffers it never frees, so the scanner
# tests run without the leak check (address and undefined-behaviour checks stay on).
test-sanitize: build-sanitize
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -E '^Scanner|Large'
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -R '^Scanner'

bench: build
	bench/run-all.sh

clean:
	rm -rf build build-sanitize

content-sheet: build
	cmake --build --preset default --target content-sheet
