# The two commands of the README: `make run` starts Kadrix, `make test` runs the suite.
# Both install any missing Debian package first.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
JOBS      ?= $(shell nproc)
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60
# Where `make install` puts the programs; DESTDIR is honoured too.
PREFIX ?= /usr/local

.PHONY: run test test-normal test-asan deps configure build install deb deb-check docs bench fuzz soak cluster-test clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "No display found: start Kadrix under a display, for example 'xvfb-run -a make run', or set DISPLAY."; \
	    exit 1; \
	fi
	@$(BUILD_DIR)/app/kadrix

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package of the installed files: $(BUILD_DIR)/kadrix_<version>_<arch>.deb,
# to install with `sudo apt install ./kadrix_*.deb` from that folder. Debian's
# checker, lintian, must find no error and no warning in it.
deb: build
	@bash scripts/install-deps.sh lintian
	@rm -f $(BUILD_DIR)/kadrix_*.deb
	@cd $(BUILD_DIR) && cpack -G DEB >/dev/null
	@lintian --fail-on error,warning $(BUILD_DIR)/kadrix_*.deb
	@ls $(BUILD_DIR)/kadrix_*.deb

# Installs the package without its recommended packages, starts the installed
# window under Xvfb, checks that every library it loads comes from the
# package's dependencies, and removes the package again. Needs root or sudo;
# not part of `make test`.
deb-check: deb
	@bash scripts/check-deb.sh $(BUILD_DIR)

# Renders the README's pictures in docs/ under Xvfb and openbox.
docs: build
	@bash tools/render-docs.sh $(BUILD_DIR) docs

# The suite runs twice: in the normal build, and in a Debug build under
# AddressSanitizer and UndefinedBehaviorSanitizer (without the benchmarks),
# so that memory errors and undefined behaviour fail the suite too.
test: test-normal test-asan

test-normal: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Qt keeps some allocations for the life of the process (plugins, fonts), so
# leak detection is off; every other finding stops the test that caused it.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DKADRIX_SANITIZE=ON -DKADRIX_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS.
# Not part of `make test`.
fuzz:
	@bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
	@cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The randomized soak of the window, long: SOAK_EVENTS events (100000 by
# default) from SOAK_SEED (1 by default). Not part of `make test`, which runs
# it short.
SOAK_EVENTS ?= 100000
SOAK_SEED   ?= 1
soak: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen SOAK_EVENTS=$(SOAK_EVENTS) SOAK_SEED=$(SOAK_SEED) \
	    tests/soak_tests

bench: build
	@bash scripts/install-deps.sh imagemagick libvips-tools time libjpeg-turbo-progs
	@bash bench/run.sh $(BUILD_DIR)

# kadrix-batch as a Slurm job array on a one-node Slurm started for the
# purpose (installs slurm-wlm and munge when missing). Not part of `make test`.
cluster-test: build
	@bash scripts/install-deps.sh slurm-wlm munge
	@bash scripts/cluster-test.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
