// The launcher's settings into the application object, and the runtime the
// user picked into the settings files.
#include "common/file_system.h"
#include "common/launch_trace.h"
#include "jre/runtime_filter.h"
#include "launcher/error_report.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "resources/resource_ids.h"
#include "settings/ini_settings_file.h"
#include "settings/layered_settings.h"
#include "settings/per_user_settings.h"

bool loadLauncherSettings(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;

  IniSettingsFile plain(path);
  app.productCode = plain.value(setting::kProductCode);
  app.upgradeCode = plain.value(setting::kUpgradeCode);
  app.productName = plain.value(setting::kProductName);

  const String embedded = embeddedSettingsText(app.upgradeCode);
  LayeredSettings settings(path, embedded);
  app.runtime = readRuntimeFilter(settings);
  app.serviceMode = settings.value(setting::kApplicationType) == setting::kService;
  String executable;
  if (!modulePath(executable)) return false;
  if (trace::enabled()) {
    trace::line(u"executable " + executable + u", settings " + path +
                (embedded.empty() ? u", no embedded settings" : u", embedded settings found"));
  }
  app.jrePath = configuredJrePath(settings, app.product(), executable, app.serviceMode);

  app.mainClass = settings.value(setting::kMainClass);
  if (app.mainClass.empty()) {
    showError(nullptr, IDS_NO_MAIN_CLASS, 0u);
    return false;
  }
  // The VM looks classes up by their internal, slash-separated name.
  for (char16_t& c : app.mainClass) {
    if (c == u'.') c = u'/';
  }

  app.failureCheck = equalsIgnoreCase(settings.value(setting::kFailureCheck), setting::kYes);
  app.overrideWorkingDir = equalsIgnoreCase(settings.value(setting::kOverrideWorkingDir), setting::kYes);
  app.systemPath = settings.value(setting::kSystemPath);
  app.libraryPath = settings.value(setting::kLibraryPath);
  app.pairProduct = settings.value(setting::kPairProduct);
  app.pairReturnCode = equalsIgnoreCase(settings.value(setting::kPairReturnCode), setting::kYes);
  app.singleInstanceRequested =
      !app.serviceMode && settings.value(setting::kSingleInstance) == setting::kYesExactly;
  // Environment references in these are expanded when they are used: the
  // launch sets "Path" first.
  app.stdoutFile = settings.value(setting::kOutputFile);
  app.stdoutAppend = settings.value(setting::kOutputAppend) == setting::kYesExactly;
  app.stderrFile = settings.value(setting::kErrorFile);
  app.stderrAppend = settings.value(setting::kErrorAppend) == setting::kYesExactly;
  app.extraArguments = settings.value(setting::kCmd);
  app.classDataSharing = equalsIgnoreCase(settings.value(setting::kClassDataSharing), setting::kAuto);
  return true;
}

void persistChosenRuntime(LauncherApp& app, const String& home) {
  if (home.empty()) return;  // an empty folder would name the current directory
  String settingsPath;
  if (!settingsFilePath(settingsPath)) return;
  if (!app.serviceMode) {
    String own = launcherPerUserSettingsPath(app.product(), true);
    if (!own.empty()) IniSettingsFile(own).store(setting::kJrePath, home);
    if (!app.pairProduct.empty()) IniSettingsFile(perUserSettingsPath(app.product(), app.pairProduct, true)).store(setting::kJrePath, home);
  } else {
    IniSettingsFile(settingsPath).store(setting::kJrePath, home);
    String pairPath;
    if (pairSettingsFilePath(app.pairProduct, pairPath)) IniSettingsFile(pairPath).store(setting::kJrePath, home);
  }
}
