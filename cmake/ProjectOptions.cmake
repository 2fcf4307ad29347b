# Compiler settings shared by every target of the project.
option(LAUNCHER_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LAUNCHER_FUZZ "Build the libFuzzer targets (clang) instead of the native tests" OFF)

function(launcher_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(LAUNCHER_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(LAUNCHER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# jni.h comes from the machine's JDK; its platform half (jni_md.h) is the
# JDK's own on Linux and the project's for Windows.
file(GLOB _jni_headers /usr/lib/jvm/*/include/jni.h)
list(SORT _jni_headers)
list(GET _jni_headers 0 _jni_header)
get_filename_component(JNI_INCLUDE_DIR "${_jni_header}" DIRECTORY)
