#pragma once
// Calling methods of the object model with the three JNI argument forms.
#include <jni.h>

#include <cstdarg>
#include <vector>

#include "objects.h"

namespace test_runtime {

// Reads one argument per parameter of the method, promoted as C varargs are:
// Z B C S I as int, J as jlong, F D as double, objects as jobject.
std::vector<jvalue> readArguments(const Method& method, va_list args);
std::vector<jvalue> copyArguments(const Method& method, const jvalue* args);

// Runs the method; a call on a null object leaves a NullPointerException.
jvalue invoke(Thread& thread, jmethodID id, Object* self, const std::vector<jvalue>& args);

}  // namespace test_runtime
