# Windows build (MinGW-w64 cross compiler, cmake/mingw-w64-x86_64.cmake): morvane.scr, one
# self-contained executable that imports only system DLLs, and the test programs run under Wine.
# libjpeg is the static libjpeg-turbo that mk/windows.mk cross-builds under build/.

set(MORVANE_JPEG_PREFIX ${PROJECT_SOURCE_DIR}/build/libjpeg-win64/install
    CACHE PATH "Where the cross-built libjpeg (6b API) has include/ and lib/")
find_path(MORVANE_JPEG_INCLUDE jpeglib.h PATHS ${MORVANE_JPEG_PREFIX}/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
find_library(MORVANE_JPEG_LIBRARY libjpeg.a PATHS ${MORVANE_JPEG_PREFIX}/lib NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
if(NOT MORVANE_JPEG_INCLUDE OR NOT MORVANE_JPEG_LIBRARY)
  message(FATAL_ERROR "No cross-built libjpeg under ${MORVANE_JPEG_PREFIX}: build with `make windows`, "
                      "which makes it first.")
endif()
add_library(morvane_jpeg STATIC IMPORTED)
set_target_properties(morvane_jpeg PROPERTIES IMPORTED_LOCATION ${MORVANE_JPEG_LIBRARY}
                      INTERFACE_INCLUDE_DIRECTORIES ${MORVANE_JPEG_INCLUDE})

target_link_libraries(morvane_core PUBLIC morvane_jpeg glu32 opengl32)

# Everything the C and C++ runtimes bring is linked in, so only system DLLs are imported.
set(MORVANE_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The one version number, CMake's project version, as the resource script and the installer take it:
# four numbers for VERSIONINFO and VIProductVersion, the short form for what users read.
set(version_numbers ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    string(APPEND version_numbers ",0")
  else()
    string(APPEND version_numbers ",${PROJECT_VERSION_${part}}")
  endif()
endforeach()
string(REPLACE "," "." version_dotted ${version_numbers})
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/morvane_version.h CONTENT
  "#define MORVANE_VERSION_NUMBERS ${version_numbers}\n#define MORVANE_VERSION_TEXT \"${version_dotted}\"\n")
# Read by mk/windows.mk for makensis and by the Wine tests: the short and the four-number form.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/version CONTENT "${PROJECT_VERSION} ${version_dotted}\n")

# The resource script is compiled on its own: windres takes none of the compilers' warning options.
set(resource_dir ${PROJECT_SOURCE_DIR}/resources)
set(resource_object ${PROJECT_BINARY_DIR}/morvane_resources.o)
add_custom_command(OUTPUT ${resource_object}
  COMMAND ${CMAKE_RC_COMPILER} --input-format=rc --output-format=coff -I ${resource_dir}
          -I ${PROJECT_BINARY_DIR} -I ${PROJECT_SOURCE_DIR} -i ${resource_dir}/morvane.rc -o ${resource_object}
  DEPENDS ${resource_dir}/morvane.rc ${PROJECT_BINARY_DIR}/morvane_version.h ${PROJECT_SOURCE_DIR}/host/saver_ids.h
          ${resource_dir}/morvane.manifest ${resource_dir}/morvane.ico
          ${resource_dir}/morvane_rgb.jpg ${resource_dir}/morvane_mask.jpg ${resource_dir}/logo_mask.jpg
  COMMENT "Compiling the Windows resources")

set(MORVANE_WIN32_SOURCES win32.cpp win32_gl.cpp win32_monitors.cpp win32_registry.cpp win32_window.cpp)
list(TRANSFORM MORVANE_WIN32_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/host/platform/)
add_executable(morvane WIN32 ${MORVANE_WIN32_SOURCES} ${resource_object})
set_target_properties(morvane PROPERTIES SUFFIX .scr RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_link_libraries(morvane PRIVATE morvane_core)
target_link_options(morvane PRIVATE ${MORVANE_STATIC_RUNTIME})
# What ships carries no symbols; they stay beside it in morvane.scr.debug, which debuggers find
# through the .gnu_debuglink section.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  add_custom_command(TARGET morvane POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug morvane.scr morvane.scr.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=morvane.scr.debug morvane.scr
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    COMMENT "Moving the symbols of morvane.scr into morvane.scr.debug")
endif()

if(MORVANE_TESTS)
  # A small Win32 program that plays the parts of the Display settings around the saver: the preview
  # parent window, and a reader of the configuration dialog's state.
  add_executable(saver_probe ${PROJECT_SOURCE_DIR}/tests/windows/saver_probe.cpp)
  set_target_properties(saver_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
  target_link_options(saver_probe PRIVATE ${MORVANE_STATIC_RUNTIME})

  # The portable core's unit tests, built for Windows with GoogleTest from Debian's source.
  set(MORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
  if(EXISTS ${MORVANE_GTEST_SOURCE}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${MORVANE_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(resources)
    include(${PROJECT_SOURCE_DIR}/tests/unit/unit_tests.cmake)
    set_target_properties(unit_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
    target_link_options(unit_tests PRIVATE ${MORVANE_STATIC_RUNTIME})
    add_test(NAME windows.unit_tests COMMAND unit_tests)
  endif()
endif()
