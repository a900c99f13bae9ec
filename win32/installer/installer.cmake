# The installer program, DriverSetup.exe. It carries the strings files, the
# logos and the three components as resources.
# The windows in a library; the program entry and the resource scripts go
# into the program itself (an archive member nobody references is left out).
ds_layer(win32installer win32/installer ds_installer ds_pkgcheck win32adapters welcome_jpeg
         SYSTEM gdi32 user32 PROGRAM WinMain.cpp)
file(GLOB DS_INSTALLER_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/win32/installer/*.rc)

# The components and the logos are embedded packed (scripts/pack-resource.py;
# the program unpacks them with zlib). The packed files lie in the build
# folder under fixed names, so that the resource script is rebuilt whenever
# one of them changes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_comp ${CMAKE_BINARY_DIR}/packed)
set(_packer ${CMAKE_SOURCE_DIR}/scripts/pack-resource.py)
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
set(_inst2k ${_comp}/inst2k.dll.z)
set(_inst2k64 ${_comp}/inst2k64.dll.z)
set(_prnsetup64 ${_comp}/PrnSetup64.exe.z)
add_custom_command(OUTPUT ${_inst2k} ${_inst2k64} ${_prnsetup64}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_comp}
  COMMAND Python3::Interpreter ${_packer} $<TARGET_FILE:inst2k> ${_inst2k}
  COMMAND Python3::Interpreter ${_packer} ${_src_inst2k64} ${_inst2k64}
  COMMAND Python3::Interpreter ${_packer} ${_src_prnsetup64} ${_prnsetup64}
  DEPENDS ${_component_deps} ${_packer}
  COMMENT "Packing the embedded components")
set(_packed_files ${_inst2k} ${_inst2k64} ${_prnsetup64})

set(_res ${CMAKE_SOURCE_DIR}/resources)
set(_rc "#include <windows.h>\n")
string(APPEND _rc "1 RT_MANIFEST \"${CMAKE_SOURCE_DIR}/win32/installer/DriverSetup.manifest\"\n")
string(APPEND _rc "MAINICON ICON \"${_res}/DriverSetup.ico\"\n")
string(APPEND _rc "ICO_PRINTER ICON \"${_res}/printer32.ico\"\n")
foreach(_lang CN CHT EN)
  set(_packed_strings ${_comp}/Strings_${_lang}.ini.z)
  add_custom_command(OUTPUT ${_packed_strings}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_comp}
    COMMAND Python3::Interpreter ${_packer} ${_res}/Strings_${_lang}.ini ${_packed_strings}
    DEPENDS ${_res}/Strings_${_lang}.ini ${_packer})
  list(APPEND _packed_files ${_packed_strings})
  string(APPEND _rc "RC_STRINGS_INI_${_lang} RCDATA \"${_packed_strings}\"\n")
endforeach()
file(GLOB _logos ${_res}/logos/*.bmp)
foreach(_logo ${_logos})
  get_filename_component(_name ${_logo} NAME_WE)
  string(TOUPPER ${_name} _id)
  set(_packed_logo ${_comp}/${_name}.bmp.z)
  add_custom_command(OUTPUT ${_packed_logo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_comp}
    COMMAND Python3::Interpreter ${_packer} ${_logo} ${_packed_logo}
    DEPENDS ${_logo} ${_packer})
  list(APPEND _packed_files ${_packed_logo})
  string(APPEND _rc "${_id} RCDATA \"${_packed_logo}\"\n")
endforeach()
add_custom_target(installer_components DEPENDS ${_packed_files})
string(APPEND _rc "INST2KDLL RCDATA \"${_inst2k}\"\n")
string(APPEND _rc "INST2K64DLL RCDATA \"${_inst2k64}\"\n")
string(APPEND _rc "PRNSETUP64EXE RCDATA \"${_prnsetup64}\"\n")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/installer-resources.rc CONTENT "${_rc}")

add_executable(DriverSetup WIN32 ${CMAKE_SOURCE_DIR}/win32/installer/WinMain.cpp ${DS_INSTALLER_RESOURCES} ${CMAKE_BINARY_DIR}/installer-resources.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/installer-resources.rc PROPERTIES
  OBJECT_DEPENDS "${_packed_files};${CMAKE_SOURCE_DIR}/win32/installer/DriverSetup.manifest")
add_dependencies(DriverSetup installer_components)
target_include_directories(DriverSetup PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(DriverSetup PRIVATE win32installer)
target_link_options(DriverSetup PRIVATE ${DS_WIN_LINK_OPTIONS} -municode -mwindows)
add_custom_command(TARGET DriverSetup POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:DriverSetup> ${DS_DIST_DIR}/DriverSetup.exe)
