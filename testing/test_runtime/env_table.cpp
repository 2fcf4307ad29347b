// The JNIEnv functions the launcher uses; every other slot fails loudly.
#include "env_table.h"

#include <cstring>
#include <type_traits>

#include "failure_stubs.h"
#include "invoke.h"
#include "journal.h"
#include "runtime_classes.h"
#include "runtime_state.h"
#include "shutdown.h"
#include "streams.h"
#include "text.h"
#include "thread.h"
#include "vm_table.h"

namespace test_runtime {
namespace {

StringObject* stringOf(jstring value) { return dynamic_cast<StringObject*>(unwrap(value)); }

Class* classOf(jclass value) { return dynamic_cast<Class*>(unwrap(value)); }

jint JNICALL getVersion(JNIEnv*) { return JNI_VERSION_10; }

jint JNICALL getJavaVm(JNIEnv*, JavaVM** vm) {
  *vm = theVm();
  return JNI_OK;
}

jclass JNICALL findClassEntry(JNIEnv* env, const char* name) {
  journal("find-class", name ? name : "");
  if (Class* found = name ? findClass(name) : nullptr) return wrap<_jclass>(found);
  threadOf(env).raise("java/lang/NoClassDefFoundError", decodeModifiedUtf8(name ? name : ""), "");
  return nullptr;
}

jclass JNICALL getObjectClass(JNIEnv*, jobject object) {
  Object* target = unwrap(object);
  return target ? wrap<_jclass>(target->cls) : nullptr;
}

jboolean JNICALL isInstanceOf(JNIEnv*, jobject object, jclass cls) {
  Object* target = unwrap(object);
  Class* wanted = classOf(cls);
  return (!target || (wanted && target->cls->isSubclassOf(wanted))) ? JNI_TRUE : JNI_FALSE;
}

jmethodID lookUp(JNIEnv* env, jclass cls, const char* name, const char* signature, bool wantStatic) {
  Class* owner = classOf(cls);
  if (!owner || !name || !signature) {
    threadOf(env).raise("java/lang/NullPointerException", u"", "");
    return nullptr;
  }
  if (Method* method = owner->find(name, signature, wantStatic)) return wrapMethod(method);
  if (!runtimeState.quietLookups) threadOf(env).raise("java/lang/NoSuchMethodError", decodeModifiedUtf8(name), "");
  return nullptr;
}

jmethodID JNICALL getMethodId(JNIEnv* env, jclass cls, const char* name, const char* signature) {
  return lookUp(env, cls, name, signature, false);
}

jmethodID JNICALL getStaticMethodId(JNIEnv* env, jclass cls, const char* name, const char* signature) {
  Class* owner = classOf(cls);
  journal("static-method", (owner ? owner->name : std::string("null")) + "." + (name ? name : "") +
                               (signature ? signature : ""));
  return lookUp(env, cls, name, signature, true);
}

// The stand-in's classes have no fields: a lookup fails as HotSpot's does
// for a field that is not there (the launcher class of Java 24 and older).
jfieldID JNICALL getStaticFieldId(JNIEnv* env, jclass cls, const char* name, const char*) {
  Class* owner = classOf(cls);
  journal("static-field", (owner ? owner->name : std::string("null")) + "." + (name ? name : ""));
  threadOf(env).raise("java/lang/NoSuchFieldError", decodeModifiedUtf8(name ? name : ""), "");
  return nullptr;
}

// Results of the Call...Method families, converted from the method's value.
template <typename R>
R resultOf(const jvalue& value) {
  if constexpr (std::is_same_v<R, jobject>) return value.l;
  if constexpr (std::is_same_v<R, jint>) return value.i;
  if constexpr (std::is_same_v<R, jboolean>) return value.z;
}

template <typename R>
R finish(const jvalue& value) {
  if constexpr (!std::is_void_v<R>) return resultOf<R>(value);
}

jvalue callWith(JNIEnv* env, jobject self, jmethodID id, const std::vector<jvalue>& args) {
  return invoke(threadOf(env), id, unwrap(self), args);
}

std::vector<jvalue> fromList(jmethodID id, va_list args) {
  Method* method = unwrapMethod(id);
  return method ? readArguments(*method, args) : std::vector<jvalue>{};
}

std::vector<jvalue> fromArray(jmethodID id, const jvalue* args) {
  Method* method = unwrapMethod(id);
  return method ? copyArguments(*method, args) : std::vector<jvalue>{};
}

// Target is jobject for instance methods and jclass for static ones; the
// static forms ignore it, as the method id names the class already.
template <typename R, typename Target>
R JNICALL callV(JNIEnv* env, Target target, jmethodID id, va_list args) {
  Object* self = std::is_same_v<Target, jobject> ? unwrap(target) : nullptr;
  return finish<R>(callWith(env, wrap<_jobject>(self), id, fromList(id, args)));
}

template <typename R, typename Target>
R JNICALL callA(JNIEnv* env, Target target, jmethodID id, const jvalue* args) {
  Object* self = std::is_same_v<Target, jobject> ? unwrap(target) : nullptr;
  return finish<R>(callWith(env, wrap<_jobject>(self), id, fromArray(id, args)));
}

template <typename R, typename Target>
R JNICALL call(JNIEnv* env, Target target, jmethodID id, ...) {
  va_list args;
  va_start(args, id);
  std::vector<jvalue> values = fromList(id, args);
  va_end(args);
  Object* self = std::is_same_v<Target, jobject> ? unwrap(target) : nullptr;
  return finish<R>(callWith(env, wrap<_jobject>(self), id, values));
}

jobject construct(JNIEnv* env, jclass cls, jmethodID id, const std::vector<jvalue>& args) {
  Thread& thread = threadOf(env);
  Class* owner = classOf(cls);
  if (!owner || !owner->allocate) {
    thread.raise("java/lang/InstantiationException", owner ? decodeModifiedUtf8(owner->dottedName()) : u"", "");
    return nullptr;
  }
  Object* object = owner->allocate();
  object->cls = owner;
  invoke(thread, id, object, args);
  return thread.pending() ? nullptr : wrap<_jobject>(object);
}

jobject JNICALL newObject(JNIEnv* env, jclass cls, jmethodID id, ...) {
  va_list args;
  va_start(args, id);
  std::vector<jvalue> values = fromList(id, args);
  va_end(args);
  return construct(env, cls, id, values);
}

jobject JNICALL newObjectV(JNIEnv* env, jclass cls, jmethodID id, va_list args) {
  return construct(env, cls, id, fromList(id, args));
}

jobject JNICALL newObjectA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args) {
  return construct(env, cls, id, fromArray(id, args));
}

jint JNICALL throwEntry(JNIEnv* env, jthrowable exception) {
  auto* thrown = dynamic_cast<ThrowableObject*>(unwrap(exception));
  if (!thrown) return JNI_ERR;
  threadOf(env).setPending(thrown);
  return JNI_OK;
}

jint JNICALL throwNew(JNIEnv* env, jclass cls, const char* message) {
  Class* owner = classOf(cls);
  if (!owner || !owner->isSubclassOf(findClass("java/lang/Throwable"))) return JNI_ERR;
  auto* thrown = make<ThrowableObject>(owner);
  thrown->hasMessage = message != nullptr;
  thrown->message = decodeModifiedUtf8(message ? message : "");
  threadOf(env).setPending(thrown);
  return JNI_OK;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) { return wrap<_jthrowable>(threadOf(env).pending()); }

jboolean JNICALL exceptionCheck(JNIEnv* env) { return threadOf(env).pending() ? JNI_TRUE : JNI_FALSE; }

void JNICALL exceptionClear(JNIEnv* env) { threadOf(env).setPending(nullptr); }

void JNICALL exceptionDescribe(JNIEnv* env) {
  Thread& thread = threadOf(env);
  if (auto* pending = dynamic_cast<ThrowableObject*>(thread.pending())) {
    printStackTrace(*pending, systemErr(), "Exception in thread \"" + thread.name() + "\" ");
  }
  thread.setPending(nullptr);
}

jobject JNICALL sameReference(JNIEnv*, jobject object) { return object; }

void JNICALL dropReference(JNIEnv*, jobject) {}

jboolean JNICALL isSameObject(JNIEnv*, jobject a, jobject b) { return unwrap(a) == unwrap(b) ? JNI_TRUE : JNI_FALSE; }

jint JNICALL ensureLocalCapacity(JNIEnv*, jint) { return JNI_OK; }

jstring JNICALL newStringEntry(JNIEnv*, const jchar* units, jsize length) {
  if (!units && length > 0) return nullptr;
  return wrap<_jstring>(newString(std::u16string(units, units + length)));
}

jstring JNICALL newStringUtf(JNIEnv*, const char* bytes) {
  return bytes ? wrap<_jstring>(newString(decodeModifiedUtf8(bytes))) : nullptr;
}

jsize JNICALL getStringLength(JNIEnv*, jstring text) {
  StringObject* string = stringOf(text);
  return string ? static_cast<jsize>(string->text.size()) : 0;
}

jsize JNICALL getStringUtfLength(JNIEnv*, jstring text) {
  StringObject* string = stringOf(text);
  return string ? static_cast<jsize>(encodeModifiedUtf8(string->text).size()) : 0;
}

const char* JNICALL getStringUtfChars(JNIEnv*, jstring text, jboolean* isCopy) {
  StringObject* string = stringOf(text);
  if (!string) return nullptr;
  const std::string bytes = encodeModifiedUtf8(string->text);
  char* copy = new char[bytes.size() + 1];
  std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
  if (isCopy) *isCopy = JNI_TRUE;
  return copy;
}

void JNICALL releaseStringUtfChars(JNIEnv*, jstring, const char* chars) { delete[] chars; }

const jchar* JNICALL getStringChars(JNIEnv*, jstring text, jboolean* isCopy) {
  StringObject* string = stringOf(text);
  if (!string) return nullptr;
  jchar* copy = new jchar[string->text.size() + 1];
  std::copy(string->text.begin(), string->text.end(), copy);
  copy[string->text.size()] = 0;
  if (isCopy) *isCopy = JNI_TRUE;
  return copy;
}

void JNICALL releaseStringChars(JNIEnv*, jstring, const jchar* chars) { delete[] chars; }

bool checkIndex(JNIEnv* env, jsize index, jsize length, size_t size) {
  if (index >= 0 && length >= 0 && static_cast<size_t>(index) + static_cast<size_t>(length) <= size) return true;
  threadOf(env).raise("java/lang/ArrayIndexOutOfBoundsException",
                      fromAscii("Index " + std::to_string(index) + " out of bounds for length " + std::to_string(size)),
                      "");
  return false;
}

jsize JNICALL getArrayLength(JNIEnv*, jarray array) {
  Object* target = unwrap(array);
  if (auto* chars = dynamic_cast<CharArray*>(target)) return static_cast<jsize>(chars->items.size());
  if (auto* objects = dynamic_cast<ObjectArray*>(target)) return static_cast<jsize>(objects->items.size());
  return 0;
}

jcharArray JNICALL newCharArray(JNIEnv* env, jsize length) {
  if (length < 0) {
    threadOf(env).raise("java/lang/NegativeArraySizeException", fromAscii(std::to_string(length)), "");
    return nullptr;
  }
  auto* array = make<CharArray>(findClass("java/lang/Object"));
  array->items.resize(static_cast<size_t>(length));
  return wrap<_jcharArray>(array);
}

void JNICALL setCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize length, const jchar* units) {
  auto* chars = dynamic_cast<CharArray*>(unwrap(array));
  if (!chars || !checkIndex(env, start, length, chars->items.size()) || length == 0) return;
  std::copy(units, units + length, chars->items.begin() + start);
}

jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize length, jclass, jobject initial) {
  if (length < 0) {
    threadOf(env).raise("java/lang/NegativeArraySizeException", fromAscii(std::to_string(length)), "");
    return nullptr;
  }
  auto* array = make<ObjectArray>(findClass("java/lang/Object"));
  array->items.assign(static_cast<size_t>(length), unwrap(initial));
  return wrap<_jobjectArray>(array);
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
  auto* objects = dynamic_cast<ObjectArray*>(unwrap(array));
  if (!objects || !checkIndex(env, index, 1, objects->items.size())) return nullptr;
  return wrap<_jobject>(objects->items[static_cast<size_t>(index)]);
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject value) {
  auto* objects = dynamic_cast<ObjectArray*>(unwrap(array));
  if (!objects || !checkIndex(env, index, 1, objects->items.size())) return;
  objects->items[static_cast<size_t>(index)] = unwrap(value);
}

constexpr char envSlots[] = "";

JNINativeInterface_ buildTable() {
  JNINativeInterface_ table;
  fillWithStubs<envSlots>(table);
  table.GetVersion = &getVersion;
  table.GetJavaVM = &getJavaVm;
  table.FindClass = &findClassEntry;
  table.GetObjectClass = &getObjectClass;
  table.IsInstanceOf = &isInstanceOf;
  table.GetMethodID = &getMethodId;
  table.GetStaticMethodID = &getStaticMethodId;
  table.GetStaticFieldID = &getStaticFieldId;
  table.DefineClass = &defineClassEntry;
  table.RegisterNatives = &registerNativesEntry;
  table.AllocObject = &allocObjectEntry;
  table.NewObject = &newObject;
  table.NewObjectV = &newObjectV;
  table.NewObjectA = &newObjectA;
  table.CallObjectMethod = &call<jobject, jobject>;
  table.CallObjectMethodV = &callV<jobject, jobject>;
  table.CallObjectMethodA = &callA<jobject, jobject>;
  table.CallVoidMethod = &call<void, jobject>;
  table.CallVoidMethodV = &callV<void, jobject>;
  table.CallVoidMethodA = &callA<void, jobject>;
  table.CallIntMethod = &call<jint, jobject>;
  table.CallIntMethodV = &callV<jint, jobject>;
  table.CallIntMethodA = &callA<jint, jobject>;
  table.CallStaticObjectMethod = &call<jobject, jclass>;
  table.CallStaticObjectMethodV = &callV<jobject, jclass>;
  table.CallStaticObjectMethodA = &callA<jobject, jclass>;
  table.CallStaticVoidMethod = &call<void, jclass>;
  table.CallStaticVoidMethodV = &callV<void, jclass>;
  table.CallStaticVoidMethodA = &callA<void, jclass>;
  table.CallStaticIntMethod = &call<jint, jclass>;
  table.CallStaticIntMethodV = &callV<jint, jclass>;
  table.CallStaticIntMethodA = &callA<jint, jclass>;
  table.Throw = &throwEntry;
  table.ThrowNew = &throwNew;
  table.ExceptionOccurred = &exceptionOccurred;
  table.ExceptionDescribe = &exceptionDescribe;
  table.ExceptionClear = &exceptionClear;
  table.ExceptionCheck = &exceptionCheck;
  table.NewGlobalRef = &sameReference;
  table.NewLocalRef = &sameReference;
  table.DeleteGlobalRef = &dropReference;
  table.DeleteLocalRef = &dropReference;
  table.IsSameObject = &isSameObject;
  table.EnsureLocalCapacity = &ensureLocalCapacity;
  table.NewString = &newStringEntry;
  table.NewStringUTF = &newStringUtf;
  table.GetStringLength = &getStringLength;
  table.GetStringUTFLength = &getStringUtfLength;
  table.GetStringChars = &getStringChars;
  table.ReleaseStringChars = &releaseStringChars;
  table.GetStringUTFChars = &getStringUtfChars;
  table.ReleaseStringUTFChars = &releaseStringUtfChars;
  table.GetArrayLength = &getArrayLength;
  table.NewCharArray = &newCharArray;
  table.SetCharArrayRegion = &setCharArrayRegion;
  table.NewObjectArray = &newObjectArray;
  table.GetObjectArrayElement = &getObjectArrayElement;
  table.SetObjectArrayElement = &setObjectArrayElement;
  return table;
}

}  // namespace

const JNINativeInterface_& envTable() {
  static const JNINativeInterface_ table = buildTable();
  return table;
}

}  // namespace test_runtime
