# find_package(XllHost): builds XLL add-ins against xllhost's declarations
# and tests them in xllhost, the stand-in for Excel that runs them under Wine.
#
#   XllHost::xlcall32   in a build for Windows (a MinGW-w64 toolchain), the
#                       import library of xlcall32.dll for the width being
#                       built, with the folder of <xllhost/XllApi.h>
#   XLLHOST_EXECUTABLE  the xllhost command
#   xllhost_add_test(NAME name ADDIN target-or-file [SCENARIO s]
#                    [EXPECT formula value]... [WORKBOOK book.xlsx]
#                    [TOLERANCE rel] [JUNIT file] [REPORT file])
#                       one CTest test: xllhost plays the add-in (a target's
#                       file, or a path) and the test passes when xllhost's
#                       verdict is clean (status 0)
include_guard(GLOBAL)

# This file sits in PREFIX/lib/cmake/XllHost.
get_filename_component(_xllhost_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
set(XLLHOST_EXECUTABLE "${_xllhost_prefix}/bin/xllhost")

if(WIN32 AND NOT TARGET XllHost::xlcall32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(_xllhost_width i686)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_xllhost_width x86_64)
  else()
    message(FATAL_ERROR "XllHost: enable C or C++ in project() before find_package(XllHost), so the width is known")
  endif()
  add_library(XllHost::xlcall32 UNKNOWN IMPORTED)
  set_target_properties(XllHost::xlcall32 PROPERTIES
    IMPORTED_LOCATION "${_xllhost_prefix}/lib/xllhost/${_xllhost_width}/libxlcall32.a"
    INTERFACE_INCLUDE_DIRECTORIES "${_xllhost_prefix}/share/xllhost/include")
endif()

function(xllhost_add_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;ADDIN;SCENARIO;WORKBOOK;TOLERANCE;JUNIT;REPORT" "EXPECT")
  if(NOT arg_NAME OR NOT arg_ADDIN)
    message(FATAL_ERROR "xllhost_add_test: NAME and ADDIN are required")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "xllhost_add_test(${arg_NAME}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  set(command "${XLLHOST_EXECUTABLE}")
  if(arg_SCENARIO)
    list(APPEND command --scenario "${arg_SCENARIO}")
  endif()
  # EXPECT takes pairs. A formula or value holding ';' (an array constant)
  # is escaped as '\;', as any CMake list element.
  list(LENGTH arg_EXPECT count)
  math(EXPR odd "${count} % 2")
  if(odd)
    message(FATAL_ERROR "xllhost_add_test(${arg_NAME}): EXPECT takes a formula and the value its cell must show")
  endif()
  while(arg_EXPECT)
    list(POP_FRONT arg_EXPECT formula value)
    list(APPEND command --expect "${formula}" "${value}")
  endwhile()
  # A workbook is a source; the reports are written in the build tree.
  if(arg_WORKBOOK)
    get_filename_component(path "${arg_WORKBOOK}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND command --workbook "${path}")
  endif()
  foreach(option JUNIT REPORT)
    if(arg_${option})
      string(TOLOWER ${option} flag)
      get_filename_component(path "${arg_${option}}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
      list(APPEND command --${flag} "${path}")
    endif()
  endforeach()
  if(arg_TOLERANCE)
    list(APPEND command --tolerance "${arg_TOLERANCE}")
  endif()
  if(TARGET ${arg_ADDIN})
    set(addin "$<TARGET_FILE:${arg_ADDIN}>")
  else()
    get_filename_component(addin "${arg_ADDIN}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_test(NAME ${arg_NAME} COMMAND ${command} "${addin}")
  set_tests_properties(${arg_NAME} PROPERTIES LABELS xllhost)
endfunction()
