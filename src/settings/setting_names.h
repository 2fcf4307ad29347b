#pragma once
// The sections and keys of the launcher's settings file, spelled as users
// write them ("Preffer Native Splash Screen", "Preferred versions" and
// "Override WorkingDir" included). The launcher's readers and the packaging
// tool's check use these and no other spelling. Portable.

struct SettingKey {
  const char16_t* section;
  const char16_t* name;
};

namespace setting {

inline constexpr char16_t kProductSection[] = u"Product Information";
inline constexpr char16_t kRuntimeSection[] = u"Java Runtime Environment";
inline constexpr char16_t kApplicationSection[] = u"Application";
inline constexpr char16_t kClassPathSection[] = u"Class Path";
inline constexpr char16_t kDisplaySection[] = u"Display";

inline constexpr SettingKey kProductCode{kProductSection, u"Product Code"};
inline constexpr SettingKey kUpgradeCode{kProductSection, u"Upgrade Code"};
inline constexpr SettingKey kProductName{kProductSection, u"Product Name"};

inline constexpr SettingKey kMinimumVersion{kRuntimeSection, u"Minimum Version"};
inline constexpr SettingKey kMaximumVersion{kRuntimeSection, u"Maximum Version"};
inline constexpr SettingKey kPreferredVersions{kRuntimeSection, u"Preferred versions"};
inline constexpr SettingKey kJrePath{kRuntimeSection, u"JRE Path"};
inline constexpr SettingKey kJvmType{kRuntimeSection, u"JVM Type"};
inline constexpr SettingKey kJvmSource{kRuntimeSection, u"JVM Source"};
inline constexpr SettingKey kVmProvider{kRuntimeSection, u"VM Provider"};
inline constexpr SettingKey kMainClass{kRuntimeSection, u"Main Class"};
inline constexpr SettingKey kModulePath{kRuntimeSection, u"Module Path"};
inline constexpr SettingKey kMainJar{kRuntimeSection, u"Main Jar"};
inline constexpr SettingKey kSystemPath{kRuntimeSection, u"System Path"};
inline constexpr SettingKey kLibraryPath{kRuntimeSection, u"Library Path"};
inline constexpr SettingKey kVmParameters{kRuntimeSection, u"Virtual Machine Parameters"};
inline constexpr SettingKey kSearchOtherInstallations{kRuntimeSection, u"Search Other Installations"};
inline constexpr SettingKey kClassDataSharing{kRuntimeSection, u"Class Data Sharing"};

inline constexpr SettingKey kApplicationType{kApplicationSection, u"Application Type"};
inline constexpr SettingKey kSingleInstance{kApplicationSection, u"Single Instance"};
inline constexpr SettingKey kFailureCheck{kApplicationSection, u"Failure Check"};
inline constexpr SettingKey kOverrideWorkingDir{kApplicationSection, u"Override WorkingDir"};
inline constexpr SettingKey kEmbeddedJar{kApplicationSection, u"Embedded Jar"};
inline constexpr SettingKey kPairProduct{kApplicationSection, u"Pair Product"};
inline constexpr SettingKey kPairReturnCode{kApplicationSection, u"Pair Return Code"};
inline constexpr SettingKey kOutputFile{kApplicationSection, u"Output File"};
inline constexpr SettingKey kOutputAppend{kApplicationSection, u"Output Append"};
inline constexpr SettingKey kErrorFile{kApplicationSection, u"Error File"};
inline constexpr SettingKey kErrorAppend{kApplicationSection, u"Error Append"};
inline constexpr SettingKey kCmd{kApplicationSection, u"Cmd"};
inline constexpr SettingKey kAttachConsole{kApplicationSection, u"Attach Console"};

inline constexpr SettingKey kClassPath{kClassPathSection, u"Class Path"};

inline constexpr SettingKey kSplashScreen{kDisplaySection, u"Splash Screen"};
inline constexpr SettingKey kSplashScreenShadow{kDisplaySection, u"Splash Screen Shadow"};
inline constexpr SettingKey kPreferNativeSplash{kDisplaySection, u"Preffer Native Splash Screen"};

// Values the launcher compares with, as it compares them.
inline constexpr char16_t kYes[] = u"Yes";         // in any case
inline constexpr char16_t kYesExactly[] = u"yes";  // exactly so
inline constexpr char16_t kNo[] = u"No";           // in any case
inline constexpr char16_t kTrueExactly[] = u"true";
inline constexpr char16_t kService[] = u"service";
inline constexpr char16_t kAnyVersion[] = u"any";
inline constexpr char16_t kServerVm[] = u"server";
inline constexpr char16_t kFavorServerVm[] = u"favor_server";
inline constexpr char16_t kFavorJre[] = u"favor_JRE";
inline constexpr char16_t kFavorJdk[] = u"favor_JDK";
inline constexpr char16_t kOnlyJdk[] = u"only_JDK";
inline constexpr char16_t kOnlyJre[] = u"only_JRE";
inline constexpr char16_t kJRockit[] = u"jrockit";
inline constexpr char16_t kIbm[] = u"ibm";
inline constexpr char16_t kFavorSun[] = u"favor_sun";
inline constexpr char16_t kFavorJRockit[] = u"favor_jrockit";
inline constexpr char16_t kFavorIbm[] = u"favor_ibm";
inline constexpr char16_t kAnyProvider[] = u"any";
inline constexpr char16_t kAuto[] = u"auto";  // in any case

// Every key the launcher reads.
inline constexpr SettingKey kAllKeys[] = {
    kProductCode,     kUpgradeCode,        kProductName,        kMinimumVersion,    kMaximumVersion,
    kPreferredVersions, kJrePath,          kJvmType,            kJvmSource,         kVmProvider,
    kMainClass,       kSystemPath,         kLibraryPath,        kVmParameters,      kApplicationType,
    kSingleInstance,  kFailureCheck,       kOverrideWorkingDir, kEmbeddedJar,       kPairProduct,
    kPairReturnCode,  kOutputFile,         kOutputAppend,       kErrorFile,         kErrorAppend,
    kCmd,             kClassPath,          kSplashScreen,       kSplashScreenShadow, kPreferNativeSplash,
    kSearchOtherInstallations, kClassDataSharing, kModulePath, kMainJar, kAttachConsole,
};

}  // namespace setting
