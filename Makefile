# The commands a fresh Debian 12 machine needs (as root); each installs
# what is missing first.

.PHONY: test run dist demo bench fuzz build clean

# Seconds each fuzz target runs (make fuzz FUZZ_SECONDS=600).
FUZZ_SECONDS ?= 60

test:
	bash scripts/test.sh

run:
	bash scripts/run.sh

dist:
	bash scripts/dist.sh

demo:
	bash scripts/demo.sh

fuzz:
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

build:
	bash scripts/install-deps.sh
	bash -c 'source scripts/build-lib.sh && tarnwick_configure_all && tarnwick_build_all'

bench:
	bash scripts/install-deps.sh
	bash -c 'source scripts/build-lib.sh && tarnwick_configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo' 
	cmake --build build/native --target tarnwick_bench
	build/native/bench/tarnwick_bench

clean:
	rm -rf build dist
