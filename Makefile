# make run    installs what is missing, builds, starts the game on the bundled pictures
# make test   same set-up, then every test: unit, widget and end-to-end under Xvfb
# make bench  the benchmarks beside their peers, each ratio printed beside its target
# make fuzz   every reader under libFuzzer + ASan + UBSan for FUZZ_SECONDS each
# make install    the game into PREFIX (/usr/local), DESTDIR honoured; make uninstall
# make deb        a Debian package of the game, build/dev/deb/tintbox_VERSION_ARCH.deb

FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: deps build run test bench fuzz clean install uninstall deb

deps:
	@scripts/install-deps

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

run: build
	./build/dev/tintbox

test: build
	ctest --test-dir build/dev --output-on-failure -j $(JOBS)

# The list of what was installed is kept apart: the tests install too.
install: build
	DESTDIR="$(DESTDIR)" cmake --install build/dev --prefix "$(PREFIX)"
	cp build/dev/install_manifest.txt build/dev/installed-files.txt

# Removes what the last make install wrote, and the game's own folders.
uninstall:
	@test -f build/dev/installed-files.txt || { echo "uninstall: nothing installed from build/dev"; exit 1; }
	sed 's|^|$(DESTDIR)|' build/dev/installed-files.txt | xargs -d '\n' rm -f
	@for d in lib/tintbox share/tintbox/img share/tintbox share/doc/tintbox; do \
	  rmdir "$(DESTDIR)$(PREFIX)/$$d" 2>/dev/null || true; done
	rm -f build/dev/installed-files.txt

deb: build
	cd build/dev && cpack -G DEB -B deb
	@ls build/dev/deb/*.deb

bench:
	@scripts/install-deps --bench
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	scripts/run-bench build/release

fuzz:
	@scripts/install-deps --fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzz build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
