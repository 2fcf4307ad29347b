#include "splash/win32/gdiplus_api.h"

#include <cstdlib>

#include "common/win32/system_library.h"

namespace gdiplus {
namespace {

struct StartupInput {
  UINT32 version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

using Startup = Status(WINAPI*)(ULONG_PTR* token, const StartupInput* input, void* output);
using Shutdown = void(WINAPI*)(ULONG_PTR token);

HMODULE library = nullptr;
ULONG_PTR token = 0;
Api table{};
bool started = false;

template <typename Entry>
bool lookUp(Entry& entry, const char* name) {
  entry = procedureOf<Entry>(library, name);
  return entry != nullptr;
}

void shutDown() {
  Shutdown shutdown = nullptr;
  if (lookUp(shutdown, "GdiplusShutdown")) shutdown(token);
}

BOOL CALLBACK start(INIT_ONCE*, void*, void**) {
  library = loadSystemLibrary(L"gdiplus.dll");
  if (!library) return TRUE;
  Startup startup = nullptr;
  bool complete = lookUp(startup, "GdiplusStartup") && lookUp(table.createBitmapFromFile, "GdipCreateBitmapFromFile") &&
                  lookUp(table.getImageWidth, "GdipGetImageWidth") && lookUp(table.getImageHeight, "GdipGetImageHeight") &&
                  lookUp(table.disposeImage, "GdipDisposeImage") && lookUp(table.createFromHdc, "GdipCreateFromHDC") &&
                  lookUp(table.deleteGraphics, "GdipDeleteGraphics") && lookUp(table.setPageUnit, "GdipSetPageUnit") &&
                  lookUp(table.setInterpolationMode, "GdipSetInterpolationMode") &&
                  lookUp(table.createImageAttributes, "GdipCreateImageAttributes") &&
                  lookUp(table.disposeImageAttributes, "GdipDisposeImageAttributes") &&
                  lookUp(table.setImageAttributesWrapMode, "GdipSetImageAttributesWrapMode") &&
                  lookUp(table.drawImageRectRectI, "GdipDrawImageRectRectI");
  StartupInput input;
  if (complete && startup(&token, &input, nullptr) == Ok) {
    started = true;
    std::atexit(shutDown);
  }
  return TRUE;
}

}  // namespace

const Api* api() {
  static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
  InitOnceExecuteOnce(&once, start, nullptr, nullptr);
  return started ? &table : nullptr;
}

}  // namespace gdiplus
