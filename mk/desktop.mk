# The Linux desktop pieces: the settings file, the GTK dialog, the XScreenSaver description and the
# install. Their tests run in `make test` through ctest; these are the tools those tests use.
#   make install-check   installs into a temporary prefix and lists what went where

EXTRA_TEST_PACKAGES += libxml2-utils desktop-file-utils man-db

.PHONY: install-check
install-check: build
	MORVANE_BUILD=$(CURDIR)/$(BUILD) MORVANE_SOURCE=$(CURDIR) bash tests/integration/install.sh
