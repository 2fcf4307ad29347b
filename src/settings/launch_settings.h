#pragma once
// The launcher's settings as one launch uses them, read once at its start
// and constant afterwards. Portable.
#include "common/text.h"
#include "settings/settings_source.h"

// "Product Name" and "Product Code": the folders of the per-user files.
struct ProductIdentity {
  String name;
  String code;
};

struct LaunchSettings {
  // "Product Information" and [Display] come from the settings file alone.
  String productName;
  String productCode;
  String upgradeCode;
  String splashImage;
  String splashShadowValue;
  bool preferNativeSplash = false;
  // The rest from the file layered over the embedded settings.
  bool serviceMode = false;
  String mainClass;  // as written: a class, or with a module path "module[/class]"
  String modulePath;
  String mainJar;
  bool failureCheck = false;
  bool overrideWorkingDir = false;
  // The window flavour takes the console of the program that started it.
  bool attachConsole = false;
  // "Single Instance" asks for it (never in service mode).
  bool singleInstanceRequested = false;
  String systemPath;
  String libraryPath;
  String pairProduct;
  bool pairReturnCode = false;
  // Environment references in these are expanded when they are used: the
  // launch sets "Path" first.
  String stdoutFile;
  String stderrFile;
  bool stdoutAppend = false;
  bool stderrAppend = false;
  String extraArguments;
  String classPath;
  bool embeddedJar = false;
  String vmParameters;
  // "Class Data Sharing=auto": an archive per user and runtime.
  bool classDataSharing = false;

  ProductIdentity product() const { return {productName, productCode}; }
};

// The identity and [Display] values of the settings file.
void readFileSettings(SettingsSource& file, LaunchSettings& settings);
// The values of the layered settings.
void readLayeredSettings(SettingsSource& layered, LaunchSettings& settings);
