#include "launcher/machine_check.h"

#include "common/system_library.h"
#include "common/win_text.h"

uint16_t ownMachine() {
#ifdef _WIN64
  return IMAGE_FILE_MACHINE_AMD64;
#else
  return IMAGE_FILE_MACHINE_I386;
#endif
}

uint16_t pairedMachine() {
  return ownMachine() == IMAGE_FILE_MACHINE_AMD64 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
}

namespace {

using ImageNtHeaderFunction = PIMAGE_NT_HEADERS(WINAPI*)(PVOID base);

// Dbghelp's ImageNtHeader trusts the DOS header's offset; make sure the
// headers it will read lie inside the mapping, so a truncated or damaged
// file cannot make it read past the end.
bool headersInside(const BYTE* image, ULONGLONG size) {
  if (size < sizeof(IMAGE_DOS_HEADER)) return false;
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  if (dos->e_lfanew < 0) return false;
  ULONGLONG end = static_cast<ULONGLONG>(dos->e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  return end <= size;
}

// The file header's machine field, or -1 when it cannot be read.
int32_t machineOfMapping(const BYTE* image, ULONGLONG size) {
  if (!headersInside(image, size)) return -1;
  HMODULE dbghelp = loadSystemLibrary(L"Dbghelp.dll");
  if (!dbghelp) return -1;
  int32_t machine = -1;
  auto imageNtHeader = reinterpret_cast<ImageNtHeaderFunction>(
      reinterpret_cast<void*>(GetProcAddress(dbghelp, "ImageNtHeader")));
  if (imageNtHeader) {
    PIMAGE_NT_HEADERS headers = imageNtHeader(const_cast<BYTE*>(image));
    if (headers && headers->Signature == IMAGE_NT_SIGNATURE) machine = headers->FileHeader.Machine;
  }
  FreeLibrary(dbghelp);
  return machine;
}

}  // namespace

bool builtForPairedMachine(const String& dllPath) {
  HANDLE file = CreateFileW(wide(dllPath), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  int32_t machine = -1;
  LARGE_INTEGER size{};
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping && GetFileSizeEx(file, &size)) {
    if (auto image = static_cast<const BYTE*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
      if (size.QuadPart >= 2 && image[0] == 'M' && image[1] == 'Z') {
        machine = machineOfMapping(image, static_cast<ULONGLONG>(size.QuadPart));
      }
      UnmapViewOfFile(image);
    }
  }
  if (mapping) CloseHandle(mapping);
  CloseHandle(file);
  return machine == pairedMachine();
}
