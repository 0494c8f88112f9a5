# The Linux desktop pieces: the settings file, the GTK dialog, the XScreenSaver description and the
# install. Their tests run in `make test` through ctest; these are the tools those tests use.
#   make install-check   installs into a temporary prefix and lists what went where

EXTRA_TEST_PACKAGES += libxml2-utils desktop-file-utils man-db

.PHONY: install-check
install-check: build
	MORVANE_BUILD=$(CURDIR)/$(BUILD) MORVANE_SOURCE=$(CURDIR) bash tests/integration/install.sh

# The settings-file fuzz target lives with the settings store's tests (it links the X11 store, not
# the fake platform), so the fuzz runner's list of tests/fuzz/*_fuzz.cpp does not name it: it runs
# here, beside `make fuzz` and `make fuzz-smoke`, the same way.
SETTINGS_FUZZ := settings_file_fuzz
.PHONY: fuzz-settings-file fuzz-settings-file-smoke
fuzz: fuzz-settings-file
fuzz-smoke: fuzz-settings-file-smoke

fuzz-settings-file: fuzz-build
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(SETTINGS_FUZZ)
	$(call run-settings-fuzz,$(FUZZ_SECONDS))

fuzz-settings-file-smoke: fuzz-build
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(SETTINGS_FUZZ)
	$(call run-settings-fuzz,$(FUZZ_SMOKE_SECONDS))

define run-settings-fuzz
	@mkdir -p $(FUZZ_BUILD)/corpus/$(SETTINGS_FUZZ)
	@echo "fuzz: $(SETTINGS_FUZZ) for $(1) s (log: $(FUZZ_BUILD)/$(SETTINGS_FUZZ).log)"
	@$(FUZZ_BUILD)/tests/$(SETTINGS_FUZZ) -max_total_time=$(1) -close_fd_mask=2 -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/$(SETTINGS_FUZZ)- \
	  $(FUZZ_BUILD)/corpus/$(SETTINGS_FUZZ) tests/fuzz/corpus/$(SETTINGS_FUZZ) >$(FUZZ_BUILD)/$(SETTINGS_FUZZ).log 2>&1 \
	  || { tail -n 60 $(FUZZ_BUILD)/$(SETTINGS_FUZZ).log; echo "fuzz: $(SETTINGS_FUZZ) failed"; exit 1; }
	@grep -E '^(Done|stat::average_exec_per_sec|stat::peak_rss_mb)' $(FUZZ_BUILD)/$(SETTINGS_FUZZ).log
endef
