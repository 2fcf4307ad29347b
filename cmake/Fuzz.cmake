# libFuzzer targets for the portable parsers (clang only), with AddressSanitizer
# and UndefinedBehaviorSanitizer. scripts/fuzz runs each for a bounded time.
target_include_directories(launcher_portable PUBLIC ${JNI_INCLUDE_DIR} ${JNI_INCLUDE_DIR}/linux)
set(FUZZ_TARGETS command_line embedded_codec embedded_table instance_arguments path_components split_string
  timestamp version vm_parameters)
foreach(name ${FUZZ_TARGETS})
  add_executable(fuzz_${name} tests/fuzz/${name}_fuzz.cpp)
  target_link_libraries(fuzz_${name} PRIVATE launcher_portable)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  launcher_warnings(fuzz_${name})
endforeach()
