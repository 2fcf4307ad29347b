#include "splash/win32/splash_window.h"

#include "common/win32/file_system.h"
#include "common/win32/win_text.h"
#include "splash/scaled_image.h"
#include "splash/win32/gdiplus_api.h"

namespace {

constexpr wchar_t kClassName[] = L"SplashScreenWindow";

// Registered once per process; the first window decides whether the class
// casts a shadow. Systems that refuse the shadow style get the class without it.
void registerSplashClass(WNDPROC windowProc, bool shadow) {
  static SRWLOCK lock = SRWLOCK_INIT;
  static bool registered = false;
  AcquireSRWLockExclusive(&lock);
  if (!registered) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_SAVEBITS | (shadow ? CS_DROPSHADOW : 0);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExW(&windowClass) != 0;
    if (!registered && shadow) {
      windowClass.style &= ~CS_DROPSHADOW;
      registered = RegisterClassExW(&windowClass) != 0;
    }
  }
  ReleaseSRWLockExclusive(&lock);
}

struct RenderedImage {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

// Decodes the image once and draws it onto black at `percent` of its size,
// so that transparent parts come out black; repaints are then a plain copy
// of the bitmap. Tile-flip wrapping keeps the edge pixels from fading into
// the black around them.
RenderedImage renderImage(const String& path, int percent) {
  RenderedImage rendered;
  const gdiplus::Api* gdi = gdiplus::api();
  gdiplus::Image* image = nullptr;
  if (!gdi || gdi->createBitmapFromFile(wide(path), &image) != gdiplus::Ok) return rendered;
  UINT width = 0, height = 0;
  gdi->getImageWidth(image, &width);
  gdi->getImageHeight(image, &height);
  const int shownWidth = MulDiv(static_cast<int>(width), percent, 100);
  const int shownHeight = MulDiv(static_cast<int>(height), percent, 100);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = shownWidth > 0 && shownHeight > 0 ? CreateCompatibleBitmap(screen, shownWidth, shownHeight) : nullptr;
  if (bitmap) {
    rendered = {bitmap, shownWidth, shownHeight};
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, rendered.width, rendered.height, BLACKNESS);
    gdiplus::Graphics* graphics = nullptr;
    gdiplus::ImageAttributes* attributes = nullptr;
    if (gdi->createFromHdc(memory, &graphics) == gdiplus::Ok) {
      gdi->setPageUnit(graphics, gdiplus::UnitPixel);
      gdi->setInterpolationMode(graphics, gdiplus::InterpolationModeHighQualityBicubic);
      if (gdi->createImageAttributes(&attributes) == gdiplus::Ok) {
        gdi->setImageAttributesWrapMode(attributes, gdiplus::WrapModeTileFlipXY, gdiplus::OpaqueBlack, FALSE);
      }
      gdi->drawImageRectRectI(graphics, image, 0, 0, rendered.width, rendered.height, 0, 0, static_cast<int>(width),
                              static_cast<int>(height), gdiplus::UnitPixel, attributes, nullptr, nullptr);
      if (attributes) gdi->disposeImageAttributes(attributes);
      gdi->deleteGraphics(graphics);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  ReleaseDC(nullptr, screen);
  gdi->disposeImage(image);
  return rendered;
}

// The primary monitor's scale in percent: the system DPI, which is the
// primary monitor's when the session began.
int primaryScalePercent() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? MulDiv(dpi, 100, 96) : 100;
}

// The image drawn for the monitor: a variant made for its scale at its own
// size when there is one, otherwise the image scaled.
RenderedImage renderForMonitor(const String& imagePath) {
  const int percent = primaryScalePercent();
  for (const String& variant : scaledImageNames(imagePath, percent)) {
    if (fileOrFolderExists(variant)) return renderImage(variant, 100);
  }
  return renderImage(imagePath, percent);
}

}  // namespace

SplashWindow::~SplashWindow() {
  if (bitmap_) DeleteObject(bitmap_);
}

HWND SplashWindow::createSplashWindow(const String& imagePath, bool shadow) {
  registerSplashClass(windowProc, shadow);
  RenderedImage image = renderForMonitor(imagePath);
  bitmap_ = image.bitmap;
  // Centred on the primary screen; a larger image starts above and left of it.
  int x = (GetSystemMetrics(SM_CXSCREEN) - image.width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - image.height) / 2;
  // The tool-window style keeps the splash off the taskbar.
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, x, y, image.width, image.height, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
  return hwnd_;
}

LRESULT CALLBACK SplashWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto self = reinterpret_cast<const SplashWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (self) {
        self->paint(hwnd);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      // The image covers the whole window: erasing would only flicker.
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void SplashWindow::paint(HWND hwnd) const {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (bitmap_) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap_);
    BITMAP info{};
    GetObjectW(bitmap_, sizeof info, &info);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &paint);
}
