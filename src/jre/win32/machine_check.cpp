#include "jre/win32/machine_check.h"

#include "common/win32/system_library.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"

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
  UniqueModule dbghelp(loadSystemLibrary(L"Dbghelp.dll"));
  if (!dbghelp) return -1;
  int32_t machine = -1;
  auto imageNtHeader = procedureOf<ImageNtHeaderFunction>(dbghelp.get(), "ImageNtHeader");
  if (imageNtHeader) {
    PIMAGE_NT_HEADERS headers = imageNtHeader(const_cast<BYTE*>(image));
    if (headers && headers->Signature == IMAGE_NT_SIGNATURE) machine = headers->FileHeader.Machine;
  }
  return machine;
}

}  // namespace

bool builtForPairedMachine(const String& dllPath) { return imageMachine(dllPath) == pairedMachine(); }

uint16_t imageMachine(const String& dllPath) {
  UniqueFile file(CreateFileW(wide(dllPath), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  LARGE_INTEGER size{};
  UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping || !GetFileSizeEx(file.get(), &size)) return 0;
  UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  auto image = static_cast<const BYTE*>(view.get());
  if (!image || size.QuadPart < 2 || image[0] != 'M' || image[1] != 'Z') return 0;
  const int32_t machine = machineOfMapping(image, static_cast<ULONGLONG>(size.QuadPart));
  return machine < 0 ? 0 : static_cast<uint16_t>(machine);
}
