#include "invoke.h"

#include "thread.h"

namespace test_runtime {

std::vector<jvalue> readArguments(const Method& method, va_list args) {
  std::vector<jvalue> values;
  for (char kind : method.parameterKinds) {
    jvalue value = noValue();
    switch (kind) {
      case 'Z': value.z = static_cast<jboolean>(va_arg(args, int)); break;
      case 'B': value.b = static_cast<jbyte>(va_arg(args, int)); break;
      case 'C': value.c = static_cast<jchar>(va_arg(args, int)); break;
      case 'S': value.s = static_cast<jshort>(va_arg(args, int)); break;
      case 'I': value.i = static_cast<jint>(va_arg(args, int)); break;
      case 'J': value.j = va_arg(args, jlong); break;
      case 'F': value.f = static_cast<jfloat>(va_arg(args, double)); break;
      case 'D': value.d = va_arg(args, double); break;
      default: value.l = va_arg(args, jobject); break;
    }
    values.push_back(value);
  }
  return values;
}

std::vector<jvalue> copyArguments(const Method& method, const jvalue* args) {
  if (!args) return std::vector<jvalue>(method.parameterKinds.size(), noValue());
  return std::vector<jvalue>(args, args + method.parameterKinds.size());
}

jvalue invoke(Thread& thread, jmethodID id, Object* self, const std::vector<jvalue>& args) {
  Method* method = unwrapMethod(id);
  if (!method) {
    thread.raise("java/lang/NullPointerException", u"method id is null", "java.lang.reflect.Method.invoke");
    return noValue();
  }
  if (!method->isStatic && !self) {
    thread.raise("java/lang/NullPointerException", u"", method->owner->dottedName() + "." + method->name);
    return noValue();
  }
  // The implementations rely on `self` being of the method's class.
  if (!method->isStatic && !self->cls->isSubclassOf(method->owner)) {
    thread.raise("java/lang/IncompatibleClassChangeError", u"receiver of the wrong class",
                 method->owner->dottedName() + "." + method->name);
    return noValue();
  }
  return method->impl(thread, self, args.data());
}

}  // namespace test_runtime
