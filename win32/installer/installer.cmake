# The installer program, DriverSetup.exe. It carries the strings files, the
# logos and the three components as resources.
# The windows in a library; the program entry and the resource scripts go
# into the program itself (an archive member nobody references is left out).
ds_layer(win32installer win32/installer ds_installer win32adapters welcome_jpeg
         SYSTEM comctl32 uxtheme gdi32 user32 PROGRAM WinMain.cpp)
file(GLOB DS_INSTALLER_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/win32/installer/*.rc)

# The components are copied into the build folder first, so that the resource
# script names fixed paths and is rebuilt whenever a component changes.
set(_comp ${CMAKE_BINARY_DIR}/components)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # The Wine tests run this one: every component is a 64-bit build.
  set(_src_inst2k64 "$<TARGET_FILE:inst2k64>")
  set(_src_prnsetup64 "$<TARGET_FILE:PrnSetup64>")
  set(_component_deps inst2k inst2k64 PrnSetup64)
else()
  if(NOT DEFINED DS_WIN64_DIST_DIR)
    message(FATAL_ERROR "DS_WIN64_DIST_DIR must name the folder of the x86-64 build's inst2k64.dll and PrnSetup64.exe")
  endif()
  set(_src_inst2k64 "${DS_WIN64_DIST_DIR}/inst2k64.dll")
  set(_src_prnsetup64 "${DS_WIN64_DIST_DIR}/PrnSetup64.exe")
  set(_component_deps inst2k ${_src_inst2k64} ${_src_prnsetup64})
endif()
set(_inst2k ${_comp}/inst2k.dll)
set(_inst2k64 ${_comp}/inst2k64.dll)
set(_prnsetup64 ${_comp}/PrnSetup64.exe)
add_custom_command(OUTPUT ${_inst2k} ${_inst2k64} ${_prnsetup64}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_comp}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:inst2k> ${_inst2k}
  COMMAND ${CMAKE_COMMAND} -E copy ${_src_inst2k64} ${_inst2k64}
  COMMAND ${CMAKE_COMMAND} -E copy ${_src_prnsetup64} ${_prnsetup64}
  DEPENDS ${_component_deps}
  COMMENT "Staging the embedded components")
add_custom_target(installer_components DEPENDS ${_inst2k} ${_inst2k64} ${_prnsetup64})

set(_res ${CMAKE_SOURCE_DIR}/resources)
set(_rc "#include <windows.h>\n")
string(APPEND _rc "1 RT_MANIFEST \"${CMAKE_SOURCE_DIR}/win32/installer/DriverSetup.manifest\"\n")
string(APPEND _rc "MAINICON ICON \"${_res}/DriverSetup.ico\"\n")
string(APPEND _rc "ICO_PRINTER ICON \"${_res}/printer32.ico\"\n")
foreach(_lang CN CHT EN)
  string(APPEND _rc "RC_STRINGS_INI_${_lang} RCDATA \"${_res}/Strings_${_lang}.ini\"\n")
endforeach()
file(GLOB _logos ${_res}/logos/*.bmp)
foreach(_logo ${_logos})
  get_filename_component(_name ${_logo} NAME_WE)
  string(TOUPPER ${_name} _id)
  string(APPEND _rc "${_id} BITMAP \"${_logo}\"\n")
endforeach()
string(APPEND _rc "INST2KDLL RCDATA \"${_inst2k}\"\n")
string(APPEND _rc "INST2K64DLL RCDATA \"${_inst2k64}\"\n")
string(APPEND _rc "PRNSETUP64EXE RCDATA \"${_prnsetup64}\"\n")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/installer-resources.rc CONTENT "${_rc}")

add_executable(DriverSetup WIN32 ${CMAKE_SOURCE_DIR}/win32/installer/WinMain.cpp ${DS_INSTALLER_RESOURCES} ${CMAKE_BINARY_DIR}/installer-resources.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/installer-resources.rc PROPERTIES
  OBJECT_DEPENDS "${_inst2k};${_inst2k64};${_prnsetup64};${_res}/Strings_CN.ini;${_res}/Strings_CHT.ini;${_res}/Strings_EN.ini;${CMAKE_SOURCE_DIR}/win32/installer/DriverSetup.manifest")
add_dependencies(DriverSetup installer_components)
target_include_directories(DriverSetup PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(DriverSetup PRIVATE win32installer)
target_link_options(DriverSetup PRIVATE ${DS_WIN_LINK_OPTIONS} -municode -mwindows)
add_custom_command(TARGET DriverSetup POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:DriverSetup> ${DS_DIST_DIR}/DriverSetup.exe)
