#include "launcher/win32/instance_listener.h"

#include <memory>

#include "common/win32/ansi_text.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "launcher/instance_arguments.h"
#include "launcher/win32/thread_slots.h"
#include "vm/java_session.h"

namespace {

// How long a closing first instance waits for the deliveries already running.
const DWORD kDeliveryDrainMs = 5000;

// Owned by the listener thread; its delivery threads end before it goes.
struct Listener {
  Listener(const DeliveryTarget& to, SharedInstanceBlock& shared, HANDLE readyEvent, UINT id, HANDLE takenEvent)
      : target(to),
        block(shared),
        ready(readyEvent),
        messageId(id),
        taken(takenEvent),
        closing(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  const DeliveryTarget target;
  SharedInstanceBlock& block;
  const HANDLE ready;  // owned by the launch, which stops the listener first
  const UINT messageId;
  UniqueHandle taken;    // tells the waiting launch that the block is free again
  UniqueHandle closing;  // set when the listener ends: waiting deliveries give up
  ThreadSlots deliveries;
};

struct DeliveryRequest {
  Listener& listener;
  DWORD secondaryThreadId;
  StringList arguments;
};

void answer(const Listener& listener, DWORD secondaryThreadId, int32_t code) {
  PostThreadMessageW(secondaryThreadId, listener.messageId, static_cast<WPARAM>(code), 0);
}

// Requests are served once main is about to run; false when the listener
// ends first (the VM never came, or is gone).
bool waitForMain(const Listener& listener) {
  if (!listener.ready) return true;  // without the event, deliveries do not wait
  HANDLE events[] = {listener.closing.get(), listener.ready};  // closing wins when both are set
  return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

DWORD WINAPI deliveryThreadProc(void* parameter) {
  std::unique_ptr<DeliveryRequest> request(static_cast<DeliveryRequest*>(parameter));
  const Listener& listener = request->listener;
  const DWORD secondary = request->secondaryThreadId;
  if (!waitForMain(listener)) {
    answer(listener, secondary, kRequestNotDelivered);
    return 1;
  }
  const DeliveryTarget& target = listener.target;
  bool delivered = deliverSecondary(*target.javaVm, *target.mainClass, request->arguments,
                                    target.stayAttached, [&](int32_t code) { answer(listener, secondary, code); });
  return delivered ? 0 : 1;
}

void takeRequest(Listener& listener, DWORD secondaryThreadId) {
  // The arguments are copied out at once, so the block is free for the next
  // launch even while this one waits for main.
  auto request = std::make_unique<DeliveryRequest>(
      DeliveryRequest{listener, secondaryThreadId, decodeInstanceArguments(listener.block)});
  // A launch that gave up waiting has withdrawn its request (and ended with
  // -1); its message still came, and the area may hold a later one by now.
  auto* requester = reinterpret_cast<volatile LONG*>(&listener.block.requester);
  const auto id = static_cast<LONG>(secondaryThreadId);
  if (InterlockedCompareExchange(requester, 0, id) != id) return;
  SetEvent(listener.taken.get());
  if (listener.deliveries.start(deliveryThreadProc, request.get())) {
    request.release();
  } else {
    answer(listener, secondaryThreadId, kRequestNotDelivered);
  }
}

DWORD WINAPI listenerThreadProc(void* parameter) {
  std::unique_ptr<Listener> listener(static_cast<Listener*>(parameter));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == listener->messageId) takeRequest(*listener, static_cast<DWORD>(message.wParam));
  }
  SetEvent(listener->closing.get());
  // A delivery can be stuck for good in a VM that has ended under it: it
  // still uses the listener, and the process is about to end.
  if (!listener->deliveries.waitForAll(kDeliveryDrainMs)) listener.release();
  return 0;
}

}  // namespace

UniqueHandle startInstanceListener(const String& name, UINT messageId, SharedInstanceBlock& block, HANDLE readyEvent,
                                   const DeliveryTarget& target) {
  // Auto-reset: each waiting launch consumes the signal for its own request.
  HANDLE taken = CreateEventW(nullptr, FALSE, FALSE, wide(name + u"_upr_taken"));
  if (!taken) return {};
  auto listener = std::make_unique<Listener>(target, block, readyEvent, messageId, taken);
  if (!listener->closing) return {};
  // The system writes the listener's thread id straight into the block.
  UniqueHandle thread(CreateThread(nullptr, 0, listenerThreadProc, listener.get(), 0,
                                   reinterpret_cast<DWORD*>(&block.listenerThreadId)));
  if (thread) listener.release();
  return thread;
}
