# The two commands of the README:
#   make run    builds the Linux saver and starts it full screen on $DISPLAY
#   make test   builds everything and runs every test (starts its own Xvfb)
# Each installs the Debian packages it needs first (as root, silent when all are present).
# Further targets come from mk/*.mk, one file per area.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build/linux

# Debian packages, by what needs them. mk/*.mk files add to these lists.
# The build configures its tests too, so GoogleTest is among what it needs.
BUILD_PACKAGES := cmake make g++ pkg-config libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri \
  libjpeg62-turbo-dev libpng-dev libx11-dev libxss-dev libxext-dev libxrandr-dev libxinerama-dev \
  libxfixes-dev libgtk-3-dev libgtest-dev
TEST_PACKAGES := xvfb xdotool x11-utils x11-xserver-utils imagemagick clang libclang-rt-14-dev gdb

# Test steps run by `make test`, in order; mk/*.mk files add theirs.
TEST_STEPS := test-linux test-sanitize

.PHONY: all run test build deps test-deps configure test-linux test-sanitize clean
all: build

include $(sort $(wildcard mk/*.mk))

deps:
	@tools/install-packages $(BUILD_PACKAGES)

test-deps:
	@tools/install-packages $(BUILD_PACKAGES) $(TEST_PACKAGES) $(EXTRA_TEST_PACKAGES)

$(BUILD)/CMakeCache.txt:
	cmake --preset linux >/dev/null

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ]; then \
	  echo "make run: no X display (\$$DISPLAY is not set); start it from a desktop session."; \
	else \
	  echo "$(BUILD)/morvane /s"; $(BUILD)/morvane /s; \
	fi

test: test-deps
	@set -e; for step in $(TEST_STEPS); do $(MAKE) --no-print-directory $$step; done

test-linux: configure
	cmake --build $(BUILD) -j $(JOBS)
	tests/with-xvfb ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The unit and GL tests again, under AddressSanitizer and UndefinedBehaviorSanitizer. Mesa's
# driver is preloaded for the GL tests: loaded by dlopen and unloaded at exit, its own allocations
# would be reported as leaks from an unknown module, with no frame that a suppression could name.
ASAN_RUNTIME = $(shell gcc -print-file-name=libasan.so)
MESA_DRIVER = $(firstword $(wildcard /usr/lib/*/dri/swrast_dri.so))
test-sanitize: deps
	@[ -f build/asan/CMakeCache.txt ] || cmake --preset asan >/dev/null
	cmake --build build/asan -j $(JOBS) --target unit_tests $(if $(wildcard tests/gl/*.cpp),gl_tests)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build/asan/tests/unit_tests
	$(if $(wildcard tests/gl/*.cpp),LD_PRELOAD="$(ASAN_RUNTIME) $(MESA_DRIVER)" \
	  UBSAN_OPTIONS=print_stacktrace=1 build/asan/tests/gl_tests)

clean:
	rm -rf build
