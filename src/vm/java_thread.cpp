// The launcher's side of the Java thread: the default stack size, creating
// the VM with the stream redirection, and calling the main class, with the
// launcher's message boxes as the report of what fails.
#include "common/ansi_text.h"
#include "common/environment.h"
#include "common/file_system.h"
#include "common/launch_trace.h"
#include "common/string_table.h"
#include "common/win_text.h"
#include "launcher/error_report.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "resources/resource_ids.h"
#include "vm/exception_dialog.h"
#include "vm/java_session.h"
#include "vm/timestamp_name.h"

namespace {

const LCID kUserDefaultLocale = 0x400;

// The picture through the time pass, then the date pass; a pass that fails
// leaves its input as it was.
String formatPicture(const SYSTEMTIME& time, const String& picture) {
  wchar_t timePass[MAX_PATH];
  String afterTime =
      GetTimeFormatW(kUserDefaultLocale, 0, &time, wide(picture), timePass, MAX_PATH) ? fromWide(timePass) : picture;
  wchar_t datePass[MAX_PATH];
  return GetDateFormatW(kUserDefaultLocale, 0, &time, wide(afterTime), datePass, MAX_PATH) ? fromWide(datePass)
                                                                                             : afterTime;
}

bool redirect(LauncherApp& app, const String& file, bool append, JavaStream stream) {
  createParentFolders(file);
  return redirectJavaStream(app.javaEnv, file, append, stream);
}

class LauncherJavaHost : public JavaHost {
 public:
  explicit LauncherJavaHost(LauncherApp& app) : app_(app) {}

  void formatError(unsigned textId, std::initializer_list<FormatArg> args) override {
    ::formatError(nullptr, resourceString(textId), args);
  }
  void showError(unsigned textId) override { ::showError(nullptr, textId, 0u); }
  String fromAnsi(const std::string& bytes) override { return fromThreadAnsi(bytes); }
  void mainAboutToRun() override {
    app_.instance.mainAboutToRun();
  }
  void mainThrew() override { app_.splashWindow.close(); }
  void note(const std::string& text) override { trace::line(text); }
  bool askStopOnException(JNIEnv* env, jthrowable thrown) override { return ::askStopOnException(env, thrown); }
  void park() override {
    // Nothing will close the splash once the thread waits for good.
    app_.splashWindow.close();
    for (;;) Sleep(INFINITE);
  }
  void endProcess(int32_t code) override {
    app_.nativeSplashCloser.fire();
    ExitProcess(static_cast<UINT>(code));
  }

 private:
  LauncherApp& app_;
};

// Text 203 with the JNI code's reason and, below it, what the VM said.
void reportCreationFailure(jint status, const std::string& printed) {
  const unsigned reason = vmCreationReason(status);
  const String said = trimWhiteSpace(fromThreadAnsi(printed));
  const String pattern = resourceString(IDS_JNI_EXCEPTION) + (said.empty() ? String() : resourceString(IDS_VM_SAID));
  formatError(nullptr, pattern,
              {resourceString(IDS_CREATE_JAVA_VM_FAILED), reason ? resourceString(reason) : String(), said});
}

}  // namespace

uint32_t defaultJavaStackSize(LauncherApp& app) { return defaultStackSize(app.defaultInitArgsEntry); }

bool createJavaVm(LauncherApp& app) {
  std::string printed;
  // The VM ends the process itself after some failures: say why first.
  auto fatal = [&app](const std::string& said) {
    trace::line(u"the VM ends the process; it said: " + trimWhiteSpace(fromThreadAnsi(said)));
    reportCreationFailure(JNI_ERR, said);
    LauncherJavaHost(app).endProcess(-1);
  };
  if (trace::enabled()) {
    for (const std::string& option : app.vmOptions) trace::line(u"VM option " + fromThreadAnsi(option));
  }
  jint status = createVmWithHooks(app.createJavaVmEntry, app.vmOptions, &app.javaVm, &app.javaEnv, &printed, fatal);
  if (trace::enabled()) {
    trace::line("JNI_CreateJavaVM returned " + std::to_string(status));
    if (!printed.empty()) trace::line(u"the VM said: " + trimWhiteSpace(fromThreadAnsi(printed)));
  }
  if (status != 0) {
    reportCreationFailure(status, printed);
    return false;
  }

  app.stdoutFile = expandEnvironment(app.stdoutFile);
  app.stderrFile = expandEnvironment(app.stderrFile);
  if (app.stdoutFile.find(u'%') != String::npos || app.stderrFile.find(u'%') != String::npos) {
    SYSTEMTIME now;
    GetLocalTime(&now);  // one time for both names
    auto format = [&now](const String& picture) { return formatPicture(now, picture); };
    expandTimestamp(app.stdoutFile, now.wMilliseconds, format);
    expandTimestamp(app.stderrFile, now.wMilliseconds, format);
  }
  if (!app.stdoutFile.empty() && !redirect(app, app.stdoutFile, app.stdoutAppend, JavaStream::Out) &&
      app.javaEnv->ExceptionOccurred()) {
    app.javaEnv->ExceptionDescribe();
  }
  if (!app.stderrFile.empty() && !redirect(app, app.stderrFile, app.stderrAppend, JavaStream::Err) &&
      app.javaEnv->ExceptionOccurred()) {
    app.javaEnv->ExceptionDescribe();
  }
  return true;
}

bool invokeMainClass(LauncherApp& app) {
  MainInvocation call;
  call.mainClass = app.mainClass;
  call.arguments = app.arguments;
  call.findClassFromBootLoader = app.findClassFromBootLoaderEntry;
  call.failureCheck = app.failureCheck;
  call.stayAttached = app.runtime.ibmAllowed();
  LauncherJavaHost host(app);
  return invokeMain(app.javaVm, app.javaEnv, call, host);
}
