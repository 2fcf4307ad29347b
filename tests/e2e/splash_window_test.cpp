// The launcher's own splash window: the image centred at its own size on a
// borderless tool window, read back off the screen.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "instances.h"
#include "java_app.h"
#include "robot/png_file.h"

namespace {

struct Colour {
  uint8_t red, green, blue, alpha;
};

// Quadrants red, green / blue, then `lowerRight`.
std::function<Colour(int, int)> quadrants(int width, int height, Colour lowerRight) {
  return [=](int x, int y) -> Colour {
    bool right = x >= width / 2, lower = y >= height / 2;
    if (!lower) return right ? Colour{0, 255, 0, 255} : Colour{255, 0, 0, 255};
    return right ? lowerRight : Colour{0, 0, 255, 255};
  };
}

std::string bmpImage(int width, int height, const std::function<Colour(int, int)>& colour) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
  std::string out;
  auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  out += "BM";
  put(54 + pixelBytes, 4), put(0, 4), put(54, 4);
  put(40, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4), put(1, 2), put(24, 2);
  put(0, 4), put(pixelBytes, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up rows
    std::string row;
    for (int x = 0; x < width; ++x) {
      Colour c = colour(x, y);
      row += {static_cast<char>(c.blue), static_cast<char>(c.green), static_cast<char>(c.red)};
    }
    row.resize(rowBytes, '\0');
    out += row;
  }
  return out;
}

std::string pngImage(int width, int height, const std::function<Colour(int, int)>& colour) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour c = colour(x, y);
      rgba.insert(rgba.end(), {c.red, c.green, c.blue, c.alpha});
    }
  }
  return encodePng(static_cast<uint32_t>(width), static_cast<uint32_t>(height), rgba, true);
}

const char kMain[] = "[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";
// Keeps the VM "loading" long enough for the robot to read the splash.
const char kSlowStart[] = "Virtual Machine Parameters=-Dtest.jvm.create-delay=2500\r\n";
const char kClassPath[] = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";

std::string splashSection(const std::wstring& image, const std::string& more = "") {
  return "[Display]\r\nSplash Screen=" + narrow(image) + "\r\n" + more;
}

std::vector<robot::Window> splashWindows(const robot::Outcome& outcome) {
  std::vector<robot::Window> found;
  for (const robot::Window& w : outcome.windows) {
    if (w.className == L"SplashScreenWindow") found.push_back(w);
  }
  return found;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
  return parts;
}

// The splash thread has ended before the launcher shuts the VM down.
void expectSplashThreadEnded(const JavaApp& app, const robot::Window& splash) {
  std::vector<std::string> threads = app.journal("destroy-threads");
  ASSERT_EQ(threads.size(), 1u) << app.journalText();
  std::vector<std::string> ids = split(threads[0], ',');
  EXPECT_EQ(std::count(ids.begin(), ids.end(), std::to_string(splash.threadId)), 0)
      << "splash thread " << splash.threadId << " still running: " << threads[0];
}

TEST(SplashWindow, ShowsTheImageCentredAtItsOwnSize) {
  const Colour opaqueYellow{255, 255, 0, 255}, transparentWhite{255, 255, 255, 0};
  const struct {
    const char* name;
    const wchar_t* file;
    int width, height;
    Colour lowerRight;       // as stored in the image
    RGBQUAD lowerRightShown; // as it must appear
  } cases[] = {
      {"BMP", L"splash.bmp", 161, 101, opaqueYellow, {0, 255, 255, 0}},
      {"PNG with a transparent quarter", L"splash.png", 200, 120, transparentWhite, {0, 0, 0, 0}},
      {"larger than the screen", L"huge.bmp", 1301, 1041, opaqueYellow, {0, 255, 255, 0}},
  };
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    auto colour = quadrants(c.width, c.height, c.lowerRight);
    bool png = std::wstring(c.file).find(L".png") != std::wstring::npos;
    app.folder().writeFile(c.file, png ? pngImage(c.width, c.height, colour) : bmpImage(c.width, c.height, colour));
    app.writeIni(kMain + std::string(kSlowStart) + kClassPath + splashSection(app.path() + L"\\" + c.file));
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    EXPECT_EQ(app.journal("main").size(), 1u);
    auto splashes = splashWindows(outcome);
    ASSERT_EQ(splashes.size(), 1u) << report(outcome);
    const robot::Window& splash = splashes[0];
    // Centred, truncating towards zero: a larger image starts off the screen.
    EXPECT_EQ(splash.rect.left, (screenWidth - c.width) / 2);
    EXPECT_EQ(splash.rect.top, (screenHeight - c.height) / 2);
    EXPECT_EQ(splash.width(), c.width);
    EXPECT_EQ(splash.height(), c.height);
    EXPECT_EQ(splash.caption, L"");
    EXPECT_EQ(splash.style & (WS_POPUP | WS_CAPTION), WS_POPUP) << "no title bar";
    EXPECT_EQ(splash.exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW) << "no taskbar button";
    EXPECT_FALSE(splash.hasOwner);
    expectSplashThreadEnded(app, splash);

    if (splash.rect.left < 0) continue;  // what lies off the screen cannot be read back
    ASSERT_EQ(splash.pixels.size(), static_cast<size_t>(c.width * c.height)) << report(outcome);
    auto expectShown = [&](int x, int y, RGBQUAD expected) {
      RGBQUAD shown = splash.pixel(x, y);
      EXPECT_TRUE(shown.rgbRed == expected.rgbRed && shown.rgbGreen == expected.rgbGreen && shown.rgbBlue == expected.rgbBlue)
          << "at " << x << "," << y << ": " << int(shown.rgbRed) << "," << int(shown.rgbGreen) << "," << int(shown.rgbBlue);
    };
    const RGBQUAD red{0, 0, 255, 0}, green{0, 255, 0, 0}, blue{255, 0, 0, 0};
    const int right = c.width - 1, bottom = c.height - 1;
    // The corners too: the edges keep their colour rather than fading.
    for (auto [x, y] : {std::pair{0, 0}, {c.width / 4, c.height / 4}}) expectShown(x, y, red);
    for (auto [x, y] : {std::pair{right, 0}, {3 * c.width / 4, c.height / 4}}) expectShown(x, y, green);
    for (auto [x, y] : {std::pair{0, bottom}, {c.width / 4, 3 * c.height / 4}}) expectShown(x, y, blue);
    for (auto [x, y] : {std::pair{right, bottom}, {3 * c.width / 4, 3 * c.height / 4}}) expectShown(x, y, c.lowerRightShown);
  }
}

// The screen's DPI for the processes started while it lives, as the
// display settings store it ("LogPixels"); Wine reads it at a process's start.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof before_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) == 0;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~ScreenDpi() {
    if (had_) RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
    else RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD before_ = 0;
  bool had_ = false;
};

// On a monitor at twice the scale the image is shown at twice its size, or a
// variant made for that scale at its own size.
TEST(SplashWindow, ScalesToTheMonitor) {
  const struct {
    const char* name;
    const wchar_t* variant;  // beside splash.bmp (80 x 50), 150 x 90
    int width, height;
  } cases[] = {
      {"scaled", nullptr, 160, 100},
      {"a variant for 200 percent", L"splash@200pct.bmp", 150, 90},
      {"a variant for twice the size", L"splash@2x.bmp", 150, 90},
  };
  const Colour yellow{255, 255, 0, 255};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    app.folder().writeFile(L"splash.bmp", bmpImage(80, 50, quadrants(80, 50, yellow)));
    if (c.variant) app.folder().writeFile(c.variant, bmpImage(150, 90, quadrants(150, 90, yellow)));
    app.writeIni(kMain + std::string(kSlowStart) + kClassPath + splashSection(app.path() + L"\\splash.bmp"));
    ScreenDpi dpi(192);
    robot::Outcome outcome = app.launch();
    auto splashes = splashWindows(outcome);
    ASSERT_EQ(splashes.size(), 1u) << report(outcome);
    EXPECT_EQ(splashes[0].width(), c.width);
    EXPECT_EQ(splashes[0].height(), c.height);
  }
}

TEST(SplashWindow, CastsAShadowOnlyForExactlyTrue) {
  const struct {
    const char* value;
    bool shadow;
  } cases[] = {{"true", true}, {"True", false}, {"yes", false}, {"", false}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    app.folder().writeFile(L"splash.bmp", bmpImage(40, 30, quadrants(40, 30, {255, 255, 0, 255})));
    app.writeIni(kMain + std::string(kSlowStart) + kClassPath +
                 splashSection(app.path() + L"\\splash.bmp", "Splash Screen Shadow=" + std::string(c.value) + "\r\n"));
    robot::Outcome outcome = app.launch();
    auto splashes = splashWindows(outcome);
    ASSERT_EQ(splashes.size(), 1u) << report(outcome);
    EXPECT_EQ(splashes[0].classStyle, c.shadow ? 0x00020808 : 0x00000808);
  }
}

// What the command line and a missing image leave of the splash; the
// application starts in every case.
TEST(SplashWindow, ShowsOnlyWhenAskedForAndReadable) {
  const struct {
    const char* name;
    const wchar_t* arguments;
    const char* cmd;       // the "Cmd" setting
    const wchar_t* image;  // written into the folder when not null
    bool visible;
  } cases[] = {
      {"-nosplash", L"-nosplash", "", L"splash.bmp", false},
      {"/nosplash", L"/nosplash", "", L"splash.bmp", false},
      {"-NOSPLASH is an argument like any other", L"-NOSPLASH", "", L"splash.bmp", true},
      {"-nosplash only in Cmd", L"", "-nosplash", L"splash.bmp", true},
      {"missing image", L"", "", nullptr, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    if (c.image) app.folder().writeFile(c.image, bmpImage(40, 30, quadrants(40, 30, {255, 255, 0, 255})));
    app.writeIni(kMain + std::string(kSlowStart) + kClassPath + "[Application]\r\nCmd=" + c.cmd + "\r\n" +
                 splashSection(app.path() + L"\\splash.bmp"));
    robot::Outcome outcome = app.launch(c.arguments);
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    EXPECT_TRUE(outcome.dialogs().empty()) << report(outcome);
    EXPECT_EQ(app.journal("main").size(), 1u);
    int shown = 0;
    for (const robot::Window& w : splashWindows(outcome)) shown += w.width() > 0 && w.height() > 0;
    EXPECT_EQ(shown, c.visible ? 1 : 0) << report(outcome);
    std::string argument = c.arguments[0] ? narrow(c.arguments) : c.cmd;
    std::vector<std::string> expected;
    if (!argument.empty()) expected.push_back(argument);
    EXPECT_EQ(app.journal("arg"), expected) << "main gets the argument";
  }
}

TEST(SplashWindow, ClosesBeforeTheExceptionDialog) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.folder().writeFile(L"splash.bmp", bmpImage(40, 30, quadrants(40, 30, {255, 255, 0, 255})));
  app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Throw\r\n") + kSlowStart + kClassPath +
               "[Application]\r\nFailure Check=yes\r\n" + splashSection(app.path() + L"\\splash.bmp"));
  robot::Outcome outcome = app.launch(L"", {L"Ignore"});
  EXPECT_EQ(outcome.exitCodeSigned(), 1) << "after Ignore, as a main that threw\n" << report(outcome);
  ASSERT_EQ(splashWindows(outcome).size(), 1u) << "the splash was up while the VM loaded\n" << report(outcome);
  auto dialogs = outcome.dialogs();
  ASSERT_EQ(dialogs.size(), 1u) << report(outcome);
  EXPECT_EQ(dialogs[0].caption, L"Java Exception");
  EXPECT_EQ(std::count(dialogs[0].alongside.begin(), dialogs[0].alongside.end(), L"SplashScreenWindow"), 0)
      << "the splash is gone when the dialog shows";
}

// Closing at once, before the splash thread may have its message queue, still
// ends the thread and the launch.
TEST(SplashWindow, ClosesRightAfterShowing) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.folder().writeFile(L"splash.bmp", bmpImage(40, 30, quadrants(40, 30, {255, 255, 0, 255})));
  app.writeIni(kMain + std::string(kClassPath) + splashSection(app.path() + L"\\splash.bmp"));
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    robot::Outcome outcome = app.launch();
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    EXPECT_NE(app.journalText().find("destroy-done"), std::string::npos) << app.journalText();
  }
}

struct SplashSearch {
  DWORD processId;
  bool found = false;
};

BOOL CALLBACK findSplash(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<SplashSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  search->found = owner == search->processId && std::wstring(name) == L"SplashScreenWindow";
  return !search->found;
}

// Whether the process shows a window of the splash class.
bool showsSplash(DWORD processId) {
  SplashSearch search{processId};
  EnumWindows(&findSplash, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool waitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 200; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return false;
}

// With IBM runtimes admitted the Java thread stays parked after main returns
// and the launch never ends by itself: the splash still goes when main ends.
TEST(SplashWindow, ClosesWhenTheJavaThreadParks) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.folder().writeFile(L"splash.bmp", bmpImage(40, 30, quadrants(40, 30, {255, 255, 0, 255})));
  app.writeIni(kMain + std::string(kSlowStart) + "VM Provider=any\r\n" + kClassPath +
               splashSection(app.path() + L"\\splash.bmp"));
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
  HANDLE process = instances::start(app, L"");
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  ASSERT_NE(process, nullptr);
  const DWORD id = GetProcessId(process);
  EXPECT_TRUE(waitFor([&] { return showsSplash(id); })) << "the splash shows while the VM starts";
  EXPECT_TRUE(instances::waitForJournal(app, "argc")) << app.journalText();
  EXPECT_TRUE(waitFor([&] { return !showsSplash(id); })) << "the splash is gone once main returned";
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the parked launch goes on";
  instances::finish(process, 0);
}

}  // namespace
