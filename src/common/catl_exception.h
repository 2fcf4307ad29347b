#pragma once
#include <cstdint>

// Internal failure that is not the user's business: no string storage, or an
// index or length out of range. Carries one HRESULT code. Nothing in the
// launch sequence catches it; the process's terminate handler turns it into
// the exit code.
struct CAtlException {
  static constexpr int32_t kGeneralFailure = static_cast<int32_t>(0x80004005);
  static constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057);

  int32_t code;
};
