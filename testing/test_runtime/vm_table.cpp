// The JavaVM invocation functions; other slots fail loudly.
#include "vm_table.h"

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <string>

#include "failure_stubs.h"
#include "journal.h"
#include "runtime_classes.h"
#include "shutdown.h"
#include "streams.h"
#include "thread.h"

namespace test_runtime {
namespace {

long long currentId() { return static_cast<long long>(GetCurrentThreadId()); }

// The ids of the process's other threads, comma-separated: which threads
// the launcher still had running when it shut the VM down.
std::string otherThreadIds() {
  std::string ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId()) continue;
    if (!ids.empty()) ids += ',';
    ids += std::to_string(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return ids;
}

jint JNICALL destroyJavaVm(JavaVM*) {
  journal("destroy", currentId());
  journal("destroy-threads", otherThreadIds());
  waitForJavaThreads();
  shutDown();
  journalFlag("destroy-done");
  return JNI_OK;
}

jint attach(void** penv, void* args, bool daemon) {
  if (vmEnded()) return JNI_ERR;
  const auto* attachArgs = static_cast<const JavaVMAttachArgs*>(args);
  Thread& thread = attachCurrentThread(attachArgs ? attachArgs->name : nullptr, daemon);
  journal("attach", currentId());
  if (penv) *penv = thread.env();
  return JNI_OK;
}

jint JNICALL attachCurrentThreadEntry(JavaVM*, void** penv, void* args) { return attach(penv, args, false); }
jint JNICALL attachAsDaemonEntry(JavaVM*, void** penv, void* args) { return attach(penv, args, true); }

jint JNICALL detachCurrentThreadEntry(JavaVM*) {
  // As HotSpot: an exception still pending is the thread's uncaught one.
  if (Thread* thread = currentThread()) {
    if (auto* uncaught = dynamic_cast<ThrowableObject*>(thread->pending())) {
      printStackTrace(*uncaught, systemErr(), "Exception in thread \"" + thread->name() + "\" ");
    }
  }
  if (!detachCurrentThread()) {
    journal("detach-unattached", currentId());
    return JNI_EDETACHED;
  }
  journal("detach", currentId());
  return JNI_OK;
}

bool supportedVersion(jint version) {
  for (jint known : {0x00010001, 0x00010002, 0x00010004, 0x00010006, 0x00010008, 0x00090000, 0x000a0000,
                     0x00130000, 0x00140000, 0x00150000, 0x00180000}) {
    if (version == known) return true;
  }
  return false;
}

jint JNICALL getEnv(JavaVM*, void** penv, jint version) {
  *penv = nullptr;
  if (!supportedVersion(version)) return JNI_EVERSION;
  Thread* thread = currentThread();
  if (!thread) return JNI_EDETACHED;
  *penv = thread->env();
  return JNI_OK;
}

constexpr char vmSlots[] = "vm";

JNIInvokeInterface_ buildTable() {
  JNIInvokeInterface_ table;
  fillWithStubs<vmSlots>(table);
  table.DestroyJavaVM = &destroyJavaVm;
  table.AttachCurrentThread = &attachCurrentThreadEntry;
  table.AttachCurrentThreadAsDaemon = &attachAsDaemonEntry;
  table.DetachCurrentThread = &detachCurrentThreadEntry;
  table.GetEnv = &getEnv;
  return table;
}

}  // namespace

JavaVM* theVm() {
  static const JNIInvokeInterface_ table = buildTable();
  static JavaVM vm{&table};
  return &vm;
}

}  // namespace test_runtime
