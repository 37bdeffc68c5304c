# The two commands a newcomer needs: `make run` and `make test`.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: run service test test-sanitize build build-sanitize deps bench clean content-sheet \
	deps-fuzz build-fuzz fuzz install deb

deps:
	@scripts/install-deps.sh

build: deps
	@test -f build/build.ninja || cmake --preset default
	cmake --build --preset default

# The program, with the reference photo-sharing service beside it on localhost.
run: build
	scripts/run-with-service.sh build

# The reference photo-sharing service alone, in the foreground (Ctrl+C stops it).
service: build
	./build/bin/brivane-service

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

# Fuzzing with libFuzzer (clang-14, in build-fuzz/): every target runs SECONDS seconds on
# its corpus; FUZZ_TARGETS picks some. fuzz/run.sh says what it does with the findings.
SECONDS ?= 60
FUZZ_TARGETS ?= pictures metadata settings showtrailer labels albums deletedalbums addressbook \
	response ftplisting smtpreply updateanswer servicerequest

deps-fuzz:
	@scripts/install-deps.sh fuzz

build-fuzz: deps-fuzz
	@test -f build-fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz

fuzz: build-fuzz
	fuzz/run.sh $(SECONDS) $(FUZZ_TARGETS)

# The program folder under $(PREFIX)/lib/brivane, launchers in $(PREFIX)/bin, desktop
# entry, metadata and icons under $(PREFIX)/share (DESTDIR is honoured).
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX) --strip

# A Debian package (under /usr) in build/packages/, checked by lintian.
deb: build
	rm -f build/packages/*.deb
	cd build && cpack -G DEB
	lintian --fail-on error build/packages/*.deb

clean:
	rm -rf build build-sanitize build-fuzz

content-sheet: build
	cmake --build --preset default --target content-sheet
