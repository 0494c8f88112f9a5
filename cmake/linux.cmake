# Linux build: the saver on X11 with GLX, the headless renderer on EGL, the tests and the tools.

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL GLX)
find_package(JPEG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xscrnsaver)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)

target_link_libraries(morvane_core PUBLIC OpenGL::GL PkgConfig::GLU JPEG::JPEG)

# The embedded pictures (resources/CMakeLists.txt defines morvane_embedded).
add_subdirectory(resources)

add_library(morvane_offscreen STATIC ${PROJECT_SOURCE_DIR}/host/platform/egl_offscreen.cpp)
target_include_directories(morvane_offscreen PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(morvane_offscreen PUBLIC OpenGL::EGL OpenGL::GL)

# The saver: the Linux platform on the window model, drawing through X11 or (cmake/wayland.cmake)
# Wayland. The settings file is read with GLib alone; GTK is only in the dialogs module, which the
# program opens when it shows a dialog.
set(MORVANE_LINUX_SOURCES
  linux_dialogs.cpp
  linux_display.cpp
  linux_main.cpp
  linux_messages.cpp
  linux_options.cpp
  linux_pictures_ahead.cpp
  linux_settings.cpp
  linux_signals.cpp
  linux_system.cpp
  linux_time.cpp
  x11_blanking.cpp
  x11_cursor.cpp
  x11_display.cpp
  x11_fps.cpp
  x11_geometry.cpp
  x11_glx.cpp
  x11_messages.cpp
  x11_monitors.cpp
  x11_power.cpp
  x11_window.cpp
  window_model.cpp)
list(TRANSFORM MORVANE_LINUX_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/host/platform/)
add_executable(morvane ${MORVANE_LINUX_SOURCES})
include(cmake/wayland.cmake)
target_link_libraries(morvane PRIVATE morvane_core morvane_embedded OpenGL::GLX PkgConfig::X11 PkgConfig::GLIB
  ${CMAKE_DL_LIBS})

# The dialogs module, beside the program in the build folder and in <libdir>/morvane once installed.
include(GNUInstallDirs)
set(MORVANE_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/morvane)
add_library(morvane_gtk MODULE ${PROJECT_SOURCE_DIR}/host/platform/gtk_dialogs.cpp)
target_include_directories(morvane_gtk PRIVATE ${PROJECT_SOURCE_DIR})
# The module calls no C library function of its own, so an as-needed link would drop libc from it;
# Debian requires every shared object to name it.
target_link_libraries(morvane_gtk PRIVATE PkgConfig::GTK3 "-Wl,--push-state,--no-as-needed,-lc,--pop-state")
set_target_properties(morvane_gtk PROPERTIES PREFIX "" OUTPUT_NAME morvane-gtk
  LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR} CXX_VISIBILITY_PRESET hidden)
target_compile_definitions(morvane PRIVATE MORVANE_MODULE_DIR="${MORVANE_MODULE_DIR}"
  MORVANE_MODULE_DIR_FULL="${CMAKE_INSTALL_FULL_LIBDIR}/morvane")
# Building the program builds the module it opens.
add_dependencies(morvane morvane_gtk)
# Monitors (RandR, Xinerama) and display power (DPMS, in Xext).
pkg_check_modules(X11_EXTRA REQUIRED IMPORTED_TARGET xrandr xinerama xext)
target_link_libraries(morvane PRIVATE PkgConfig::X11_EXTRA)

# Tools and benchmarks: each in a folder of its own with its own CMakeLists.txt.
foreach(tool_dir tools/icons tools/pictures tools/render tools/xtesthost
                 bench/decode bench/glx_floor bench/render bench/swap_counter)
  add_subdirectory(${tool_dir})
endforeach()

if(MORVANE_TESTS)
  add_subdirectory(tests)
endif()

include(cmake/install.cmake OPTIONAL)

# Where an installed program finds the module, from the install layout: <prefix>/bin/morvane in
# <prefix>/MORVANE_MODULE_DIR, wherever the prefix went; the copy in the hosts' hack folder, when that
# folder is <prefix>/<libexecdir>/xscreensaver (Debian's), under that prefix, whatever prefix the
# build was configured with (the package installs with --prefix /usr).
set(MORVANE_HACK_PREFIX "")
if(MORVANE_HACK_DIR MATCHES "^(.*)/${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver$")
  set(MORVANE_HACK_PREFIX "${CMAKE_MATCH_1}")
endif()
target_compile_definitions(morvane PRIVATE MORVANE_BIN_DIR="${CMAKE_INSTALL_BINDIR}"
  MORVANE_HACK_DIR="${MORVANE_HACK_DIR}" MORVANE_HACK_PREFIX="${MORVANE_HACK_PREFIX}")
