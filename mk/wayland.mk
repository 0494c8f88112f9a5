# The Wayland port: what building it needs (libwayland-client and -egl, wayland-scanner and the
# protocol files of wayland-protocols), and the headless sway, swayidle, grim and wtype that its host
# test (tests/hosts/sway.sh) runs.
BUILD_PACKAGES += libwayland-dev wayland-protocols
EXTRA_TEST_PACKAGES += sway swayidle grim wtype
