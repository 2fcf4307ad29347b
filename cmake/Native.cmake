# Native Linux build of the portable code, tested with GoogleTest under
# AddressSanitizer and UndefinedBehaviorSanitizer.
find_package(GTest REQUIRED)
include(GoogleTest)

target_include_directories(launcher_portable PUBLIC ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)

add_executable(native_tests
  tests/native/text_test.cpp
  tests/native/profile_text_test.cpp
  tests/native/c_format_test.cpp
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

# The class data sharing benchmark (make bench): an application of 400
# generated classes, timed natively from JNI_CreateJavaVM to main's return.
set(CDS_APP_SOURCES ${CMAKE_BINARY_DIR}/cds-app-src)
set(CDS_APP_CLASSES ${CMAKE_BINARY_DIR}/cds-app-classes)
set(_cds_main "package cds;\npublic class Main {\n  public static void main(String[] args) {\n    long sum = 0;\n")
set(_cds_sources ${CDS_APP_SOURCES}/cds/Main.java)
foreach(i RANGE 399)
  file(CONFIGURE OUTPUT ${CDS_APP_SOURCES}/cds/C${i}.java CONTENT
    "package cds;\npublic class C${i} {\n  static final java.util.List<String> NAMES = java.util.List.of(\"c${i}\");\n  public static int value() { return NAMES.get(0).length() + ${i}; }\n}\n")
  string(APPEND _cds_main "    sum += C${i}.value();\n")
  list(APPEND _cds_sources ${CDS_APP_SOURCES}/cds/C${i}.java)
endforeach()
string(APPEND _cds_main "    if (sum < 0) System.out.println(sum);\n  }\n}\n")
file(CONFIGURE OUTPUT ${CDS_APP_SOURCES}/cds/Main.java CONTENT "${_cds_main}")
# The runtime archives classes of jars only.
find_program(JAR jar PATHS /usr/lib/jvm/java-17-openjdk-amd64/bin REQUIRED)
set(CDS_APP_JAR ${CMAKE_BINARY_DIR}/cds-app.jar)
add_custom_command(OUTPUT ${CDS_APP_JAR}
  COMMAND ${JAVAC} --release 11 -d ${CDS_APP_CLASSES} ${_cds_sources}
  COMMAND ${JAR} cf ${CDS_APP_JAR} -C ${CDS_APP_CLASSES} cds
  DEPENDS ${_cds_sources} VERBATIM)
add_custom_target(cds_app_classes ALL DEPENDS ${CDS_APP_JAR})
# The test classes as a jar too, for the scenarios with a class-data archive.
set(JVM_CLASSES_JAR ${CMAKE_BINARY_DIR}/jvm-classes.jar)
add_custom_command(OUTPUT ${JVM_CLASSES_JAR}
  COMMAND ${JAR} cf ${JVM_CLASSES_JAR} -C ${JVM_CLASSES_DIR} test -C ${JVM_CLASSES_DIR} com
  DEPENDS ${JVM_CLASSES_DIR}/stamp VERBATIM)
add_custom_target(jvm_test_jar ALL DEPENDS ${JVM_CLASSES_JAR})
add_dependencies(jvm_test_jar jvm_test_classes)
add_dependencies(native_tests jvm_test_jar)
target_compile_definitions(native_tests PRIVATE JVM_CLASSES_JAR="${JVM_CLASSES_JAR}")
# Launches in the java command's module and jar modes: a main module in a
# modular jar (its main class in the descriptor) beside an exploded one, a
# class-path library, an executable jar whose manifest opens java.lang and
# enables native access, and that jar appended to other bytes as a packaged
# executable carries it.
set(LAUNCH_APPS ${CMAKE_BINARY_DIR}/launch-apps)
set(_launch ${CMAKE_SOURCE_DIR}/tests/jvm/launch)
file(GLOB_RECURSE _launch_sources ${_launch}/*.java ${_launch}/*.txt)
string(REPEAT "MZ, no zip data here. " 300 _not_zip)
file(WRITE ${LAUNCH_APPS}/prefix.bin "${_not_zip}")
add_custom_command(OUTPUT ${LAUNCH_APPS}/app.main.jar ${LAUNCH_APPS}/opener.jar ${LAUNCH_APPS}/opener.exe
  COMMAND ${JAVAC} --release 11 --module-source-path ${_launch}/modules -d modules --module app.main,app.lib
  COMMAND ${JAR} --create --file app.main.jar --main-class app.Main -C modules/app.main .
  COMMAND ${JAVAC} --release 11 -d cplib ${_launch}/cplib/Helper.java
  COMMAND ${JAVAC} --release 11 -d opener ${_launch}/opener/Opener.java
  COMMAND ${JAR} --create --file opener.jar --manifest ${_launch}/opener/manifest.txt -C opener .
  COMMAND sh -c "cat prefix.bin opener.jar >opener.exe"
  WORKING_DIRECTORY ${LAUNCH_APPS} DEPENDS ${_launch_sources} VERBATIM)
add_custom_target(launch_apps ALL DEPENDS ${LAUNCH_APPS}/opener.exe)
add_dependencies(native_tests launch_apps)
target_compile_definitions(native_tests PRIVATE LAUNCH_APPS="${LAUNCH_APPS}")
add_executable(cds_bench testing/bench/cds_bench.cpp)
target_include_directories(cds_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)
target_compile_options(cds_bench PRIVATE -fno-sanitize=all)
target_link_options(cds_bench PRIVATE -fno-sanitize=all)
target_link_libraries(cds_bench PRIVATE ${CMAKE_DL_LIBS})
target_compile_definitions(cds_bench PRIVATE CDS_APP_JAR="${CDS_APP_JAR}")
add_dependencies(cds_bench cds_app_classes)
launcher_warnings(cds_bench)
# The module and jar launches through the launcher's JNI code beside the java
# command (make bench); that code is compiled in here without the sanitizers.
add_executable(launch_mode_bench testing/bench/launch_mode_bench.cpp testing/bench/measurement.cpp
  src/vm/java_session.cpp src/common/text.cpp src/common/c_format.cpp)
target_include_directories(launch_mode_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)
target_compile_options(launch_mode_bench PRIVATE -fno-sanitize=all)
target_link_options(launch_mode_bench PRIVATE -fno-sanitize=all)
target_link_libraries(launch_mode_bench PRIVATE launcher_headers ${CMAKE_DL_LIBS})
target_compile_definitions(launch_mode_bench PRIVATE LAUNCH_APPS="${LAUNCH_APPS}")
add_dependencies(launch_mode_bench launch_apps)
launcher_warnings(launch_mode_bench)

# The layers hold: with the vm layer's include root, common is found and the
# launcher is not (the first missing header ends the compile).
add_test(NAME layer_refuses_upward_include
  COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I${CMAKE_BINARY_DIR}/layers/vm
          ${CMAKE_SOURCE_DIR}/tests/static/upward_include.cpp)
set_tests_properties(layer_refuses_upward_include PROPERTIES
  PASS_REGULAR_EXPRESSION "launcher/command_line.h: No such file or directory")

# The documentation's relative links and anchors resolve.
find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME docs_links COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/static/check_docs.py ${CMAKE_SOURCE_DIR})
