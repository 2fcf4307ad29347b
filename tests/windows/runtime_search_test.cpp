// The registry search over keys and runtime folders made for each case.
#include <gtest/gtest.h>

#include "common/win32/win_text.h"
#include "file_tree/file_tree.h"
#include "jre/win32/runtime_search.h"
#include "jre/win32/runtime_selection.h"
#include "test_files.h"

namespace {

const wchar_t* const kVendorKeys[] = {L"Software\\JavaSoft", L"Software\\JRockit", L"Software\\IBM"};

// The view this build does not read by default: the paired product's.
#ifdef _WIN64
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

void clearRegistry() {
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    for (const wchar_t* key : kVendorKeys) {
      HKEY software;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) continue;
      RegDeleteTreeW(software, key + 9);  // the part after "Software\"
      RegCloseKey(software);
    }
  }
}

class RuntimeSearch : public testing::Test {
 protected:
  void SetUp() override {
    clearRegistry();
    root_ = freshTempFolder("runtimes");
  }
  void TearDown() override { clearRegistry(); }

  // A runtime folder holding the given VMs ("client", "server").
  String runtime(const char16_t* name, std::initializer_list<const char16_t*> vms) {
    String home = root_ + u"\\" + name;
    for (const char16_t* vm : vms) {
      String folder = home + u"\\bin\\" + vm;
      createTree(wide(folder));
      writeAnsiFile(folder + u"\\jvm.dll", "");
    }
    return home;
  }

  void registerRuntime(const char16_t* key, const char16_t* version, const String& home, REGSAM view = 0) {
    HKEY handle;
    String path = String(key) + version;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, L"JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide(home)),
                   static_cast<DWORD>((home.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }

  // The home folder the search picks, or "none".
  std::string search(const RuntimeFilter& filter, bool pairPass = false) {
    FoundRuntime found;
    if (!searchInstalledRuntimes(filter, pairPass, found)) return "none";
    const String& home = found.home;
    String prefix = root_ + u"\\";
    return toUtf8(home.substr(0, prefix.size()) == prefix ? home.substr(prefix.size()) : home);
  }

  String root_;
};

TEST_F(RuntimeSearch, ChoosesByKindVendorVersionAndVm) {
  registerRuntime(u"Software\\JavaSoft\\Java Runtime Environment\\", u"1.8.0_231", runtime(u"jre8", {u"client", u"server"}));
  registerRuntime(u"Software\\JavaSoft\\JDK\\", u"11.0.2", runtime(u"jdk11", {u"server"}));
  registerRuntime(u"Software\\IBM\\Java2 Runtime Environment\\", u"1.6", runtime(u"ibm6", {u"client"}));

  const struct {
    const char* name;
    void (*configure)(RuntimeFilter&);
    const char* expected;
  } cases[] = {
      {"defaults: the highest favoured", [](RuntimeFilter& a) { a.allowJdk = a.allowJre = true; }, "jdk11\\"},
      {"favor_JRE", [](RuntimeFilter& a) { a.allowJre = true; }, "jre8\\"},
      {"favor_ibm", [](RuntimeFilter& a) { a.allowJdk = a.allowJre = a.allowJRockit = a.allowIbm = a.favorIbm = true; a.favorSun = false; }, "ibm6\\"},
      {"only_JDK", [](RuntimeFilter& a) { a.jvmSourceFavor = false; a.allowJdk = true; }, "jdk11\\"},
      {"unknown JVM Source reads nothing", [](RuntimeFilter& a) { a.jvmSourceFavor = false; }, "none"},
      {"maximum 1.8", [](RuntimeFilter& a) { a.allowJdk = a.allowJre = true; parseVersion(u"1.8", 65535, a.maxVersion); }, "jre8\\"},
      {"minimum 12", [](RuntimeFilter& a) { a.allowJdk = a.allowJre = true; parseVersion(u"12", 0, a.minVersion); }, "none"},
      {"preferred 1.8", [](RuntimeFilter& a) { a.allowJdk = a.allowJre = true; a.preferredVersions = {u"1.7", u"1.8"}; }, "jre8\\"},
  };
  for (const auto& c : cases) {
    RuntimeFilter filter;
    c.configure(filter);
    EXPECT_EQ(search(filter), c.expected) << c.name;
  }
}

TEST_F(RuntimeSearch, ServerVmRequiredOrFavoured) {
  registerRuntime(u"Software\\JavaSoft\\JRE\\", u"17", runtime(u"client17", {u"client"}));
  registerRuntime(u"Software\\JavaSoft\\JRE\\", u"11", runtime(u"server11", {u"server"}));
  RuntimeFilter filter;
  filter.allowJdk = filter.allowJre = true;
  EXPECT_EQ(search(filter), "client17\\");
  filter.jvmType = JvmType::FavorServer;
  EXPECT_EQ(search(filter), "server11\\");
  filter.jvmType = JvmType::Server;
  EXPECT_EQ(search(filter), "server11\\");
  filter.preferredVersions = {u"17"};
  EXPECT_EQ(search(filter), "server11\\") << "a client-only runtime is no candidate for a server VM";
}

TEST_F(RuntimeSearch, OldStyleJdkKeysPointBelowJre) {
  String jdk = runtime(u"jdk8", {});
  runtime(u"jdk8\\jre", {u"server"});
  registerRuntime(u"Software\\JavaSoft\\Java Development Kit\\", u"1.8", jdk);
  EXPECT_EQ(search(RuntimeFilter()), "jdk8\\jre\\");
}

TEST_F(RuntimeSearch, PairPassReadsTheOtherViewOnlyWithAPairProduct) {
  registerRuntime(u"Software\\JavaSoft\\JRE\\", u"1.8", runtime(u"other-view", {u"client"}), kOtherView);
  EXPECT_EQ(search(RuntimeFilter(), false), "none");
  EXPECT_EQ(search(RuntimeFilter(), true), "other-view\\");
  SelectionRequest request;
  request.filter.searchOtherInstallations = false;
  SelectedRuntime selected;
  EXPECT_FALSE(selectInstalledRuntime(request, selected)) << "no pair product, or a launch handed over";
  request.pairAllowed = true;
  EXPECT_TRUE(selectInstalledRuntime(request, selected));
  EXPECT_TRUE(selected.handOver);
  EXPECT_EQ(selected.stage, SelectionStage::RegistryOtherView);
}

TEST(FindJvmLibrary, ProbesTheVmFoldersInOrder) {
  const String home = freshTempFolder("vms") + u"\\";
  for (const char16_t* vm : {u"client", u"server"}) {
    CreateDirectoryW(wide(home + u"bin"), nullptr);
    CreateDirectoryW(wide(home + u"bin\\" + vm), nullptr);
    writeAnsiFile(home + u"bin\\" + vm + u"\\jvm.dll", "");
  }
  bool server = false;
  EXPECT_EQ(findJvmLibrary(home, JvmType::Default, &server), home + u"bin\\client\\jvm.dll");
  EXPECT_FALSE(server);
  EXPECT_EQ(findJvmLibrary(home, JvmType::FavorServer, &server), home + u"bin\\server\\jvm.dll");
  EXPECT_TRUE(server);
  EXPECT_EQ(findJvmLibrary(home + u"bin\\", JvmType::Default, &server), u"") << "the bin folder is no home";
  EXPECT_FALSE(hasJavaLibrary(home));
}

}  // namespace
