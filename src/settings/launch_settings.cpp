#include "settings/launch_settings.h"

namespace {

bool isYes(const String& value) { return equalsIgnoreCase(value, setting::kYes); }

}  // namespace

void readFileSettings(SettingsSource& file, LaunchSettings& settings) {
  settings.productCode = file.value(setting::kProductCode);
  settings.upgradeCode = file.value(setting::kUpgradeCode);
  settings.productName = file.value(setting::kProductName);
  settings.splashImage = file.value(setting::kSplashScreen);
  settings.splashShadowValue = file.value(setting::kSplashScreenShadow);
  settings.preferNativeSplash = isYes(file.value(setting::kPreferNativeSplash));
}

void readLayeredSettings(SettingsSource& layered, LaunchSettings& settings) {
  settings.serviceMode = layered.value(setting::kApplicationType) == setting::kService;
  settings.mainClass = layered.value(setting::kMainClass);
  settings.modulePath = layered.value(setting::kModulePath);
  settings.mainJar = layered.value(setting::kMainJar);
  settings.failureCheck = isYes(layered.value(setting::kFailureCheck));
  settings.overrideWorkingDir = isYes(layered.value(setting::kOverrideWorkingDir));
  settings.attachConsole = isYes(layered.value(setting::kAttachConsole));
  settings.singleInstanceRequested =
      !settings.serviceMode && layered.value(setting::kSingleInstance) == setting::kYesExactly;
  settings.systemPath = layered.value(setting::kSystemPath);
  settings.libraryPath = layered.value(setting::kLibraryPath);
  settings.pairProduct = layered.value(setting::kPairProduct);
  settings.pairReturnCode = isYes(layered.value(setting::kPairReturnCode));
  settings.stdoutFile = layered.value(setting::kOutputFile);
  settings.stdoutAppend = layered.value(setting::kOutputAppend) == setting::kYesExactly;
  settings.stderrFile = layered.value(setting::kErrorFile);
  settings.stderrAppend = layered.value(setting::kErrorAppend) == setting::kYesExactly;
  settings.extraArguments = layered.value(setting::kCmd);
  settings.classPath = layered.value(setting::kClassPath);
  settings.embeddedJar = isYes(layered.value(setting::kEmbeddedJar));
  settings.vmParameters = layered.value(setting::kVmParameters);
  settings.classDataSharing = equalsIgnoreCase(layered.value(setting::kClassDataSharing), setting::kAuto);
}
