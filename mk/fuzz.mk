# libFuzzer targets: every tests/fuzz/*_fuzz.cpp and tests/*/*_fuzz.cpp (a target that links a
# platform file of its own lives with its tests), built with clang (preset fuzz), each run on its
# seed corpus tests/fuzz/corpus/<target>/. New inputs go to build/fuzz/corpus/<target>/, so the
# committed seeds stay as they are.
#   make fuzz          FUZZ_SECONDS per target (default 60)
#   make fuzz-smoke    a few seconds per target; one of the steps of `make test`
FUZZ_BUILD := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5
FUZZ_TARGETS := $(sort $(basename $(notdir $(wildcard tests/*/*_fuzz.cpp))))
FUZZ_PACKAGES := clang libclang-rt-14-dev
EXTRA_TEST_PACKAGES += $(FUZZ_PACKAGES)

.PHONY: fuzz fuzz-smoke fuzz-build

fuzz-build: deps
	@tools/install-packages $(FUZZ_PACKAGES)
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) $(addprefix --target ,$(FUZZ_TARGETS))

# $(1): seconds per target. -close_fd_mask=2 silences the targets' own messages on standard error
# (libjpeg's warnings); crash reports still come through. Each run's log is kept beside the build;
# a failing run shows its end.
define run-fuzzers
	@set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target tests/fuzz/corpus/$$target; \
	  log=$(FUZZ_BUILD)/$$target.log; \
	  echo "fuzz: $$target for $(1) s (log: $$log)"; \
	  if ! $(FUZZ_BUILD)/tests/$$target -max_total_time=$(1) -close_fd_mask=2 -print_final_stats=1 \
	      -artifact_prefix=$(FUZZ_BUILD)/$$target- \
	      $(FUZZ_BUILD)/corpus/$$target tests/fuzz/corpus/$$target >$$log 2>&1; then \
	    tail -n 60 $$log; echo "fuzz: $$target failed"; exit 1; \
	  fi; \
	  grep -E '^(Done|stat::average_exec_per_sec|stat::peak_rss_mb)' $$log; \
	done
endef

fuzz: fuzz-build
	$(call run-fuzzers,$(FUZZ_SECONDS))

fuzz-smoke: fuzz-build
	$(call run-fuzzers,$(FUZZ_SMOKE_SECONDS))
