# Native Linux build of the portable code, tested with GoogleTest under
# AddressSanitizer and UndefinedBehaviorSanitizer.
find_package(GTest REQUIRED)
include(GoogleTest)

target_include_directories(launcher_portable PUBLIC ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)

add_executable(native_tests
  tests/native/text_test.cpp
  tests/native/version_number_test.cpp
  tests/native/command_line_test.cpp
  tests/native/embedded_settings_test.cpp
  tests/native/path_test.cpp
  tests/native/runtime_choice_test.cpp
  tests/native/split_string_test.cpp
  tests/native/settings_path_test.cpp
  tests/native/anchor_colour_test.cpp
)
target_link_libraries(native_tests PRIVATE launcher_portable GTest::gtest_main)
launcher_warnings(native_tests)
gtest_discover_tests(native_tests)
