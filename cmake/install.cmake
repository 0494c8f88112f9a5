# Installing the Linux saver where its hosts look for it: the program on PATH, the display mode in the
# hosts' hack folder, its XScreenSaver description, manual page and screensaver desktop entry.
# Included by cmake/linux.cmake.
include(GNUInstallDirs)

# XScreenSaver, MATE and Xfce run display modes only from fixed folders, and XScreenSaver's settings
# read descriptions from one folder only: these are absolute, outside the install prefix, so that a
# default install is found. Debian's folders are the defaults.
set(MORVANE_HACK_DIR /usr/libexec/xscreensaver CACHE PATH
  "Folder the screen-saver hosts run display modes from")
set(MORVANE_XSCREENSAVER_CONFIG_DIR /usr/share/xscreensaver/config CACHE PATH
  "Folder XScreenSaver's settings read display-mode descriptions from")

install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS morvane RUNTIME DESTINATION ${MORVANE_HACK_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.xml DESTINATION ${MORVANE_XSCREENSAVER_CONFIG_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# MATE and Xfce list a theme from its desktop entry and run it only when Exec names a program in one
# of their hack folders, so the path is written out in full.
configure_file(${PROJECT_SOURCE_DIR}/resources/morvane.desktop.in ${PROJECT_BINARY_DIR}/morvane.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/morvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
# The dialogs module the program opens when it shows a dialog (MORVANE_MODULE_DIR, cmake/linux.cmake).
install(TARGETS morvane_gtk LIBRARY DESTINATION ${MORVANE_MODULE_DIR})
