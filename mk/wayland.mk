# The Wayland port: what building it needs (libwayland-client and -egl, wayland-scanner and the
# protocol files of wayland-protocols), and the headless sway, swayidle, grim and wtype that its host
# test (tests/hosts/sway.sh) runs.
BUILD_PACKAGES += libwayland-dev wayland-protocols
# sway also runs the Wayland row of make bench.
SWAY_PACKAGES := sway
EXTRA_TEST_PACKAGES += $(SWAY_PACKAGES) swayidle grim wtype
