#pragma once
// Single instance: the first launch of an executable keeps the application,
// later launches hand their arguments to it through a named shared block and
// thread messages, and end with its answer.
#include <windows.h>

#include <cstdint>

#include "common/text.h"
#include "common/unique_resource.h"
#include "launcher/instance_block.h"
#include "launcher/instance_listener.h"

class SingleInstance {
 public:
  SingleInstance() = default;
  ~SingleInstance() { close(); }
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Creates the block and becomes the first instance, whose listener hands
  // later requests to `target`; or hands `arguments` to the first instance.
  // False when a later launch cannot hand its arguments over. Without the
  // block the launch goes on as a plain one (not active).
  bool setUp(const StringList& arguments, const DeliveryTarget& target);
  bool active() const { return active_; }
  bool isFirst() const { return first_; }
  bool isSecondary() const { return active_ && !first_; }

  // In the first instance: the requests taken so far, and all later ones, go
  // to main from now on.
  void mainAboutToRun() const;
  // In a later launch: the first instance's answer, or its exit code.
  int32_t waitForAnswer() const;
  // Stops the listener (after its deliveries), then releases the block and
  // the event, in that order.
  void close();

 private:
  void becomeFirst(const String& name);
  bool handOver(const String& name, const StringList& arguments);

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
