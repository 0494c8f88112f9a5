# The two commands of the README:
#   make run    builds the Linux saver and starts it full screen on $WAYLAND_DISPLAY or $DISPLAY
#   make test   builds everything and runs every test (starts its own Xvfb)
# and the quick one while working: make check, the unit and GL tests alone.
# Each installs the Debian packages it needs first (as root, silent when all are present).
# Further targets come from mk/*.mk, one file per area.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build/linux

# Debian packages, by what needs them: each package is named in one list, and a target installs
# the lists it needs. mk/*.mk files have lists of their own and add to EXTRA_TEST_PACKAGES.
# The build configures its tests too, so GoogleTest is among what it needs.
CMAKE_PACKAGES := cmake make
BUILD_PACKAGES := $(CMAKE_PACKAGES) g++ pkg-config libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri \
  libjpeg62-turbo-dev libpng-dev libx11-dev libxss-dev libxext-dev libxrandr-dev libxinerama-dev \
  libxfixes-dev libgtk-3-dev libgtest-dev
# A private X server and the tools that find, look at and type into its windows.
XVFB_PACKAGES := xvfb xdotool x11-utils imagemagick
TEST_PACKAGES := $(XVFB_PACKAGES) x11-xserver-utils gdb

.PHONY: all run test check build deps test-deps configure test-linux test-sanitize clean
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
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (neither \$$DISPLAY nor \$$WAYLAND_DISPLAY is set); start it from a desktop session."; \
	else \
	  echo "$(BUILD)/morvane /s"; $(BUILD)/morvane /s; \
	fi

# Every test, one step a line, in the README's order: the unit and GL tests; the integration tests
# of the real programs; the hosts with the installed package (one at a time: they share it); the
# sanitizers; the hardening tests (Valgrind, soak, faults); the fuzzers; the Windows build under Wine.
# The ctest labels split the Linux build's tests (tests/CMakeLists.txt); every test has one step.
CTEST := tests/with-xvfb ctest --test-dir $(BUILD) --output-on-failure
test: test-deps build
	$(CTEST) -j $(JOBS) -L 'unit|gl'
	$(CTEST) -j $(JOBS) -LE 'unit|gl|hosts|hardening'
	$(CTEST) -L hosts
	$(MAKE) --no-print-directory test-sanitize
	$(CTEST) -j $(JOBS) -L hardening
	$(MAKE) --no-print-directory fuzz-smoke
	$(MAKE) --no-print-directory test-windows

# The unit and GL tests: only their two programs built, each run whole (ctest would start one
# process per test). Neither needs a display.
check: configure
	cmake --build $(BUILD) -j $(JOBS) --target unit_tests gl_tests
	$(BUILD)/tests/unit_tests --gtest_brief=1
	$(BUILD)/tests/gl_tests --gtest_brief=1

# Every test of the Linux build in one parallel ctest run, in no particular order.
test-linux: build
	$(CTEST) -j $(JOBS)

# The unit and GL tests again, under AddressSanitizer and UndefinedBehaviorSanitizer. Mesa's
# driver is preloaded for the GL tests: loaded by dlopen and unloaded at exit, its own allocations
# would be reported as leaks from an unknown module, with no frame that a suppression could name.
ASAN_RUNTIME = $(shell gcc -print-file-name=libasan.so)
MESA_DRIVER = $(firstword $(wildcard /usr/lib/*/dri/swrast_dri.so))
test-sanitize: deps
	@[ -f build/asan/CMakeCache.txt ] || cmake --preset asan >/dev/null
	cmake --build build/asan -j $(JOBS) --target unit_tests gl_tests
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build/asan/tests/unit_tests
	LD_PRELOAD="$(ASAN_RUNTIME) $(MESA_DRIVER)" UBSAN_OPTIONS=print_stacktrace=1 build/asan/tests/gl_tests

clean:
	rm -rf build
