#pragma once
// What the code that talks to the VM needs from the launcher around it:
// reporting and the hooks into single instance, splash and
// the exception dialog. Tests put their own host in its place.
#include <jni.h>

#include <string>

#include "common/failure.h"
#include "common/text.h"

class JavaHost {
 public:
  virtual ~JavaHost() = default;
  // Reports a failure to find or call main.
  virtual void report(const Failure& failure) = 0;
  // The main method is about to run: secondary launches may now be delivered
  // to `mainClass`, a global reference that stays valid as long as the VM.
  virtual void mainAboutToRun(jclass /*mainClass*/) {}
  // A step of finding and calling main, for the launch's trace.
  virtual void note(const std::string&) {}
  // The main method threw; closes the splash screen.
  virtual void mainThrew() {}
  // Whether the user wants the application stopped after `thrown`.
  virtual bool askStopOnException(JNIEnv*, jthrowable) { return false; }
  // Keeps the Java thread attached for good (never returns in the launcher).
  virtual void park() = 0;
  // Ends the process at once with `code`; called from the VM's exit hook.
  virtual void endProcess(int32_t code) = 0;
};
