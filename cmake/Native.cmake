# Native Linux build of the portable code, tested with GoogleTest under
# AddressSanitizer and UndefinedBehaviorSanitizer.
find_package(GTest REQUIRED)
include(GoogleTest)

target_include_directories(launcher_portable PUBLIC ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)

add_executable(native_tests
  tests/native/text_test.cpp
  tests/native/environment_references_test.cpp
  tests/native/version_number_test.cpp
  tests/native/command_line_test.cpp
  tests/native/embedded_settings_test.cpp
  tests/native/path_test.cpp
  tests/native/runtime_choice_test.cpp
  tests/native/split_string_test.cpp
  tests/native/settings_path_test.cpp
  tests/native/anchor_colour_test.cpp
  tests/native/vm_parameters_test.cpp
  tests/native/instance_arguments_test.cpp
  tests/native/real_jvm_test.cpp
  tests/native/packager_core_test.cpp
  tests/native/ini_check_test.cpp
)
target_link_libraries(native_tests PRIVATE launcher_portable packager_core ini_check GTest::gtest_main)
target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
launcher_warnings(native_tests)
gtest_discover_tests(native_tests)

# The launcher's JNI code against the real JDKs: Java test classes compiled
# here, and one process per scenario.
find_program(JAVAC javac PATHS /usr/lib/jvm/java-17-openjdk-amd64/bin REQUIRED)
file(GLOB_RECURSE _jvm_test_sources ${CMAKE_SOURCE_DIR}/tests/jvm/java/*.java)
set(JVM_CLASSES_DIR ${CMAKE_BINARY_DIR}/jvm-classes)
add_custom_command(OUTPUT ${JVM_CLASSES_DIR}/stamp
  COMMAND ${JAVAC} --release 11 -d ${JVM_CLASSES_DIR} ${_jvm_test_sources}
  COMMAND ${CMAKE_COMMAND} -E touch ${JVM_CLASSES_DIR}/stamp
  DEPENDS ${_jvm_test_sources} VERBATIM)
add_custom_target(jvm_test_classes ALL DEPENDS ${JVM_CLASSES_DIR}/stamp)
add_executable(jvm_scenario tests/jvm/jvm_scenario.cpp)
target_link_libraries(jvm_scenario PRIVATE launcher_portable ${CMAKE_DL_LIBS})
launcher_warnings(jvm_scenario)
add_dependencies(native_tests jvm_scenario jvm_test_classes)
# Replays the option lists of the Windows-side tests against the real JVMs (make test-replay).
add_executable(jvm_replay tests/jvm/jvm_replay.cpp)
target_include_directories(jvm_replay PRIVATE ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)
target_link_libraries(jvm_replay PRIVATE ${CMAKE_DL_LIBS})
launcher_warnings(jvm_replay)
target_compile_definitions(native_tests PRIVATE JVM_SCENARIO_EXE="$<TARGET_FILE:jvm_scenario>"
  JVM_CLASSES_DIR="${JVM_CLASSES_DIR}")
