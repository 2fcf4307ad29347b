#include "launcher/win32/single_instance.h"

#include "common/win32/launch_trace.h"
#include "common/win32/message_loop_thread.h"
#include "common/win32/win_text.h"
#include "launcher/win32/error_report.h"
#include "launcher/instance_arguments.h"
#include "resources/resource_ids.h"
#include "vm/shutdown_hook.h"

namespace {

// A later launch waits this long for a first instance that is still setting
// up, as long again for its turn on the block, and as long again for its
// request to be taken.
const DWORD kWaitForFirstInstanceMs = 10000;
// How long a later launch waits for a closing first instance to end.
const DWORD kWaitForClosingMs = 15000;
// How long a closing first instance waits for its listener, which waits
// for the deliveries already running.
const DWORD kListenerStopMs = 6000;
const DWORD kPollMs = 20;

// The executable's path with its backslashes as underscores.
String instanceName(String name) {
  for (char16_t& c : name) {
    if (c == u'\\') c = u'_';
  }
  return name;
}

// Other processes write the block: every read is a fresh one, and a write
// is seen by them before anything written after it.
uint32_t shared(const uint32_t& field) { return *static_cast<const volatile uint32_t*>(&field); }
volatile LONG* interlocked(uint32_t& field) { return reinterpret_cast<volatile LONG*>(&field); }
void publish(uint32_t& field, uint32_t value) { InterlockedExchange(interlocked(field), static_cast<LONG>(value)); }

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
  enum State { Live, Closing, Gone, Unreachable };
  UniqueHandle process;
  UniqueHandle listener;

  State open(const SharedInstanceBlock& block) {
    const DWORD processId = shared(block.processId);
    process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? Gone : Unreachable;
    if (!running(process.get())) return Gone;
    if (shared(block.state) == kInstanceClosing) return Closing;
    listener.reset(OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, shared(block.listenerThreadId)));
    if (!listener) return GetLastError() == ERROR_INVALID_PARAMETER ? Closing : Unreachable;
    // A listener that has stopped, or an id that names another process's
    // thread by now: the first instance is on its way out.
    if (!running(listener.get()) || GetProcessIdOfThread(listener.get()) != processId) return Closing;
    return Live;
  }

  // The first instance still runs but takes no more requests.
  bool closing(const SharedInstanceBlock& block) const {
    return running(process.get()) && (shared(block.state) == kInstanceClosing || !running(listener.get()));
  }

  // False once the first instance or its listener has ended, or in time.
  bool waitFor(HANDLE event, DWORD timeoutMs) const {
    HANDLE handles[] = {event, process.get(), listener.get()};
    return WaitForMultipleObjects(3, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
  }

  static bool running(HANDLE object) { return WaitForSingleObject(object, 0) == WAIT_TIMEOUT; }
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
  // Before the header names this process: a launch must never see it closing.
  publish(view_->state, 0);
  readyEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, wide(name + u"_upr_evt")));
  // A first instance that is still ending may hold the event, set long ago.
  if (readyEvent_ && GetLastError() == ERROR_ALREADY_EXISTS) ResetEvent(readyEvent_.get());
  UINT message = RegisterWindowMessageW(wide(name));
  if (message == 0) {
    active_ = false;
    return;
  }
  publish(view_->messageId, message);
  publish(view_->processId, GetCurrentProcessId());
  listener_ = startInstanceListener(name, message, *view_.get(), readyEvent_.get(), target_);
  if (!listener_) active_ = false;
}

// Later launches take turns: the block holds one request at a time. A launch
// that finds the first instance gone takes its place; one that finds it
// closing waits for it to end (without the turn), then takes its place.
bool SingleInstance::handOver(const String& name, const StringList& arguments) {
  const ULONGLONG deadline = GetTickCount64() + kWaitForClosingMs;
  for (;;) {
    UniqueHandle closingFirst;
    switch (tryHandOver(name, arguments, closingFirst)) {
      case HandOver::Handed:
      case HandOver::BecameFirst:
        return true;
      case HandOver::Refused:
        return false;
      case HandOver::FirstClosing:
        break;
    }
    trace::line("single instance: the first instance is closing; waiting for it to end");
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    if (WaitForSingleObject(closingFirst.get(), left) == WAIT_TIMEOUT) {
      report({IDS_STILL_CLOSING, 0, {}});
      return false;
    }
  }
}

SingleInstance::HandOver SingleInstance::tryHandOver(const String& name, const StringList& arguments,
                                                     UniqueHandle& closingFirst) {
  SharedInstanceBlock& block = *view_.get();
  if (!waitUntil(block, headerSettled, kWaitForFirstInstanceMs)) return HandOver::Refused;
  Turn turn(name, kWaitForFirstInstanceMs);
  if (!turn) return HandOver::Refused;

  FirstInstance first;
  switch (first.open(block)) {
    case FirstInstance::Live:
      break;
    case FirstInstance::Gone:
      becomeFirst(name);
      return HandOver::BecameFirst;
    case FirstInstance::Closing:
      closingFirst = std::move(first.process);
      return HandOver::FirstClosing;
    case FirstInstance::Unreachable:
      return HandOver::Refused;
  }
  UniqueHandle taken(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, wide(name + u"_upr_taken")));
  if (taken) ResetEvent(taken.get());
  if (!encodeInstanceArguments(arguments, block)) return HandOver::Refused;
  const auto me = static_cast<LONG>(GetCurrentThreadId());
  InterlockedExchange(interlocked(block.requester), me);
  // The turn is held until the request is out of the block, or withdrawn: a
  // later request written meanwhile must never be read for this one. A first
  // instance without the event (another launcher's) cannot tell: its turn
  // ends with the post.
  if (post(block, first) && (!taken || first.waitFor(taken.get(), kWaitForFirstInstanceMs))) {
    firstProcess_ = std::move(first.process);
    return HandOver::Handed;
  }
  // Not taken in time. The first instance may take it at this very moment:
  // whoever swaps the requester out first decides.
  if (InterlockedCompareExchange(interlocked(block.requester), 0, me) != me) {
    firstProcess_ = std::move(first.process);
    return HandOver::Handed;
  }
  if (!first.closing(block)) return HandOver::Refused;
  closingFirst = std::move(first.process);
  return HandOver::FirstClosing;
}

bool SingleInstance::setUp(const String& modulePath, const StringList& arguments, const DeliveryTarget& target) {
  target_ = target;
  active_ = true;
  String name = instanceName(modulePath);
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

bool SingleInstance::stopWhenVmShutsDown(JNIEnv* env) {
  if (!isFirst() || !listener_) return false;
  return addShutdownCallback(env, [](void* self) { static_cast<SingleInstance*>(self)->stopTakingRequests(); }, this);
}

void SingleInstance::stopTakingRequests() {
  if (!first_ || !view_) return;
  publish(view_->state, kInstanceClosing);
  // The listener ends once its delivery threads have, and they read the VM
  // until then; one stuck for good is left behind.
  if (listener_ && !stopMessageLoopThread(GetThreadId(listener_.get()), listener_.get(), kListenerStopMs)) {
    trace::line("single instance: a delivery did not end in time");
  }
}

void SingleInstance::close() {
  stopTakingRequests();
  listener_.reset();
  view_.reset();
  mapping_.reset();
  readyEvent_.reset();
  firstProcess_.reset();
}
