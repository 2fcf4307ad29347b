# The example application: its jar compiled from examples/hello, its splash
# image and icon drawn by a script, and Hello.exe branded at build time with
# add_java_launcher.
find_program(JAVAC javac PATHS /usr/lib/jvm/java-17-openjdk-amd64/bin NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(JAR jar PATHS /usr/lib/jvm/java-17-openjdk-amd64/bin NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(HELLO_SOURCE ${CMAKE_SOURCE_DIR}/examples/hello)
set(HELLO_DIR ${CMAKE_BINARY_DIR}/examples/hello)
file(GLOB_RECURSE _hello_sources ${HELLO_SOURCE}/src/*.java)
add_custom_command(OUTPUT ${HELLO_DIR}/hello.jar
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${HELLO_DIR}/classes
  COMMAND ${JAVAC} --release 11 -d ${HELLO_DIR}/classes ${_hello_sources}
  COMMAND ${JAR} --create --file ${HELLO_DIR}/hello.jar -C ${HELLO_DIR}/classes .
  DEPENDS ${_hello_sources} VERBATIM)
add_custom_command(OUTPUT ${HELLO_DIR}/splash.png ${HELLO_DIR}/hello.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${HELLO_DIR}
  COMMAND ${PYTHON3} ${HELLO_SOURCE}/images.py ${HELLO_DIR}
  DEPENDS ${HELLO_SOURCE}/images.py VERBATIM)
add_custom_target(hello_files ALL DEPENDS ${HELLO_DIR}/hello.jar ${HELLO_DIR}/splash.png ${HELLO_DIR}/hello.ico)

add_java_launcher(NAME Hello ICON ${HELLO_DIR}/hello.ico VERSION 1.0.0
  COMPANY "Example Developers" DESCRIPTION "Hello, the launcher's example application"
  COPYRIGHT "Public domain example")
add_dependencies(Hello hello_files)
add_test(NAME branded_example_exe
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/static/check_branded.py $<TARGET_FILE:Hello> ${HELLO_DIR}/hello.ico Hello 1.0.0
    $<TARGET_FILE:launcher>)
if(LAUNCHER_ARCH STREQUAL x64)
  add_test(NAME java_reads_appended_jar
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/java_reads_appended_jar.sh $<TARGET_FILE:packager>
      $<TARGET_FILE:launcher> ${HELLO_DIR}/hello.jar ${HELLO_SOURCE}/Hello.ini ${CMAKE_BINARY_DIR}/appended-jar
      ${CMAKE_BINARY_DIR}/test-runtime)
  # The release archive takes both machines' builds.
  add_test(NAME release_archive
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/release_archive.sh ${HELLO_DIR}/hello.jar
      ${HELLO_SOURCE}/Hello.ini ${CMAKE_BINARY_DIR}/release-archive ${CMAKE_BINARY_DIR}/test-runtime)
  set_tests_properties(release_archive PROPERTIES ENVIRONMENT PYTHON3=${PYTHON3})
endif()
