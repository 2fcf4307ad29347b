# The Windows executables (launcher-x86.exe or launcher-x64.exe), their
# Windows-side tests and the test tools.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(LAUNCHER_ARCH x64)
else()
  set(LAUNCHER_ARCH x86)
endif()

target_compile_definitions(launcher_portable PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_include_directories(launcher_portable PUBLIC ${CMAKE_SOURCE_DIR}/src/vm/win32/jni ${JNI_INCLUDE_DIR})

# Release products are size-optimised, stripped and need no DLL beyond Windows' own.
set(WINDOWS_STATIC_LINK -static -static-libgcc -static-libstdc++)
string(APPEND CMAKE_EXE_LINKER_FLAGS_MINSIZEREL " -s")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

add_library(launcher_win STATIC
  src/common/win32/ansi_text.cpp
  src/common/win32/console_flavour.cpp
  src/common/win32/environment.cpp
  src/common/win32/file_system.cpp
  src/common/win32/launch_trace.cpp
  src/common/win32/message_loop_thread.cpp
  src/common/win32/string_table.cpp
  src/common/win32/system_library.cpp
  src/jre/win32/jre_not_found_dialog.cpp
  src/jre/win32/release_file_reader.cpp
  src/jre/win32/runtime_search.cpp
  src/jre/win32/runtime_selection.cpp
  src/jre/win32/vendor_runtimes.cpp
  src/launcher/win32/error_report.cpp
  src/launcher/win32/extra_arguments.cpp
  src/launcher/win32/instance_listener.cpp
  src/launcher/win32/launcher_app.cpp
  src/jre/win32/machine_check.cpp
  src/launcher/win32/java_thread.cpp
  src/launcher/win32/paired_product.cpp
  src/launcher/win32/single_instance.cpp
  src/launcher/win32/thread_slots.cpp
  src/settings/win32/executable_paths.cpp
  src/settings/win32/ini_settings_file.cpp
  src/settings/win32/layered_settings.cpp
  src/settings/win32/per_user_settings.cpp
  src/launcher/win32/settings_loader.cpp
  src/splash/win32/gdiplus_api.cpp
  src/splash/win32/launch_splash.cpp
  src/splash/win32/splash_thread.cpp
  src/splash/win32/splash_window.cpp
  src/ui/win32/dialog_centring.cpp
  src/ui/win32/dialog_libraries.cpp
  src/ui/win32/link_label.cpp
  src/ui/win32/resizing_layout.cpp
  src/vm/win32/class_data_sharing.cpp
  src/vm/win32/exception_dialog.cpp
  src/vm/win32/vm_environment.cpp
  src/vm/win32/vm_library.cpp
  src/vm/win32/vm_options.cpp
)
# The portable code's usage requirements would give these sources all of src/.
target_link_libraries(launcher_win PUBLIC $<LINK_ONLY:launcher_portable> user32 kernel32 gdi32 advapi32
                                   INTERFACE launcher_headers)
target_compile_definitions(launcher_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_include_directories(launcher_win PUBLIC ${CMAKE_SOURCE_DIR}/src/vm/win32/jni ${JNI_INCLUDE_DIR})
launcher_layer_includes(launcher_win)
launcher_warnings(launcher_win)
# Function-local statics get no thread-safe guard, so each one that is not
# constant-initialised must be first reached on the main thread before any
# other thread that uses it starts. What another thread uses first (the Java
# thread's print hook) lives at namespace scope, initialised before main.
# The product catches no exception (an internal failure ends the process,
# see internal_failure.cpp): without thread-safe guards and exception tables
# the executable needs neither a thread library nor the C++ unwinder. The
# section options are repeated here because launcher_portable was defined
# before the directory-wide ones above, and its unused code must go too.
set(LAUNCHER_LEAN_OPTIONS -fno-threadsafe-statics -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
if(LAUNCHER_ARCH STREQUAL x86)
  # 32-bit Windows unwinds its own exceptions along the frame chain: the
  # DWARF tables would serve only C++ exceptions, and there are none.
  # Arguments are pushed, not stored, which is much smaller code. The stack
  # probes that would forbid that are only ever made for frames of a page or
  # more, and the frame-size check keeps every frame well below a page.
  list(APPEND LAUNCHER_LEAN_OPTIONS -fno-asynchronous-unwind-tables
       -mno-accumulate-outgoing-args -mno-stack-arg-probe -Wframe-larger-than=4000 -Wvla -Walloca)
endif()
target_compile_options(launcher_win PRIVATE ${LAUNCHER_LEAN_OPTIONS})
target_compile_options(launcher_portable PRIVATE ${LAUNCHER_LEAN_OPTIONS})

# What packaging tools need to brand a launcher; not part of the launcher.
add_library(launcher_packaging STATIC src/settings/win32/embedded_settings_writer.cpp)
target_link_libraries(launcher_packaging PUBLIC launcher_portable)
launcher_layer_includes(launcher_packaging)
launcher_warnings(launcher_packaging)

# Version numbers of the version-information resources.
set(LAUNCHER_NAME launcher-${LAUNCHER_ARCH})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/launcher_version.h @ONLY CONTENT
  "#define LAUNCHER_VERSION_COMMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
#define LAUNCHER_VERSION_TEXT \"${PROJECT_VERSION}\"
#define LAUNCHER_FILE_NAME \"${LAUNCHER_NAME}.exe\"
#define LAUNCHER_CONSOLE_FILE_NAME \"${LAUNCHER_NAME}-console.exe\"
#define PACKAGER_FILE_NAME \"packager-${LAUNCHER_ARCH}.exe\"
")

# The packaging tool: brands a launcher as an application's exe, checks INIs.
add_executable(packager
  tools/packager/check_command.cpp
  tools/packager/file_io.cpp
  tools/packager/main.cpp
  tools/packager/package_app.cpp
  tools/packager/packager.rc
  tools/packager/runtimes_command.cpp
  tools/packager/signed_check.cpp
)
set_target_properties(packager PROPERTIES OUTPUT_NAME packager-${LAUNCHER_ARCH})
target_link_libraries(packager PRIVATE packager_core ini_check launcher_packaging launcher_win ${WINDOWS_STATIC_LINK} -municode)
target_include_directories(packager PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/src/resources)
launcher_warnings(packager)

# The shipped launchers, and the console flavour (the same program for the
# console subsystem, for command-line applications).
include(cmake/AddJavaLauncher.cmake)
add_launcher_executable(launcher src/resources/launcher.rc)
set_target_properties(launcher PROPERTIES OUTPUT_NAME ${LAUNCHER_NAME})
add_launcher_executable(launcher_console src/resources/launcher.rc CONSOLE)
set_target_properties(launcher_console PROPERTIES OUTPUT_NAME ${LAUNCHER_NAME}-console)
set_property(SOURCE src/resources/launcher.rc tools/packager/packager.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/resources/launcher_common.rc ${CMAKE_SOURCE_DIR}/src/resources/launcher.manifest ${CMAKE_SOURCE_DIR}/src/resources/launcher.ico
  ${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h ${CMAKE_SOURCE_DIR}/src/resources/version_info.rc)

# GoogleTest from Debian's sources, cross-built.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Process starts for the test tools, robust to Wine's rare failed starts.
add_library(process_start STATIC testing/process_start/process_start.cpp)
target_include_directories(process_start PUBLIC testing)
target_compile_definitions(process_start PUBLIC UNICODE _UNICODE NOMINMAX)
launcher_warnings(process_start)

# The dialog robot: launches a program and reads and answers its windows.
add_library(robot STATIC testing/robot/robot.cpp testing/robot/folder_picker.cpp testing/robot/png_file.cpp)
target_include_directories(robot PUBLIC testing)
target_link_libraries(robot PUBLIC process_start user32 gdi32 comctl32)
target_compile_definitions(robot PUBLIC UNICODE _UNICODE NOMINMAX)
launcher_warnings(robot)
add_executable(robot_cli testing/robot/robot_main.cpp)
set_target_properties(robot_cli PROPERTIES OUTPUT_NAME robot)
target_link_libraries(robot_cli PRIVATE robot ${WINDOWS_STATIC_LINK} -municode)
launcher_warnings(robot_cli)

# Prints settings as the launcher reads them, for end-to-end tests.
add_executable(settings_probe testing/settings_probe/settings_probe.cpp)
target_link_libraries(settings_probe PRIVATE launcher_win ${WINDOWS_STATIC_LINK} -municode)
launcher_warnings(settings_probe)

add_library(file_tree STATIC testing/file_tree/file_tree.cpp)
target_include_directories(file_tree PUBLIC testing)
target_compile_definitions(file_tree PUBLIC UNICODE _UNICODE NOMINMAX)
launcher_warnings(file_tree)

# Windows-side unit tests, run in-process under Wine. Their string table holds
# texts of chosen lengths (the digits 0-8 and a blank, repeated) around the loader's buffer sizes.
set(_test_strings "#include \"${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h\"\nSTRINGTABLE\nBEGIN\n")
string(APPEND _test_strings "  IDS_WINDOWS_EXCEPTION \"Windows exception: %s (errno = %d).\\n\"\n")
string(APPEND _test_strings "  IDS_NO_MODULE_PATH \"failed to get the module path\"\n")
string(APPEND _test_strings "  IDS_NO_MAIN_CLASS \"Main class was not specified in INI file.\"\n")
string(APPEND _test_strings "  950 \"Caption from the table\"\n")
string(REPEAT "012345678 " 120 _digits)
foreach(_length 1 254 255 256 511 512 1100)
  string(SUBSTRING "${_digits}" 0 ${_length} _text)
  math(EXPR _id "1000 + ${_length}")
  string(APPEND _test_strings "  ${_id} \"${_text}\"\n")
endforeach()
string(APPEND _test_strings "END\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/test_strings.rc CONTENT "${_test_strings}" @ONLY)

# Windows-side unit tests, run in-process under Wine.
add_executable(windows_tests
  tests/windows/error_report_test.cpp
  tests/windows/extra_arguments_test.cpp
  tests/windows/file_system_test.cpp
  tests/windows/internal_failure_test.cpp
  tests/windows/link_label_test.cpp
  tests/windows/machine_check_test.cpp
  tests/windows/runtime_search_test.cpp
  tests/windows/settings_file_test.cpp
  tests/windows/settings_loader_test.cpp
  tests/windows/test_files.cpp
  tests/windows/thread_slots_test.cpp
  # The portable VM parameter rules again, compiled as each product is: the
  # 32-bit build's floating point must give what the 64-bit one gives.
  tests/native/vm_parameters_test.cpp
  # The C formatter's table, for each product's machine and argument sizes.
  tests/native/c_format_test.cpp
  ${CMAKE_BINARY_DIR}/test_strings.rc
)
target_link_libraries(windows_tests PRIVATE launcher_win robot file_tree GTest::gtest_main ${WINDOWS_STATIC_LINK})
# Fails as the launcher does, for the internal-failure test.
add_executable(internal_failure_probe testing/internal_failure_probe/internal_failure_probe.cpp src/launcher/win32/internal_failure.cpp)
target_compile_options(internal_failure_probe PRIVATE ${LAUNCHER_LEAN_OPTIONS})
target_link_libraries(internal_failure_probe PRIVATE ${WINDOWS_STATIC_LINK} -municode)
launcher_warnings(internal_failure_probe)
add_dependencies(windows_tests internal_failure_probe)
launcher_warnings(windows_tests)

# End-to-end tests: the launcher as a user runs it, under its own name.
add_executable(e2e_tests
  tests/e2e/app_folder.cpp
  tests/e2e/bad_input_test.cpp
  tests/e2e/exception_dialog_test.cpp
  tests/e2e/instances.cpp
  tests/e2e/java_app.cpp
  tests/e2e/java_launch_test.cpp
  tests/e2e/jre_not_found_test.cpp
  tests/e2e/runtime_selection_test.cpp
  tests/e2e/single_instance_test.cpp
  tests/e2e/native_splash_test.cpp
  tests/e2e/packaging_test.cpp
  tests/e2e/splash_window_test.cpp
  tests/e2e/launch_spine_test.cpp
  tests/e2e/settings_test.cpp
  tests/e2e/stability_test.cpp
)
target_link_libraries(e2e_tests PRIVATE robot file_tree launcher_packaging version GTest::gtest_main ${WINDOWS_STATIC_LINK})
launcher_warnings(e2e_tests)
add_dependencies(e2e_tests launcher settings_probe packager robot_cli)

# Static checks of the product's file.
find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
include(cmake/Example.cmake)
add_test(NAME static_pe_checks
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/static/check_pe.py $<TARGET_FILE:launcher> $<TARGET_FILE:launcher_console> ${LAUNCHER_ARCH})

if(LAUNCHER_ARCH STREQUAL x64)
  # The benchmarks (make bench) and their baseline, a program that does
  # nothing and has no C runtime.
  add_executable(bench_noop testing/bench/noop.cpp)
  target_link_options(bench_noop PRIVATE -nostartfiles -nostdlib -Wl,-e,noopEntry)
  target_link_libraries(bench_noop PRIVATE kernel32)
  launcher_warnings(bench_noop)
  add_executable(bench_gui_noop testing/bench/noop.cpp)
  target_compile_definitions(bench_gui_noop PRIVATE BENCH_GUI)
  target_link_options(bench_gui_noop PRIVATE -nostartfiles -nostdlib -Wl,-e,noopEntry)
  target_link_libraries(bench_gui_noop PRIVATE kernel32 user32)
  launcher_warnings(bench_gui_noop)
  add_executable(bench testing/bench/bench_main.cpp testing/bench/launch_probe.cpp testing/bench/measurement.cpp)
  target_link_libraries(bench PRIVATE file_tree process_start ${WINDOWS_STATIC_LINK} -municode)
  launcher_warnings(bench)
  set(OTHER_ARCH x86)
  # make test-replay replays the option lists of the 64-bit build's runs.
  set(OPTION_LISTS ";TEST_JVM_OPTION_LISTS=${CMAKE_BINARY_DIR}/vm-option-lists")
else()
  set(OTHER_ARCH x64)
endif()

# Both builds run their tests under Wine (the 32-bit one under 32-bit Wine).
# The paired product is the other build's launcher, with its test runtime.
set(OTHER_BUILD_DIR ${CMAKE_SOURCE_DIR}/build/${OTHER_ARCH})
add_test(NAME windows_tests COMMAND windows_tests)
add_test(NAME e2e_tests COMMAND e2e_tests)
set_tests_properties(e2e_tests PROPERTIES
  ENVIRONMENT "LAUNCHER_EXE=$<TARGET_FILE:launcher>;CONSOLE_LAUNCHER_EXE=$<TARGET_FILE:launcher_console>;PACKAGER_EXE=$<TARGET_FILE:packager>;SETTINGS_PROBE_EXE=$<TARGET_FILE:settings_probe>;ROBOT_EXE=$<TARGET_FILE:robot_cli>;ARTIFACTS_DIR=${CMAKE_BINARY_DIR}/artifacts;TEST_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;TEST_RUNTIME_VARIANTS=${CMAKE_BINARY_DIR}/test-runtime-variants;OTHER_MACHINE_RUNTIME_DIR=${OTHER_BUILD_DIR}/test-runtime;PAIRED_LAUNCHER_EXE=${OTHER_BUILD_DIR}/launcher-${OTHER_ARCH}.exe${OPTION_LISTS}"
  TIMEOUT 1800)
# Bounds against hangs, wide enough for 32-bit Wine in emulation (make
# test-x86), where the internal failure test alone starts six 32-bit
# programs of about a minute each.
set_tests_properties(windows_tests PROPERTIES TIMEOUT 1500)
# The robot reads windows off the one virtual screen: tests that show
# windows must not cover each other's.
set_tests_properties(windows_tests e2e_tests PROPERTIES RESOURCE_LOCK display)
include(${CMAKE_SOURCE_DIR}/cmake/TestRuntime.cmake OPTIONAL)
