# make run    installs what is missing, builds, starts the game on the bundled pictures
# make test   same set-up, then every test: unit, widget and end-to-end under Xvfb
# make bench  the benchmarks beside their peers, each ratio printed beside its target
# make fuzz   every reader under libFuzzer + ASan + UBSan for FUZZ_SECONDS each

FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench fuzz clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

run: build
	./build/dev/tintbox

test: build
	ctest --test-dir build/dev --output-on-failure -j $(JOBS)

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
