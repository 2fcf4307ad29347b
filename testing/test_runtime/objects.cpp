#include "objects.h"

#include <mutex>

namespace test_runtime {

// Parses "(...)R" into one letter per parameter and the return letter.
void describeSignature(Method& method) {
  const std::string& sig = method.signature;
  size_t i = 1;
  auto kindAt = [&](size_t& at) {
    char kind = sig[at];
    if (kind == '[') {
      while (sig[at] == '[') ++at;
      kind = 'L';
    }
    if (sig[at] == 'L') {
      at = sig.find(';', at);
      kind = 'L';
    }
    ++at;
    return kind;
  };
  while (i < sig.size() && sig[i] != ')') method.parameterKinds += kindAt(i);
  ++i;
  method.returnKind = i < sig.size() ? kindAt(i) : 'V';
}

Method* Class::find(std::string_view methodName, std::string_view signature, bool wantStatic) {
  for (Class* cls = this; cls; cls = cls->super) {
    for (auto& method : cls->methods) {
      if (method->name == methodName && method->signature == signature && method->isStatic == wantStatic)
        return method.get();
    }
    if (methodName == "<init>") break;
  }
  return nullptr;
}

bool Class::isSubclassOf(const Class* other) const {
  for (const Class* cls = this; cls; cls = cls->super) {
    if (cls == other) return true;
  }
  return false;
}

std::string Class::dottedName() const {
  std::string dotted = name;
  for (char& c : dotted) {
    if (c == '/') c = '.';
  }
  return dotted;
}

Object* adopt(std::unique_ptr<Object> object) {
  // Never destroyed: objects may still be in use while the process ends.
  static auto* lock = new std::mutex;
  static auto* heap = new std::vector<std::unique_ptr<Object>>;
  const std::lock_guard<std::mutex> guard(*lock);
  heap->push_back(std::move(object));
  return heap->back().get();
}

Class* ClassTable::define(const char* name, const char* superName, Allocator allocate,
                          std::vector<MethodDef> methods) {
  auto cls = std::make_unique<Class>();
  cls->cls = find("java/lang/Class");
  cls->name = name;
  cls->super = superName ? find(superName) : nullptr;
  cls->allocate = allocate ? allocate : (cls->super ? cls->super->allocate : nullptr);
  const std::string_view internal(name);
  cls->bootClass = internal.starts_with("java/") || internal.starts_with("sun/");
  for (const MethodDef& def : methods) {
    auto method = std::make_unique<Method>();
    method->owner = cls.get();
    method->name = def.name;
    method->signature = def.signature;
    method->isStatic = def.isStatic;
    method->impl = def.impl;
    describeSignature(*method);
    cls->methods.push_back(std::move(method));
  }
  Class* result = cls.get();
  classes_[name] = std::move(cls);
  return result;
}

Class* ClassTable::find(std::string_view name) const {
  const auto found = classes_.find(name);
  return found == classes_.end() ? nullptr : found->second.get();
}

const ClassTable& classes() {
  static const ClassTable* table = [] {
    auto* built = new ClassTable;
    defineRuntimeClasses(*built);
    defineApplicationClasses(*built);
    return built;
  }();
  return *table;
}

Class* findClass(std::string_view name) { return classes().find(name); }

jvalue noValue() {
  jvalue value;
  value.j = 0;
  return value;
}

jvalue objectValue(Object* object) {
  jvalue value = noValue();
  value.l = wrap<_jobject>(object);
  return value;
}

jvalue intValue(jint number) {
  jvalue value = noValue();
  value.i = number;
  return value;
}

Object* objectArg(const jvalue& value) { return unwrap(value.l); }

StringObject* newString(std::u16string text) {
  StringObject* string = make<StringObject>(findClass("java/lang/String"));
  string->text = std::move(text);
  return string;
}

}  // namespace test_runtime
