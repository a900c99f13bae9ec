# Windows targets: the Win32 adapters, the installer, the Wine test programs.
include_directories(${CMAKE_SOURCE_DIR})  # "win32/WinApi.h" for every Windows program
set(DS_WIN_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  list(APPEND DS_WIN_LINK_OPTIONS -s)  # shipped programs carry no symbol tables
endif()

if(NOT DEFINED DS_DIST_DIR)
  set(DS_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
endif()
file(MAKE_DIRECTORY ${DS_DIST_DIR})

# Thin adapters over the real Windows API (ports -> Win32).
ds_layer(win32adapters win32/adapters ds_sysutil SYSTEM setupapi shlwapi shell32 advapi32 ole32)

include(${CMAKE_SOURCE_DIR}/win32/installer/installer.cmake)

# GoogleTest built from Debian's sources for the Wine test programs
# (scripts/install-deps.sh installs the sources). The x86-64 build has them
# all; the i686 build has the ones run in the 32-bit configurations of
# scripts/run-wine-tests.sh (the same sources) with their 32-bit stand-ins.
option(DS_WINE_TESTS "Build the Windows test programs run under Wine" ON)
if(DS_WINE_TESTS)
  if(NOT EXISTS /usr/src/googletest/googletest/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are missing in /usr/src/googletest: run scripts/install-deps.sh, "
                        "or configure with -DDS_WINE_TESTS=OFF")
  endif()
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(_t gtest gtest_main)
    target_compile_options(${_t} PRIVATE -Wno-error)
  endforeach()
  # The win32-thread MinGW toolchain has no std::mutex for GoogleTest's
  # Notification; a stand-in is forced into gtest and everything using it.
  target_compile_options(gtest PUBLIC "SHELL:-include ${CMAKE_SOURCE_DIR}/cmake/gtest-mingw-notification.h")

  # ds_wine_test(NAME src...): a Windows test program run by scripts/run-wine-tests.sh.
  function(ds_wine_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE win32adapters gtest gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    target_link_options(${name} PRIVATE ${DS_WIN_LINK_OPTIONS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/wine-tests)
  endfunction()

  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    file(GLOB _wine_dirs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*/CMakeLists.txt)
  else()
    set(_wine_dirs)
    foreach(_n inst2k installer flow planting spooler)
      list(APPEND _wine_dirs ${CMAKE_SOURCE_DIR}/tests/wine/${_n}/CMakeLists.txt)
    endforeach()
  endif()
  foreach(_f ${_wine_dirs})
    get_filename_component(_d ${_f} DIRECTORY)
    get_filename_component(_n ${_d} NAME)
    add_subdirectory(${_d} ${CMAKE_BINARY_DIR}/tests-wine-${_n})
  endforeach()
endif()
