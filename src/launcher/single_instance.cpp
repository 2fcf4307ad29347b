#include "launcher/single_instance.h"

#include "common/message_loop_thread.h"
#include "common/win_text.h"
#include "launcher/instance_arguments.h"
#include "launcher/module_path.h"

namespace {

// A later launch waits this long for a first instance that is still setting
// up, and as long again for its turn on the block.
const DWORD kWaitForFirstInstanceMs = 10000;
const DWORD kPollMs = 20;

String instanceName() {
  String name;
  if (!modulePath(name)) return {};
  for (char16_t& c : name) {
    if (c == u'\\') c = u'_';
  }
  return name;
}

// Other processes write the block: every read is a fresh one.
uint32_t shared(const uint32_t& field) { return *static_cast<const volatile uint32_t*>(&field); }

bool processEnded(DWORD processId) {
  UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
  return WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT;
}

// A first instance that is still starting completes the header in a moment;
// one that has ended may have left it incomplete.
bool headerSettled(const SharedInstanceBlock& block) {
  const DWORD processId = shared(block.processId);
  if (processId == 0) return false;
  return (shared(block.messageId) != 0 && shared(block.listenerThreadId) != 0) || processEnded(processId);
}

bool waitUntil(const SharedInstanceBlock& block, bool (*done)(const SharedInstanceBlock&), DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += kPollMs) {
    if (done(block)) return true;
    if (waited >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

// The turn on the block (a named mutex), held for this object's lifetime.
class Turn {
 public:
  Turn(const String& name, DWORD timeoutMs) : mutex_(CreateMutexW(nullptr, FALSE, wide(name + u"_upr_mtx"))) {
    if (!mutex_) return;
    DWORD result = WaitForSingleObject(mutex_.get(), timeoutMs);
    // The turn of a launch that died holding it passes on all the same.
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  }
  ~Turn() {
    if (held_) ReleaseMutex(mutex_.get());
  }
  Turn(const Turn&) = delete;
  Turn& operator=(const Turn&) = delete;
  explicit operator bool() const { return held_; }

 private:
  UniqueHandle mutex_;
  bool held_ = false;
};

// The first instance named in the block, as a later launch finds it.
struct FirstInstance {
  enum State { Live, Gone, Unreachable };
  UniqueHandle process;
  UniqueHandle listener;

  State open(const SharedInstanceBlock& block) {
    const DWORD processId = shared(block.processId);
    process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? Gone : Unreachable;
    if (WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return Gone;
    listener.reset(OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, shared(block.listenerThreadId)));
    if (!listener) return GetLastError() == ERROR_INVALID_PARAMETER ? Gone : Unreachable;
    // A listener that has stopped (the first instance is closing), or an id
    // that names another process's thread by now.
    if (WaitForSingleObject(listener.get(), 0) != WAIT_TIMEOUT) return Gone;
    return GetProcessIdOfThread(listener.get()) == processId ? Live : Gone;
  }

  // False once the first instance or its listener has ended.
  bool waitFor(HANDLE event) const {
    HANDLE handles[] = {event, process.get(), listener.get()};
    return WaitForMultipleObjects(3, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
  }
};

// A listener that is still starting has no message queue yet.
bool post(const SharedInstanceBlock& block, const FirstInstance& first) {
  HANDLE ends[] = {first.process.get(), first.listener.get()};
  for (DWORD waited = 0;; waited += kPollMs) {
    if (PostThreadMessageW(shared(block.listenerThreadId), shared(block.messageId), GetCurrentThreadId(), 0)) {
      return true;
    }
    if (waited >= kWaitForFirstInstanceMs) return false;
    if (WaitForMultipleObjects(2, ends, FALSE, kPollMs) != WAIT_TIMEOUT) return false;
  }
}

// Takes the first instance's answer out of the queue; other messages are
// dropped.
bool takeAnswer(UINT answerId, int32_t& answer) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == answerId) {
      answer = static_cast<int32_t>(message.wParam);
      return true;
    }
  }
  return false;
}

}  // namespace

void SingleInstance::becomeFirst(const String& name) {
  first_ = true;
  readyEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, wide(name + u"_upr_evt")));
  // A first instance that is still ending may hold the event, set long ago.
  if (readyEvent_ && GetLastError() == ERROR_ALREADY_EXISTS) ResetEvent(readyEvent_.get());
  UINT message = RegisterWindowMessageW(wide(name));
  if (message == 0) {
    active_ = false;
    return;
  }
  view_->messageId = message;
  view_->processId = GetCurrentProcessId();
  listener_ = startInstanceListener(name, message, *view_.get(), readyEvent_.get(), target_);
  if (!listener_) active_ = false;
}

// Later launches take turns: the block holds one request at a time. A launch
// that finds the first instance gone takes its place.
bool SingleInstance::handOver(const String& name, const StringList& arguments) {
  SharedInstanceBlock& block = *view_.get();
  if (!waitUntil(block, headerSettled, kWaitForFirstInstanceMs)) return false;
  Turn turn(name, kWaitForFirstInstanceMs);
  if (!turn) return false;

  FirstInstance first;
  switch (first.open(block)) {
    case FirstInstance::Live:
      break;
    case FirstInstance::Gone:
      becomeFirst(name);
      return true;
    case FirstInstance::Unreachable:
      return false;
  }
  UniqueHandle taken(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, wide(name + u"_upr_taken")));
  if (taken) ResetEvent(taken.get());
  if (!encodeInstanceArguments(arguments, block) || !post(block, first)) return false;
  // The turn is held until the request is out of the block: however long the
  // first instance stalls, the posted message waits in its queue, and a later
  // request written meanwhile would be read for it. A first instance without
  // the event (another launcher's) cannot tell: its turn ends with the post.
  if (taken && !first.waitFor(taken.get())) return false;
  firstProcess_ = std::move(first.process);
  return true;
}

bool SingleInstance::setUp(const StringList& arguments, const DeliveryTarget& target) {
  target_ = target;
  active_ = true;
  String name = instanceName();
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedInstanceBlock),
                                      wide(name));
  const bool created = GetLastError() == 0;
  mapping_.reset(mapping);
  if (mapping_) {
    view_.reset(static_cast<SharedInstanceBlock*>(
        MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(SharedInstanceBlock))));
  }
  if (!view_) {
    active_ = false;
    return true;
  }
  if (created) {
    becomeFirst(name);
    return true;
  }
  // Too many arguments: fail without contacting the first instance.
  if (!fitsInstanceBlock(arguments)) return false;
  // The first instance answers into this thread's message queue, which a
  // launch gets only here: a plain launch needs none.
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  return handOver(name, arguments);
}

void SingleInstance::mainAboutToRun() const {
  if (readyEvent_) SetEvent(readyEvent_.get());
}

int32_t SingleInstance::waitForAnswer() const {
  HANDLE first = firstProcess_.get();
  if (!first) return 0;
  const UINT answerId = view_->messageId;
  for (;;) {
    DWORD exitCode = 0;
    // An exit code that cannot be read at all ends the wait as a failure.
    if (!GetExitCodeProcess(first, &exitCode)) exitCode = static_cast<DWORD>(-1);
    // An answer posted before the first instance ended is in the queue now.
    int32_t answer = 0;
    if (takeAnswer(answerId, answer)) return answer;
    if (exitCode != STILL_ACTIVE) return static_cast<int32_t>(exitCode);
    // Woken by the answer or the first instance's end; 100 ms at most.
    MsgWaitForMultipleObjects(1, &first, FALSE, 100, QS_POSTMESSAGE);
  }
}

void SingleInstance::close() {
  // The listener ends once its delivery threads have, and they read the VM
  // and the block until then.
  if (listener_) stopMessageLoopThread(GetThreadId(listener_.get()), listener_.get());
  listener_.reset();
  view_.reset();
  mapping_.reset();
  readyEvent_.reset();
  firstProcess_.reset();
}
