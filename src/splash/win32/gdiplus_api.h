#pragma once
// The few GDI+ flat-API functions the splash window needs, taken from the
// system's gdiplus.dll on first use. GDI+ is started once per process and
// shut down when the process exits.
#include <windows.h>

namespace gdiplus {

struct Image;
struct Graphics;
struct ImageAttributes;

using Status = int;
constexpr Status Ok = 0;
constexpr int UnitPixel = 2;
constexpr int InterpolationModeHighQualityBicubic = 7;
constexpr int WrapModeTileFlipXY = 3;
constexpr DWORD OpaqueBlack = 0xFF000000;

struct Api {
  Status(WINAPI* createBitmapFromFile)(const wchar_t* file, Image** image);
  Status(WINAPI* getImageWidth)(Image* image, UINT* width);
  Status(WINAPI* getImageHeight)(Image* image, UINT* height);
  Status(WINAPI* disposeImage)(Image* image);
  Status(WINAPI* createFromHdc)(HDC dc, Graphics** graphics);
  Status(WINAPI* deleteGraphics)(Graphics* graphics);
  Status(WINAPI* setPageUnit)(Graphics* graphics, int unit);
  Status(WINAPI* setInterpolationMode)(Graphics* graphics, int mode);
  Status(WINAPI* createImageAttributes)(ImageAttributes** attributes);
  Status(WINAPI* disposeImageAttributes)(ImageAttributes* attributes);
  Status(WINAPI* setImageAttributesWrapMode)(ImageAttributes* attributes, int wrap, DWORD colour, BOOL clamp);
  Status(WINAPI* drawImageRectRectI)(Graphics* graphics, Image* image, int x, int y, int width, int height,
                                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, int sourceUnit,
                                     const ImageAttributes* attributes, void* abortCallback, void* callbackData);
};

// The started library, or null when gdiplus.dll, one of its functions or
// its start-up is missing.
const Api* api();

}  // namespace gdiplus
