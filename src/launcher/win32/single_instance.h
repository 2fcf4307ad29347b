#pragma once
// Single instance: the first launch of an executable keeps the application,
// later launches hand their arguments to it through a named shared block and
// thread messages, and end with its answer.
#include <windows.h>

#include <cstdint>

#include "common/text.h"
#include "common/win32/unique_resource.h"
#include "launcher/instance_block.h"
#include "launcher/win32/instance_listener.h"
#include "vm/jni_entries.h"

class SingleInstance {
 public:
  SingleInstance() = default;
  ~SingleInstance() { close(); }
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Creates the block named after the executable at `modulePath` and becomes
  // the first instance, whose listener hands later requests to `target`; or
  // hands `arguments` to the first instance.
  // False when a later launch cannot hand its arguments over. Without the
  // block the launch goes on as a plain one (not active).
  bool setUp(const String& modulePath, const StringList& arguments, const DeliveryTarget& target);
  bool active() const { return active_; }
  bool isFirst() const { return first_; }
  bool isSecondary() const { return active_ && !first_; }

  // In the first instance: the requests taken so far, and all later ones, go
  // to main from now on.
  void mainAboutToRun() const;
  // In the first instance, once the VM runs: requests stop as the VM begins
  // to shut down (its last non-daemon thread has ended, or System.exit),
  // while those already running can still finish. False when the runtime
  // takes no shutdown hook; close() then stops them after the VM.
  bool stopWhenVmShutsDown(JNIEnv* env);
  // In a later launch: the first instance's answer, or its exit code.
  int32_t waitForAnswer() const;
  // Stops the listener (after its deliveries, a few seconds at most), then
  // releases the block and the event, in that order.
  void close();

 private:
  enum class HandOver { Handed, BecameFirst, Refused, FirstClosing };

  void becomeFirst(const String& name);
  bool handOver(const String& name, const StringList& arguments);
  HandOver tryHandOver(const String& name, const StringList& arguments, UniqueHandle& closingFirst);
  // The block says "closing", and the listener ends with its deliveries.
  void stopTakingRequests();

  bool active_ = false;
  bool first_ = false;
  DeliveryTarget target_;
  UniqueHandle mapping_;
  UniqueViewOf<SharedInstanceBlock> view_;
  UniqueHandle readyEvent_;
  UniqueHandle listener_;
  // A later launch's first instance, from the hand-over on.
  UniqueHandle firstProcess_;
};
