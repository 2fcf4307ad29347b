#pragma once
// Owners for the system's resources: one type per kind of resource, which
// releases it once, when the owner goes away or is reset. Every handle the
// launcher opens lives in one of these.
#include <windows.h>

#include <utility>

// Traits name the handle type, the value that means "none" and the release.
template <typename Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  ~UniqueResource() { reset(); }
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Handle get() const { return handle_; }
  // For owners of pointers to structures (mapped views).
  Handle operator->() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }
  // Gives the resource up without releasing it.
  Handle release() { return std::exchange(handle_, Traits::none()); }
  void reset(Handle handle = Traits::none()) {
    if (handle_ != Traits::none()) Traits::close(handle_);
    handle_ = handle;
  }
  // For functions that return the resource through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::none();
};

namespace resource_traits {

struct KernelObject {  // events, mappings, threads, processes
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static void close(Handle handle) { CloseHandle(handle); }
};

struct File {  // CreateFileW's "none" is INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) { CloseHandle(handle); }
};

struct FindSearch {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) { FindClose(handle); }
};

struct RegistryKey {
  using Handle = HKEY;
  static Handle none() { return nullptr; }
  static void close(Handle handle) { RegCloseKey(handle); }
};

struct Module {
  using Handle = HMODULE;
  static Handle none() { return nullptr; }
  static void close(Handle handle) { FreeLibrary(handle); }
};

template <typename T>
struct MappedViewOf {
  using Handle = T*;
  static Handle none() { return nullptr; }
  static void close(Handle handle) { UnmapViewOfFile(handle); }
};

}  // namespace resource_traits

using UniqueHandle = UniqueResource<resource_traits::KernelObject>;
using UniqueFile = UniqueResource<resource_traits::File>;
using UniqueFind = UniqueResource<resource_traits::FindSearch>;
using UniqueKey = UniqueResource<resource_traits::RegistryKey>;
using UniqueModule = UniqueResource<resource_traits::Module>;
using UniqueView = UniqueResource<resource_traits::MappedViewOf<const void>>;
template <typename T>
using UniqueViewOf = UniqueResource<resource_traits::MappedViewOf<T>>;
