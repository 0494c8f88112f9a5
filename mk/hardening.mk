# Hardening beyond the unit tests: Valgrind's memcheck of the running saver and the long soak of the
# scene's logic. Shorter forms of both run in `make test` as integration tests.
#   make memcheck   the full-screen saver for MEMCHECK_SECONDS (default 5) under memcheck, on its own Xvfb
#   make soak       24 simulated hours at 30 frames a second through morvane-render --check, mirrors
#                   on and off (SOAK_SECONDS to change the length)
#   make destroy-loop  the fault tests with DESTROY_ROUNDS (default 1000) windows of another program's
#                   destroyed at random moments while the saver draws in them
MEMCHECK_PACKAGES := valgrind
EXTRA_TEST_PACKAGES += $(MEMCHECK_PACKAGES)
MEMCHECK_SECONDS ?= 5
SOAK_SECONDS ?= 86400
DESTROY_ROUNDS ?= 1000

.PHONY: memcheck soak destroy-loop

memcheck: configure
	@tools/install-packages $(MEMCHECK_PACKAGES) $(XVFB_PACKAGES)
	cmake --build $(BUILD) -j $(JOBS) --target morvane
	MORVANE_BUILD=$(CURDIR)/$(BUILD) MORVANE_SOURCE=$(CURDIR) MEMCHECK_SECONDS=$(MEMCHECK_SECONDS) \
	  bash tests/integration/memcheck.sh

soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target morvane-render
	MORVANE_BUILD=$(CURDIR)/$(BUILD) SOAK_SECONDS=$(SOAK_SECONDS) SOAK_DRAW_EVERY=30 bash tests/integration/soak.sh

destroy-loop: configure
	@tools/install-packages $(XVFB_PACKAGES)
	cmake --build $(BUILD) -j $(JOBS) --target morvane xtesthost
	MORVANE_BUILD=$(CURDIR)/$(BUILD) MORVANE_SOURCE=$(CURDIR) DESTROY_ROUNDS=$(DESTROY_ROUNDS) \
	  bash tests/integration/faults.sh
