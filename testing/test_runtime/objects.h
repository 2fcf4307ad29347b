#pragma once
// The stand-in's object model. Objects live until the process ends: local and
// global references are plain pointers and deleting them frees nothing.
#include <jni.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace test_runtime {

struct Class;
struct Object;
class Thread;

// A method's implementation: `self` is null for static methods; `args` holds
// one value per parameter of the signature. A failure sets the thread's
// pending exception and returns a zero value.
using Native = jvalue (*)(Thread& thread, Object* self, const jvalue* args);

struct Object {
  Class* cls = nullptr;
  virtual ~Object() = default;
};

struct StringObject : Object {
  std::u16string text;
};

struct CharArray : Object {
  std::vector<jchar> items;
};

struct ObjectArray : Object {
  std::vector<Object*> items;
};

struct ThrowableObject : Object {
  bool hasMessage = false;
  std::u16string message;
  std::string origin;  // dotted class.method of the frame that threw
};

struct OutputStreamObject : Object {
  virtual void write(std::string_view bytes) = 0;
};

// Writes to a file handle; System.out and System.err hold the standard
// handles the process had when the VM was created, as Java's do.
struct FileOutputStreamObject : OutputStreamObject {
  HANDLE handle = INVALID_HANDLE_VALUE;
  void write(std::string_view bytes) override;
};

struct ByteArrayOutputStreamObject : OutputStreamObject {
  std::string bytes;
  void write(std::string_view more) override { bytes += more; }
};

struct PrintStreamObject : OutputStreamObject {
  OutputStreamObject* target = nullptr;
  void write(std::string_view bytes) override {
    if (target) target->write(bytes);
  }
};

struct Method {
  Class* owner = nullptr;
  std::string name;
  std::string signature;
  bool isStatic = false;
  Native impl = nullptr;
  std::string parameterKinds;  // one letter per parameter: Z B C S I J F D or L
  char returnKind = 'V';
  bool isNative = false;  // of a defined class: bound by RegisterNatives
};

// Fills parameterKinds and returnKind from the signature.
void describeSignature(Method& method);

struct MethodDef {
  const char* name;
  const char* signature;
  bool isStatic;
  Native impl;
};

using Allocator = Object* (*)();

struct Class : Object {
  std::string name;  // internal form, "java/lang/String"
  Class* super = nullptr;
  Allocator allocate = nullptr;
  bool bootClass = false;  // found by JVM_FindClassFromBootLoader
  std::vector<std::unique_ptr<Method>> methods;

  // Own methods only for constructors; otherwise the superclasses too.
  Method* find(std::string_view methodName, std::string_view signature, bool wantStatic);
  bool isSubclassOf(const Class* other) const;
  std::string dottedName() const;
};

// Keeps every object alive for the rest of the process.
Object* adopt(std::unique_ptr<Object> object);

template <typename T>
T* make(Class* cls) {
  auto object = std::make_unique<T>();
  object->cls = cls;
  return static_cast<T*>(adopt(std::move(object)));
}

class ClassTable {
 public:
  Class* define(const char* name, const char* superName, Allocator allocate, std::vector<MethodDef> methods);
  Class* find(std::string_view name) const;

 private:
  std::map<std::string, std::unique_ptr<Class>, std::less<>> classes_;
};

// Every class the stand-in knows, built on first use.
const ClassTable& classes();
Class* findClass(std::string_view name);

void defineRuntimeClasses(ClassTable& table);
void defineApplicationClasses(ClassTable& table);

// JNI handles are the objects' addresses.
template <typename Handle>
Handle* wrap(Object* object) {
  return reinterpret_cast<Handle*>(object);
}
template <typename Handle>
Object* unwrap(Handle* handle) {
  return reinterpret_cast<Object*>(handle);
}
inline jmethodID wrapMethod(Method* method) { return reinterpret_cast<jmethodID>(method); }
inline Method* unwrapMethod(jmethodID id) { return reinterpret_cast<Method*>(id); }

// Values of jvalue unions.
jvalue noValue();
jvalue objectValue(Object* object);
jvalue intValue(jint value);
Object* objectArg(const jvalue& value);

StringObject* newString(std::u16string text);

}  // namespace test_runtime
