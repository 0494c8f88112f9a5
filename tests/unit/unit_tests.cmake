# The unit tests (GoogleTest, the fake platform, no GL), one binary on both builds: tests/CMakeLists.txt
# builds it for Linux, cmake/windows.cmake for Windows. A new test file is added here.
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
