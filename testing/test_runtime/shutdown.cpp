#include "shutdown.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "journal.h"
#include "objects.h"
#include "runtime_classes.h"
#include "runtime_state.h"
#include "text.h"
#include "thread.h"

namespace test_runtime {
namespace {

struct ThreadObject : Object {
  Object* target = nullptr;
  std::u16string name;
};

struct ShutdownState {
  std::mutex lock;
  std::vector<ThreadObject*> hooks;
  bool started = false;
  std::atomic<bool> ended{false};
  std::map<std::string, std::unique_ptr<Class>, std::less<>> defined;
  std::map<const Method*, void*> natives;
};

// Never destroyed: hooks may still run while the process ends.
ShutdownState& state() {
  static auto* instance = new ShutdownState;
  return *instance;
}

// The class file as far as a definition needs it: names and methods.
struct ClassFile {
  struct MethodEntry {
    uint16_t flags;
    std::string name;
    std::string descriptor;
  };
  std::string name;
  std::string super;
  std::vector<MethodEntry> methods;
};

constexpr uint16_t kAccNative = 0x0100;
constexpr uint16_t kAccStatic = 0x0008;
// The newest class file version the runtimes the stand-in plays read (Java 25).
constexpr uint16_t kNewestMajor = 69;

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
  bool ok() const { return ok_; }
  uint32_t take(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | (at_ + i < size_ ? bytes_[at_ + i] : 0);
    ok_ = ok_ && at_ + count <= size_;
    at_ += count;
    return value;
  }
  std::string text(size_t count) {
    ok_ = ok_ && at_ + count <= size_;
    std::string value = ok_ ? std::string(reinterpret_cast<const char*>(bytes_ + at_), count) : std::string();
    at_ += count;
    return value;
  }
  void skipAttributes() {
    for (uint32_t count = take(2); ok_ && count > 0; --count) {
      take(2);
      at_ += take(4);
    }
  }
  bool atEnd() const { return at_ == size_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

// Why HotSpot would refuse the bytes, or the parsed class.
std::optional<ClassFile> parseClassFile(Reader& in, std::string& why) {
  if (in.take(4) != 0xCAFEBABE) {
    why = "java/lang/ClassFormatError";
    return std::nullopt;
  }
  in.take(2);
  if (in.take(2) > kNewestMajor) {
    why = "java/lang/UnsupportedClassVersionError";
    return std::nullopt;
  }
  const uint32_t count = in.take(2);
  std::vector<std::string> utf8(count);
  std::vector<uint32_t> classNames(count);
  for (uint32_t index = 1; in.ok() && index < count; ++index) {
    switch (in.take(1)) {
      case 1: utf8[index] = in.text(in.take(2)); break;
      case 7: classNames[index] = in.take(2); break;
      case 8: case 16: case 19: case 20: in.take(2); break;
      case 15: in.take(3); break;
      case 3: case 4: case 9: case 10: case 11: case 12: case 17: case 18: in.take(4); break;
      case 5: case 6: in.take(8); ++index; break;
      default: why = "java/lang/ClassFormatError"; return std::nullopt;
    }
  }
  auto className = [&](uint32_t index) {
    return index < count && classNames[index] < count ? utf8[classNames[index]] : std::string();
  };
  ClassFile parsed;
  in.take(2);
  parsed.name = className(in.take(2));
  parsed.super = className(in.take(2));
  for (uint32_t interfaces = in.take(2); in.ok() && interfaces > 0; --interfaces) in.take(2);
  for (uint32_t fields = in.take(2); in.ok() && fields > 0; --fields) {
    in.take(6);
    in.skipAttributes();
  }
  for (uint32_t methods = in.take(2); in.ok() && methods > 0; --methods) {
    const uint16_t flags = static_cast<uint16_t>(in.take(2));
    const uint32_t name = in.take(2), descriptor = in.take(2);
    if (name >= count || descriptor >= count) break;
    parsed.methods.push_back({flags, utf8[name], utf8[descriptor]});
    in.skipAttributes();
  }
  in.skipAttributes();
  if (!in.ok() || !in.atEnd() || parsed.name.empty()) {
    why = "java/lang/ClassFormatError";
    return std::nullopt;
  }
  return parsed;
}

jvalue unboundNative(Thread& thread, Object*, const jvalue*) {
  thread.raise("java/lang/UnsatisfiedLinkError", u"native method not bound", "");
  return noValue();
}

jvalue threadWithTarget(Thread&, Object* self, const jvalue* args) {
  auto* thread = static_cast<ThreadObject*>(self);
  thread->target = objectArg(args[0]);
  if (auto* name = dynamic_cast<StringObject*>(objectArg(args[1]))) thread->name = name->text;
  return noValue();
}

jvalue getRuntime(Thread&, Object*, const jvalue*) {
  static Object* runtime = make<Object>(findClass("java/lang/Runtime"));
  return objectValue(runtime);
}

jvalue addShutdownHook(Thread& thread, Object*, const jvalue* args) {
  auto* hook = dynamic_cast<ThreadObject*>(objectArg(args[0]));
  ShutdownState& shutdown = state();
  const std::lock_guard<std::mutex> guard(shutdown.lock);
  if (!hook) {
    thread.raise("java/lang/NullPointerException", u"", "java.lang.Runtime.addShutdownHook");
  } else if (shutdown.started) {
    thread.raise("java/lang/IllegalStateException", u"Shutdown in progress", "java.lang.Runtime.addShutdownHook");
  } else {
    for (ThreadObject* known : shutdown.hooks) {
      if (known == hook) {
        thread.raise("java/lang/IllegalArgumentException", u"Hook previously registered",
                     "java.lang.Runtime.addShutdownHook");
        return noValue();
      }
    }
    shutdown.hooks.push_back(hook);
    journal("shutdown-hook-added", toUtf8(hook->name));
  }
  return noValue();
}

DWORD WINAPI runHook(void* parameter) {
  auto* hook = static_cast<ThreadObject*>(parameter);
  Thread& thread = attachCurrentThread(toUtf8(hook->name).c_str());
  Method* run = hook->target ? hook->target->cls->find("run", "()V", false) : nullptr;
  void* native = nullptr;
  {
    const std::lock_guard<std::mutex> guard(state().lock);
    const auto bound = state().natives.find(run);
    if (bound != state().natives.end()) native = bound->second;
  }
  if (native) {
    reinterpret_cast<void(JNICALL*)(JNIEnv*, jobject)>(native)(thread.env(), wrap<_jobject>(hook->target));
  }
  journal("shutdown-hook-ended", toUtf8(hook->name));
  detachCurrentThread();
  return 0;
}

// An application's own hook that takes its time, as a real one may.
DWORD WINAPI slowHook(void*) {
  Sleep(runtimeState.shutdownDelayMs.load());
  journal("shutdown-hook-ended", "delay");
  return 0;
}

}  // namespace

jclass JNICALL defineClassEntry(JNIEnv* env, const char* name, jobject, const jbyte* bytes, jsize length) {
  Thread& thread = threadOf(env);
  Reader in(reinterpret_cast<const uint8_t*>(bytes), bytes && length > 0 ? static_cast<size_t>(length) : 0);
  std::string why;
  const std::optional<ClassFile> parsed = parseClassFile(in, why);
  const std::string wanted = name ? name : "";
  journal("define-class", wanted);
  if (!parsed || (!wanted.empty() && wanted != parsed->name)) {
    journal("define-class-refused", parsed ? "wrong name " + parsed->name : why);
    thread.raise(parsed ? "java/lang/NoClassDefFoundError" : why, decodeModifiedUtf8(wanted), "");
    return nullptr;
  }
  Class* super = findClass(parsed->super);
  if (!super) {
    thread.raise("java/lang/NoClassDefFoundError", decodeModifiedUtf8(parsed->super), "");
    return nullptr;
  }
  ShutdownState& shutdown = state();
  const std::lock_guard<std::mutex> guard(shutdown.lock);
  if (shutdown.defined.count(parsed->name)) {
    thread.raise("java/lang/LinkageError", u"attempted duplicate class definition", "");
    return nullptr;
  }
  auto cls = std::make_unique<Class>();
  cls->cls = findClass("java/lang/Class");
  cls->name = parsed->name;
  cls->super = super;
  cls->allocate = super->allocate;
  for (const ClassFile::MethodEntry& entry : parsed->methods) {
    auto method = std::make_unique<Method>();
    method->owner = cls.get();
    method->name = entry.name;
    method->signature = entry.descriptor;
    method->isStatic = (entry.flags & kAccStatic) != 0;
    method->isNative = (entry.flags & kAccNative) != 0;
    method->impl = &unboundNative;  // the stand-in runs no bytecode
    describeSignature(*method);
    cls->methods.push_back(std::move(method));
  }
  Class* defined = cls.get();
  shutdown.defined.emplace(parsed->name, std::move(cls));
  return wrap<_jclass>(defined);
}

jint JNICALL registerNativesEntry(JNIEnv* env, jclass cls, const JNINativeMethod* methods, jint count) {
  auto* owner = dynamic_cast<Class*>(unwrap(cls));
  for (jint i = 0; owner && i < count; ++i) {
    Method* method = nullptr;
    for (auto& candidate : owner->methods) {
      if (candidate->name == methods[i].name && candidate->signature == methods[i].signature) method = candidate.get();
    }
    if (!method || !method->isNative) {
      threadOf(env).raise("java/lang/NoSuchMethodError", decodeModifiedUtf8(methods[i].name), "");
      return JNI_ERR;
    }
    const std::lock_guard<std::mutex> guard(state().lock);
    state().natives[method] = methods[i].fnPtr;
  }
  return owner ? JNI_OK : JNI_ERR;
}

jobject JNICALL allocObjectEntry(JNIEnv* env, jclass cls) {
  auto* owner = dynamic_cast<Class*>(unwrap(cls));
  if (!owner || !owner->allocate) {
    threadOf(env).raise("java/lang/InstantiationException", owner ? decodeModifiedUtf8(owner->dottedName()) : u"", "");
    return nullptr;
  }
  Object* object = owner->allocate();
  object->cls = owner;
  return wrap<_jobject>(object);
}

void defineShutdownClasses(ClassTable& table) {
  table.define("java/lang/Runnable", "java/lang/Object", nullptr, {});
  table.define("java/lang/Thread", "java/lang/Object", &allocate<ThreadObject>,
               {{"<init>", "(Ljava/lang/Runnable;Ljava/lang/String;)V", false, &threadWithTarget}});
  table.define("java/lang/Runtime", "java/lang/Object", nullptr,
               {{"getRuntime", "()Ljava/lang/Runtime;", true, &getRuntime},
                {"addShutdownHook", "(Ljava/lang/Thread;)V", false, &addShutdownHook}});
}

void shutDown() {
  ShutdownState& shutdown = state();
  std::vector<ThreadObject*> hooks;
  {
    const std::lock_guard<std::mutex> guard(shutdown.lock);
    if (shutdown.started) return;
    shutdown.started = true;
    hooks = shutdown.hooks;
  }
  std::vector<HANDLE> running;
  for (ThreadObject* hook : hooks) running.push_back(CreateThread(nullptr, 0, &runHook, hook, 0, nullptr));
  if (runtimeState.shutdownDelayMs.load() > 0) running.push_back(CreateThread(nullptr, 0, &slowHook, nullptr, 0, nullptr));
  for (HANDLE thread : running) {
    if (!thread) continue;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  shutdown.ended = true;
  journalFlag("vm-ended");
}

bool vmEnded() { return state().ended; }

void blockForGood(const char* where) {
  journal("blocked-for-good", where);
  for (;;) Sleep(INFINITE);
}

}  // namespace test_runtime
