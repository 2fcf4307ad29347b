# The test runtime: a stand-in Java runtime for end-to-end tests. Its jvm.dll
# creates a pretend VM through the real JNI contract and journals what it sees
# (journal keys: testing/test_runtime/journal.h). Layout in the build tree:
#   ${CMAKE_BINARY_DIR}/test-runtime             (for TEST_RUNTIME_DIR)
#     bin/java.dll, bin/splashscreen.dll, bin/server/jvm.dll
#   ${CMAKE_BINARY_DIR}/test-runtime-variants    (for TEST_RUNTIME_VARIANTS)
#     <name>/bin/java.dll and <name>/bin/server/jvm.dll for
#       no-create           jvm.dll without JNI_CreateJavaVM
#       no-default-args     jvm.dll without JNI_GetDefaultJavaVMInitArgs
#       no-boot-finder      jvm.dll without JVM_FindClassFromBootLoader
#       missing-dependency  jvm.dll importing a DLL that is not there (error 126)
#       dependency-in-bin   jvm.dll importing bin/bin_helper.dll; bin/msvcr100.dll beside it
#       splash-no-jarname   the full jvm.dll, and bin/splashscreen.dll without SplashSetFileJarName
#     client-only/bin/java.dll and client-only/bin/client/jvm.dll (the full jvm.dll)
#     planted/bin_helper.dll, for a test to plant in the current directory
set(TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
set(TEST_RUNTIME_VARIANTS ${CMAKE_BINARY_DIR}/test-runtime-variants)
set(_tr_parts ${CMAKE_BINARY_DIR}/test-runtime-parts)
set(_tr_src ${CMAKE_SOURCE_DIR}/testing/test_runtime)

add_library(test_runtime_settings INTERFACE)
target_include_directories(test_runtime_settings INTERFACE ${_tr_src} ${CMAKE_SOURCE_DIR}/src/vm/win32/jni ${JNI_INCLUDE_DIR})
# The launcher's declaration of the JNI 1.1 init-args record.
target_link_libraries(test_runtime_settings INTERFACE launcher_headers)
target_compile_definitions(test_runtime_settings INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0602 _JNI_IMPLEMENTATION_)

add_library(test_runtime_journal OBJECT ${_tr_src}/journal.cpp ${_tr_src}/text.cpp)
target_link_libraries(test_runtime_journal PUBLIC test_runtime_settings)
launcher_warnings(test_runtime_journal)

add_library(test_runtime_core OBJECT
  ${_tr_src}/app_classes.cpp
  ${_tr_src}/entry_points.cpp
  ${_tr_src}/env_table.cpp
  ${_tr_src}/failure_stubs.cpp
  ${_tr_src}/freeze.cpp
  ${_tr_src}/invoke.cpp
  ${_tr_src}/objects.cpp
  ${_tr_src}/options.cpp
  ${_tr_src}/option_lists.cpp
  ${_tr_src}/runtime_classes.cpp
  ${_tr_src}/shutdown.cpp
  ${_tr_src}/streams.cpp
  ${_tr_src}/thread.cpp
  ${_tr_src}/vm_table.cpp
)
target_link_libraries(test_runtime_core PUBLIC test_runtime_settings)
launcher_warnings(test_runtime_core)

# A DLL of the test runtime in `dir`, exporting plain names in both architectures.
function(test_runtime_dll target name dir)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${dir} RUNTIME_OUTPUT_DIRECTORY ${dir})
  target_link_libraries(${target} PRIVATE test_runtime_settings ${WINDOWS_STATIC_LINK} -Wl,--kill-at)
  launcher_warnings(${target})
endfunction()

function(test_runtime_jvm target dir)
  test_runtime_dll(${target} jvm ${dir} ${_tr_src}/exports.cpp)
  target_link_libraries(${target} PRIVATE test_runtime_core test_runtime_journal)
  target_compile_definitions(${target} PRIVATE ${ARGN})
endfunction()

test_runtime_jvm(test_runtime_jvm ${TEST_RUNTIME_DIR}/bin/server)
test_runtime_jvm(test_runtime_jvm_no_create ${TEST_RUNTIME_VARIANTS}/no-create/bin/server TEST_RUNTIME_NO_CREATE)
test_runtime_jvm(test_runtime_jvm_no_default_args ${TEST_RUNTIME_VARIANTS}/no-default-args/bin/server
  TEST_RUNTIME_NO_DEFAULT_ARGS)
test_runtime_jvm(test_runtime_jvm_no_boot_finder ${TEST_RUNTIME_VARIANTS}/no-boot-finder/bin/server
  TEST_RUNTIME_NO_BOOT_FINDER)
test_runtime_jvm(test_runtime_jvm_missing_dependency ${TEST_RUNTIME_VARIANTS}/missing-dependency/bin/server
  TEST_RUNTIME_MISSING_DEPENDENCY)

# The helper stays in the parts folder, off every DLL search path.
add_library(test_runtime_missing_helper SHARED ${_tr_src}/missing_helper.cpp)
set_target_properties(test_runtime_missing_helper PROPERTIES PREFIX "" OUTPUT_NAME missing_helper
  RUNTIME_OUTPUT_DIRECTORY ${_tr_parts} ARCHIVE_OUTPUT_DIRECTORY ${_tr_parts})
target_link_libraries(test_runtime_missing_helper PRIVATE ${WINDOWS_STATIC_LINK})
launcher_warnings(test_runtime_missing_helper)
target_link_libraries(test_runtime_jvm_missing_dependency PRIVATE test_runtime_missing_helper)

test_runtime_jvm(test_runtime_jvm_bin_dependency ${TEST_RUNTIME_VARIANTS}/dependency-in-bin/bin/server
  TEST_RUNTIME_BIN_DEPENDENCY)
# The libraries in its bin folder, and the one planted in the current directory.
function(test_runtime_bin_library target name dir)
  add_library(${target} SHARED ${_tr_src}/bin_library.cpp)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${dir} ARCHIVE_OUTPUT_DIRECTORY ${_tr_parts}/${target})
  target_link_libraries(${target} PRIVATE test_runtime_journal ${WINDOWS_STATIC_LINK})
  target_compile_definitions(${target} PRIVATE TEST_BIN_LIBRARY="${name}.dll" ${ARGN})
  launcher_warnings(${target})
endfunction()
test_runtime_bin_library(test_runtime_bin_helper bin_helper ${TEST_RUNTIME_VARIANTS}/dependency-in-bin/bin)
test_runtime_bin_library(test_runtime_bin_crt msvcr100 ${TEST_RUNTIME_VARIANTS}/dependency-in-bin/bin)
test_runtime_bin_library(test_runtime_planted_helper bin_helper ${TEST_RUNTIME_VARIANTS}/planted TEST_PLANTED_LIBRARY)
target_link_libraries(test_runtime_jvm_bin_dependency PRIVATE test_runtime_bin_helper)

test_runtime_dll(test_runtime_java java ${TEST_RUNTIME_DIR}/bin ${_tr_src}/java_dll.cpp)

test_runtime_dll(test_runtime_splash splashscreen ${TEST_RUNTIME_DIR}/bin ${_tr_src}/splash/splashscreen.cpp)
target_link_libraries(test_runtime_splash PRIVATE test_runtime_journal)
test_runtime_dll(test_runtime_splash_no_jar_name splashscreen ${TEST_RUNTIME_VARIANTS}/splash-no-jarname/bin
  ${_tr_src}/splash/splashscreen.cpp)
target_link_libraries(test_runtime_splash_no_jar_name PRIVATE test_runtime_journal)
target_compile_definitions(test_runtime_splash_no_jar_name PRIVATE TEST_SPLASH_NO_JAR_NAME)

# Copies of the full jvm.dll and of java.dll completing the variant runtimes.
set(_tr_variants no-create no-default-args no-boot-finder missing-dependency dependency-in-bin splash-no-jarname
  client-only)
foreach(_variant IN LISTS _tr_variants)
  add_custom_command(TARGET test_runtime_java POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TEST_RUNTIME_VARIANTS}/${_variant}/bin
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:test_runtime_java> ${TEST_RUNTIME_VARIANTS}/${_variant}/bin/)
endforeach()
foreach(_copy splash-no-jarname/bin/server client-only/bin/client)
  add_custom_command(TARGET test_runtime_jvm POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TEST_RUNTIME_VARIANTS}/${_copy}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:test_runtime_jvm> ${TEST_RUNTIME_VARIANTS}/${_copy}/)
endforeach()

add_custom_target(test_runtime ALL)
add_dependencies(test_runtime test_runtime_jvm test_runtime_jvm_no_create test_runtime_jvm_no_default_args
  test_runtime_jvm_no_boot_finder test_runtime_jvm_missing_dependency test_runtime_java
  test_runtime_jvm_bin_dependency test_runtime_bin_crt test_runtime_planted_helper
  test_runtime_splash test_runtime_splash_no_jar_name)

# Tests of the stand-in through its real exports and function tables.
add_executable(test_runtime_tests
  ${CMAKE_SOURCE_DIR}/tests/test_runtime/runtime_contract_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/test_runtime/runtime_harness.cpp
)
target_include_directories(test_runtime_tests PRIVATE ${CMAKE_SOURCE_DIR}/src/vm/win32/jni ${JNI_INCLUDE_DIR})
target_compile_definitions(test_runtime_tests PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(test_runtime_tests PRIVATE launcher_headers process_start GTest::gtest_main ${WINDOWS_STATIC_LINK})
launcher_warnings(test_runtime_tests)
add_dependencies(test_runtime_tests test_runtime journal_writer)
# Appends to a journal through the journal code, several processes at once.
add_executable(journal_writer ${CMAKE_SOURCE_DIR}/tests/test_runtime/journal_writer.cpp)
target_link_libraries(journal_writer PRIVATE test_runtime_journal ${WINDOWS_STATIC_LINK} -municode)
launcher_warnings(journal_writer)

add_test(NAME static_runtime_checks
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/static/check_runtime_pe.py ${LAUNCHER_ARCH}
    ${TEST_RUNTIME_DIR} ${TEST_RUNTIME_VARIANTS})
add_test(NAME test_runtime_tests COMMAND test_runtime_tests)
set_tests_properties(test_runtime_tests PROPERTIES TIMEOUT 300)
