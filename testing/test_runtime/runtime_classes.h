#pragma once
// Helpers the JNI functions share with the runtime classes.
#include <string>

#include "objects.h"

namespace test_runtime {

// "java.lang.IllegalStateException: message" (no ": " without a message).
std::string describe(const ThrowableObject& exception);
void printStackTrace(const ThrowableObject& exception, OutputStreamObject* stream, const std::string& prefix = "");

template <typename T>
Object* allocate() {
  return adopt(std::make_unique<T>());
}

}  // namespace test_runtime
