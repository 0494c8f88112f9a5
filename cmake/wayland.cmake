# The Wayland port of the Linux saver (host/platform/wayland_*.cpp): libwayland-client, its EGL
# windows, and the xdg-shell protocol's client code, generated at build time by wayland-scanner from
# the protocol file of the system's wayland-protocols. Adds the port to the target `morvane`.
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl)
pkg_check_modules(WAYLAND_SCANNER REQUIRED wayland-scanner)
pkg_check_modules(WAYLAND_PROTOCOLS REQUIRED wayland-protocols)
pkg_get_variable(WAYLAND_SCANNER_PROGRAM wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)

set(xdg_shell_xml ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml)
set(xdg_shell_dir ${PROJECT_BINARY_DIR}/wayland-protocols)
add_custom_command(
  OUTPUT ${xdg_shell_dir}/xdg-shell-client-protocol.h ${xdg_shell_dir}/xdg-shell-protocol.c
  COMMAND ${CMAKE_COMMAND} -E make_directory ${xdg_shell_dir}
  COMMAND ${WAYLAND_SCANNER_PROGRAM} client-header ${xdg_shell_xml} ${xdg_shell_dir}/xdg-shell-client-protocol.h
  COMMAND ${WAYLAND_SCANNER_PROGRAM} private-code ${xdg_shell_xml} ${xdg_shell_dir}/xdg-shell-protocol.c
  DEPENDS ${xdg_shell_xml}
  COMMENT "Generating the xdg-shell client code")

set(MORVANE_WAYLAND_SOURCES wayland_display.cpp wayland_egl.cpp wayland_input.cpp wayland_window.cpp)
list(TRANSFORM MORVANE_WAYLAND_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/host/platform/)
target_sources(morvane PRIVATE ${MORVANE_WAYLAND_SOURCES} ${xdg_shell_dir}/xdg-shell-protocol.c)
target_include_directories(morvane PRIVATE ${xdg_shell_dir})
target_link_libraries(morvane PRIVATE PkgConfig::WAYLAND OpenGL::EGL)
