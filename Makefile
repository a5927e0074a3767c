# The two commands of the README: `make run` starts Kadrix, `make test` runs the suite.
# Both install any missing Debian package first.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
JOBS      ?= $(shell nproc)

.PHONY: run test test-normal test-asan deps configure build bench fuzz clean

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

test: test-normal

test-normal: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@bash scripts/install-deps.sh imagemagick libvips-tools time
	@bash bench/run.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR)
