# Installing the Linux saver: the program on PATH and among XScreenSaver's display modes, with its
# XScreenSaver description, manual page and screensaver desktop entry. Included by cmake/linux.cmake.
include(GNUInstallDirs)

install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# XScreenSaver runs display modes from its own folder, not from PATH.
install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
# The dialogs module the program opens when it shows a dialog (MORVANE_MODULE_DIR, cmake/linux.cmake).
install(TARGETS morvane_gtk LIBRARY DESTINATION ${MORVANE_MODULE_DIR})
