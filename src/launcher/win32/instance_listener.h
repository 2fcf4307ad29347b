#pragma once
// The first instance's side of single instance: a listener thread takes each
// later launch's request out of the shared block, and a delivery thread per
// request hands it to secondaryMain once main is about to run.
#include <windows.h>

#include "common/text.h"
#include "common/win32/unique_resource.h"
#include "launcher/instance_block.h"
#include "vm/jni_entries.h"

// What a later launch gets for a request that was taken but cannot be
// delivered: no room for another delivery thread, or the launch ended before
// main was about to run.
constexpr int32_t kRequestNotDelivered = -1;

// Where requests go. The VM and the main class are read only once the ready
// event is set, after the Java thread loaded the main class.
struct DeliveryTarget {
  JavaVM* const* javaVm = nullptr;
  const jclass* mainClass = nullptr;
  bool stayAttached = false;
};

// Starts the listener; it writes its thread id into the block. A request is
// taken only while its launch still waits for it (the block's requester).
// Deliveries wait for `readyEvent` (when there is one). The listener ends on
// the quit message: it then refuses the requests still waiting for main and
// returns once every delivery thread has ended, or a few seconds later with
// the stuck ones left running. The block and the event must outlive it. Null
// when the listener or its events cannot be had.
UniqueHandle startInstanceListener(const String& name, UINT messageId, SharedInstanceBlock& block, HANDLE readyEvent,
                                   const DeliveryTarget& target);
