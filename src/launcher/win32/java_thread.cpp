// The Java thread: creating the VM with the stream redirection and calling
// the main class, with the launcher's reporter for what fails.
#include "common/win32/ansi_text.h"
#include "common/win32/file_system.h"
#include "common/win32/launch_trace.h"
#include "common/win32/string_table.h"
#include "common/win32/win_text.h"
#include "launcher/win32/error_report.h"
#include "launcher/win32/launcher_app.h"
#include "resources/resource_ids.h"
#include "vm/win32/exception_dialog.h"
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

bool redirect(JNIEnv* env, const String& file, bool append, JavaStream stream) {
  createParentFolders(file);
  return redirectJavaStream(env, file, append, stream);
}

// Redirects one stream; what failed is described on the VM's standard error.
void redirectOrDescribe(JNIEnv* env, const String& file, bool append, JavaStream stream) {
  if (!file.empty() && !redirect(env, file, append, stream) && env->ExceptionOccurred()) env->ExceptionDescribe();
}

class LauncherJavaHost : public JavaHost {
 public:
  LauncherJavaHost(const SingleInstance& singleInstance, LaunchSplash& splash, jclass* mainClass = nullptr,
                   bool* mainThrew = nullptr)
      : singleInstance_(singleInstance), splash_(splash), mainClass_(mainClass), mainThrew_(mainThrew) {}

  void report(const Failure& failure) override { ::report(failure); }
  void mainAboutToRun(jclass mainClass) override {
    if (mainClass_) *mainClass_ = mainClass;  // before deliveries may read it
    singleInstance_.mainAboutToRun();
  }
  void mainThrew() override {
    if (mainThrew_) *mainThrew_ = true;
    splash_.closeOwnWindow();
  }
  void note(const std::string& text) override { trace::line(text); }
  bool askStopOnException(JNIEnv* env, jthrowable thrown) override { return ::askStopOnException(env, thrown); }
  void park() override {
    // Nothing will close the splash once the thread waits for good.
    splash_.closeOwnWindow();
    for (;;) Sleep(INFINITE);
  }
  void endProcess(int32_t code) override {
    splash_.close();
    ExitProcess(static_cast<UINT>(code));
  }

 private:
  const SingleInstance& singleInstance_;
  LaunchSplash& splash_;
  jclass* mainClass_;
  bool* mainThrew_;
};

// Text 203 with the JNI code's reason and, below it, what the VM said.
Failure creationFailure(jint status, const std::string& printed) {
  const unsigned reason = vmCreationReason(status);
  const String said = trimWhiteSpace(fromAnsi(printed));
  return {IDS_JNI_EXCEPTION, said.empty() ? 0u : IDS_VM_SAID,
          {resourceString(IDS_CREATE_JAVA_VM_FAILED), reason ? resourceString(reason) : String(), said}};
}

}  // namespace

DWORD WINAPI LauncherApp::javaThreadProc(void* self) { return static_cast<LauncherApp*>(self)->runJava(); }

uint32_t LauncherApp::runJava() {
  if (!createJavaVm()) return 1;
  if (singleInstance_.isFirst() && singleInstance_.active()) {
    trace::line(singleInstance_.stopWhenVmShutsDown(javaEnv_)
                    ? "single instance: requests end as the VM shuts down"
                    : "single instance: the runtime takes no shutdown hook; requests end after the VM");
  }
  if (!invokeMainClass()) return 1;
  if (settings_.serviceMode && javaVm_) {
    javaVm_->DestroyJavaVM();
    javaVm_ = nullptr;
  }
  return mainThrew_ ? kMainThrew : 0;
}

bool LauncherApp::createJavaVm() {
  std::string printed;
  // The VM ends the process itself after some failures: say why first.
  auto fatal = [this](const std::string& said) {
    trace::line(u"the VM ends the process; it said: " + trimWhiteSpace(fromAnsi(said)));
    report(creationFailure(JNI_ERR, said));
    LauncherJavaHost(singleInstance_, splash_).endProcess(-1);
  };
  if (trace::enabled()) {
    for (const std::string& option : vmOptions_) trace::line(u"VM option " + fromAnsi(option));
  }
  jint status = createVmWithHooks(jvmEntries_.createJavaVm, vmOptions_, &javaVm_, &javaEnv_, &printed, fatal);
  if (trace::enabled()) {
    trace::line("JNI_CreateJavaVM returned " + std::to_string(status));
    if (!printed.empty()) trace::line(u"the VM said: " + trimWhiteSpace(fromAnsi(printed)));
  }
  if (status != 0) {
    report(creationFailure(status, printed));
    return false;
  }

  String stdoutFile = vmPlan_.out.file;
  String stderrFile = vmPlan_.err.file;
  if (stdoutFile.find(u'%') != String::npos || stderrFile.find(u'%') != String::npos) {
    SYSTEMTIME now;
    GetLocalTime(&now);  // one time for both names
    auto format = [&now](const String& picture) { return formatPicture(now, picture); };
    expandTimestamp(stdoutFile, now.wMilliseconds, format);
    expandTimestamp(stderrFile, now.wMilliseconds, format);
  }
  redirectOrDescribe(javaEnv_, stdoutFile, vmPlan_.out.append, JavaStream::Out);
  redirectOrDescribe(javaEnv_, stderrFile, vmPlan_.err.append, JavaStream::Err);
  return true;
}

bool LauncherApp::invokeMainClass() {
  MainInvocation call;
  call.main = vmPlan_.main;
  call.arguments = arguments_;
  call.findClassFromBootLoader = jvmEntries_.findClassFromBootLoader;
  call.failureCheck = settings_.failureCheck;
  call.stayAttached = runtimeFilter_.ibmAllowed();
  LauncherJavaHost host(singleInstance_, splash_, &mainClass_, &mainThrew_);
  return invokeMain(javaVm_, javaEnv_, call, host);
}
