# The unit tests (GoogleTest, the fake platform, no GL), one binary on both builds. Each build
# includes this file once GTest::gtest_main and morvane_embedded exist, and says how the binary is
# run: tests/CMakeLists.txt for Linux, cmake/windows.cmake for Windows (under Wine). The fake
# platform is also what the GL tests and the fuzzers link. A new test file is added here.
add_library(morvane_fake_platform STATIC ${PROJECT_SOURCE_DIR}/tests/support/fake_platform.cpp
  ${PROJECT_SOURCE_DIR}/host/platform/window_model.cpp)
target_include_directories(morvane_fake_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(morvane_fake_platform PUBLIC morvane_embedded)

set(UNIT_TEST_SOURCES
  atlas_test.cpp
  command_line_test.cpp
  display_power_test.cpp
  draw_order_test.cpp
  drift_test.cpp
  frame_clock_test.cpp
  mirror_config_test.cpp
  monitors_test.cpp
  random_test.cpp
  saver_main_test.cpp
  saver_window_test.cpp
  scene_viewports_test.cpp
  settings_test.cpp
  sprite_test.cpp
  window_model_test.cpp
  window_proc_test.cpp)
list(TRANSFORM UNIT_TEST_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE morvane_core morvane_fake_platform GTest::gtest_main)
