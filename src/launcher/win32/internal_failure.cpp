// How the launcher ends on an internal failure. The product is built without
// exceptions: each place where the C++ library would throw comes here instead,
// and the process ends at once, without a message, with the failure's HRESULT
// as its exit code, which no ordinary outcome of a launch can be.
#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <new>

namespace {

constexpr UINT kGeneralFailure = 0x80004005;   // E_FAIL
constexpr UINT kInvalidArgument = 0x80070057;  // E_INVALIDARG: an index or length out of range

[[noreturn]] void endWith(UINT code) { ExitProcess(code); }

// What the library's inline code does without exceptions (a bad optional or
// variant access) is abort(); it ends the same way.
void onAbort(int) { endWith(kGeneralFailure); }

// The C runtime's abort() handler is in place before any code of the launch runs.
[[maybe_unused]] const auto abortHandler = std::signal(SIGABRT, onAbort);

}  // namespace

namespace std {
void __throw_out_of_range(const char*) { endWith(kInvalidArgument); }
void __throw_out_of_range_fmt(const char*, ...) { endWith(kInvalidArgument); }
void __throw_length_error(const char*) { endWith(kInvalidArgument); }
void __throw_bad_alloc() { endWith(kGeneralFailure); }
void __throw_bad_array_new_length() { endWith(kGeneralFailure); }
void __throw_bad_cast() { endWith(kGeneralFailure); }
void __throw_bad_typeid() { endWith(kGeneralFailure); }
void __throw_bad_exception() { endWith(kGeneralFailure); }
void __throw_bad_function_call() { endWith(kGeneralFailure); }
void __throw_logic_error(const char*) { endWith(kGeneralFailure); }
void __throw_domain_error(const char*) { endWith(kGeneralFailure); }
void __throw_invalid_argument(const char*) { endWith(kGeneralFailure); }
void __throw_runtime_error(const char*) { endWith(kGeneralFailure); }
void __throw_range_error(const char*) { endWith(kGeneralFailure); }
void __throw_overflow_error(const char*) { endWith(kGeneralFailure); }
void __throw_underflow_error(const char*) { endWith(kGeneralFailure); }
}  // namespace std

// Memory that cannot be had is an internal failure too; the library's own
// operator new would throw.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  endWith(kGeneralFailure);
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// A caller that asks without throwing (the library's temporary buffers) copes with null.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
