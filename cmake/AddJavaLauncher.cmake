# add_java_launcher(NAME Hello ICON app.ico VERSION 1.2.3 [CONSOLE]
#                   [PRODUCT_NAME text] [COMPANY text] [DESCRIPTION text] [COPYRIGHT text])
# Builds the launcher as NAME.exe for the architecture of this build, with
# the application's icon and version information compiled in: the build-time
# alternative to branding a launcher with the packaging tool. CONSOLE builds
# the console flavour, for command-line applications.
function(add_java_launcher)
  cmake_parse_arguments(ARG "CONSOLE" "NAME;ICON;VERSION;PRODUCT_NAME;COMPANY;DESCRIPTION;COPYRIGHT" "" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_ICON OR NOT ARG_VERSION)
    message(FATAL_ERROR "add_java_launcher needs NAME, ICON and VERSION")
  endif()
  if(NOT ARG_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
    message(FATAL_ERROR "add_java_launcher: VERSION ${ARG_VERSION} is not 1 to 4 numbers joined by dots")
  endif()
  if(NOT ARG_PRODUCT_NAME)
    set(ARG_PRODUCT_NAME ${ARG_NAME})
  endif()
  if(NOT ARG_DESCRIPTION)
    set(ARG_DESCRIPTION ${ARG_PRODUCT_NAME})
  endif()
  string(REPLACE "." ";" parts "${ARG_VERSION}.0.0.0")
  list(SUBLIST parts 0 4 parts)
  list(JOIN parts "," version_commas)
  # Texts of a resource script double their quotes.
  foreach(field NAME PRODUCT_NAME COMPANY DESCRIPTION COPYRIGHT VERSION)
    string(REPLACE "\"" "\"\"" rc_${field} "${ARG_${field}}")
  endforeach()
  cmake_path(ABSOLUTE_PATH ARG_ICON BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE icon)
  set(rc ${CMAKE_BINARY_DIR}/java_launcher/${ARG_NAME}/${ARG_NAME}.rc)
  file(CONFIGURE OUTPUT ${rc} @ONLY CONTENT [=[
#include "launcher_common.rc"

1 ICON "@icon@"

VS_VERSION_INFO VERSIONINFO
FILEVERSION @version_commas@
PRODUCTVERSION @version_commas@
FILEFLAGSMASK VS_FFI_FILEFLAGSMASK
FILEFLAGS 0
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_APP
FILESUBTYPE 0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904b0"
    BEGIN
      VALUE "CompanyName", "@rc_COMPANY@"
      VALUE "FileDescription", "@rc_DESCRIPTION@"
      VALUE "FileVersion", "@rc_VERSION@"
      VALUE "InternalName", "@rc_NAME@"
      VALUE "LegalCopyright", "@rc_COPYRIGHT@"
      VALUE "OriginalFilename", "@rc_NAME@.exe"
      VALUE "ProductName", "@rc_PRODUCT_NAME@"
      VALUE "ProductVersion", "@rc_VERSION@"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END
]=])
  set(console "")
  if(ARG_CONSOLE)
    set(console CONSOLE)
  endif()
  add_launcher_executable(${ARG_NAME} ${rc} ${console})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${icon} ${CMAKE_SOURCE_DIR}/src/resources/launcher_common.rc)
endfunction()

# add_launcher_executable(TARGET RC [CONSOLE])
# The launcher program from its one list of sources and options, with the
# resources of RC: the shipped exes and every add_java_launcher exe alike.
function(add_launcher_executable target rc)
  cmake_parse_arguments(ARG "CONSOLE" "" "" ${ARGN})
  set(subsystem WIN32)
  if(ARG_CONSOLE)
    set(subsystem "")
  endif()
  add_executable(${target} ${subsystem} ${CMAKE_SOURCE_DIR}/src/launcher/win32/main.cpp
    ${CMAKE_SOURCE_DIR}/src/launcher/win32/internal_failure.cpp ${rc})
  target_compile_options(${target} PRIVATE ${LAUNCHER_LEAN_OPTIONS})
  if(ARG_CONSOLE)
    target_compile_definitions(${target} PRIVATE LAUNCHER_CONSOLE)
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/src/resources)
  target_link_libraries(${target} PRIVATE launcher_win ${WINDOWS_STATIC_LINK} -municode)
  launcher_warnings(${target})
endfunction()
