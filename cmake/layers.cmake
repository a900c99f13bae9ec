# One static library per source folder. Each names the layers it builds on,
# and only those: a call from a folder into one that is not below it is an
# undefined reference when the folder's library is linked alone (the
# "<name>_links" program below), so a layering break fails the build.
#
# ds_layer(NAME FOLDER [LAYERS BELOW...] [SYSTEM lib...] [PROGRAM file...])
# Sources: FOLDER/*.cpp and FOLDER/*.c (new files are picked up at build
# time), except the PROGRAM files (entry points, which the program compiles
# itself: the runtime asks for them after the libraries were searched).
# A folder without sources (only interfaces) gives an interface library.
function(ds_layer name folder)
  cmake_parse_arguments(PARSE_ARGV 2 L "" "" "SYSTEM;PROGRAM")
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.c)
  foreach(_p ${L_PROGRAM})
    list(REMOVE_ITEM _src ${CMAKE_SOURCE_DIR}/${folder}/${_p})
  endforeach()
  if(_src)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_UNPARSED_ARGUMENTS} ${L_SYSTEM})
    add_executable(${name}_links ${CMAKE_SOURCE_DIR}/cmake/LinkCheck.cpp)
    target_link_libraries(${name}_links PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>")
    set_target_properties(${name}_links PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/layer-links)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_UNPARSED_ARGUMENTS} ${L_SYSTEM})
  endif()
  set_property(GLOBAL APPEND PROPERTY DS_LAYERS ${name})
endfunction()
