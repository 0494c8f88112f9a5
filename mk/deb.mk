# The Debian package of the Linux saver, and the tests that install it and start the real hosts.
#   make deb   build/morvane_VERSION_ARCH.deb (VERSION is the CMake project's version)
# The host tests (tests/hosts) run in `make test` through ctest, as root: they install the package,
# run XScreenSaver, MATE's screen saver and xsecurelock as a user of their own, and remove the package
# again.

DEB_PACKAGES := dpkg-dev
XSCREENSAVER_PACKAGES := xscreensaver xscreensaver-gl
EXTRA_TEST_PACKAGES += $(DEB_PACKAGES) lintian $(XSCREENSAVER_PACKAGES) mate-screensaver dbus-daemon \
  libglib2.0-bin dconf-gsettings-backend passwd xsecurelock

.PHONY: deb
deb: build
	@tools/install-packages $(DEB_PACKAGES)
	@tools/make-deb $(BUILD) build
