// Single instance: the first launch of an executable keeps the application,
// later launches hand their arguments to it through a named shared block and
// thread messages, and end with its answer.
#include "common/ansi_text.h"
#include "common/win_text.h"
#include "launcher/instance_arguments.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/layered_settings.h"
#include "vm/java_session.h"

namespace {

// Secondary launches wait this long for the first instance to finish
// setting up, or to take their request, before they give up.
const DWORD kWaitForFirstInstanceMs = 10000;

String instanceName() {
  String name;
  if (!modulePath(name)) return {};
  for (char16_t& c : name) {
    if (c == u'\\') c = u'_';
  }
  return name;
}

// A request taken out of the shared block, owned by its delivery thread.
// Everything a delivery needs from the shared block is copied in, so that a
// delivery still waiting when the launch ends never reads the unmapped view.
struct DeliveryRequest {
  LauncherApp* app;
  DWORD secondaryThreadId;
  UINT messageId;
  HANDLE readyEvent;  // a handle of its own, valid however long it waits
  StringList arguments;
};

DWORD WINAPI deliveryThreadProc(void* parameter) {
  auto* request = static_cast<DeliveryRequest*>(parameter);
  LauncherApp& app = *request->app;
  // Requests are served once the main method is about to run.
  if (request->readyEvent) {
    WaitForSingleObject(request->readyEvent, INFINITE);
    CloseHandle(request->readyEvent);
  }
  const UINT message = request->messageId;
  const DWORD secondary = request->secondaryThreadId;
  bool delivered = deliverSecondary(app.javaVm, toThreadAnsi(app.mainClass), request->arguments,
                                    app.allowIbm || app.favorIbm, [&](int32_t answer) {
                                      PostThreadMessageW(secondary, message, static_cast<WPARAM>(answer), 0);
                                    });
  delete request;
  return delivered ? 0 : 1;
}

HANDLE duplicated(HANDLE handle) {
  HANDLE copy = nullptr;
  if (handle) DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
  return copy;
}

struct ListenerContext {
  LauncherApp* app;
  HANDLE takenEvent;
};

DWORD WINAPI listenerThreadProc(void* parameter) {
  auto* context = static_cast<ListenerContext*>(parameter);
  LauncherApp& app = *context->app;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message != app.instanceView->messageId) continue;
    // The arguments are copied out at once, so the block is free for the
    // next secondary launch even while this one waits for the VM.
    auto* request = new DeliveryRequest{&app, static_cast<DWORD>(message.wParam), message.message,
                                        duplicated(app.instanceReadyEvent), decodeInstanceArguments(*app.instanceView)};
    if (context->takenEvent) SetEvent(context->takenEvent);
    HANDLE thread = CreateThread(nullptr, 0, deliveryThreadProc, request, 0, nullptr);
    if (thread) {
      CloseHandle(thread);
    } else {
      if (request->readyEvent) CloseHandle(request->readyEvent);
      delete request;
    }
  }
  if (context->takenEvent) CloseHandle(context->takenEvent);
  delete context;
  return 0;
}

void becomeFirstInstance(LauncherApp& app, const String& name) {
  app.instanceReadyEvent = CreateEventW(nullptr, TRUE, FALSE, wide(name + u"_upr_evt"));
  UINT message = RegisterWindowMessageW(wide(name));
  if (message == 0) {
    app.singleInstance = false;
    return;
  }
  app.instanceView->messageId = message;
  app.instanceView->processId = GetCurrentProcessId();
  auto* context = new ListenerContext{&app, CreateEventW(nullptr, FALSE, FALSE, wide(name + u"_upr_taken"))};
  app.instanceListener = CreateThread(nullptr, 0, listenerThreadProc, context, 0,
                                      reinterpret_cast<DWORD*>(&app.instanceView->listenerThreadId));
  if (!app.instanceListener) {
    if (context->takenEvent) CloseHandle(context->takenEvent);
    delete context;
    app.singleInstance = false;
  }
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += 20) {
    if (done()) return true;
    if (waited >= timeoutMs) return false;
    Sleep(20);
  }
}

// Secondary launches take turns: the block holds one request at a time.
bool sendToFirstInstance(LauncherApp& app, const String& name) {
  SharedInstanceBlock& block = *app.instanceView;
  // A first instance that is still starting fills the header in a moment.
  if (!waitUntil([&] { return block.messageId != 0 && block.listenerThreadId != 0; }, kWaitForFirstInstanceMs)) {
    return false;
  }
  HANDLE turn = CreateMutexW(nullptr, FALSE, wide(name + u"_upr_mtx"));
  if (turn) WaitForSingleObject(turn, kWaitForFirstInstanceMs);
  HANDLE taken = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, wide(name + u"_upr_taken"));
  if (taken) ResetEvent(taken);

  bool posted = encodeInstanceArguments(app.arguments, block) &&
                waitUntil([&] { return PostThreadMessageW(block.listenerThreadId, block.messageId,
                                                          GetCurrentThreadId(), 0) != FALSE; },
                          kWaitForFirstInstanceMs);
  if (posted && taken) WaitForSingleObject(taken, kWaitForFirstInstanceMs);
  if (taken) CloseHandle(taken);
  if (turn) {
    ReleaseMutex(turn);
    CloseHandle(turn);
  }
  return posted;
}

}  // namespace

bool setupSingleInstance(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;
  LayeredSettings settings(path, embeddedSettingsText(app.upgradeCode));
  if (settings.value(setting::kApplicationType) == setting::kService) return true;
  if (settings.value(setting::kSingleInstance) != setting::kYesExactly) return true;
  app.singleInstance = true;

  String name = instanceName();
  app.instanceMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(SharedInstanceBlock), wide(name));
  if (!app.instanceMapping) {
    app.singleInstance = false;
    return true;
  }
  app.isFirstInstance = GetLastError() == 0;
  app.instanceView = static_cast<SharedInstanceBlock*>(
      MapViewOfFile(app.instanceMapping, FILE_MAP_WRITE, 0, 0, sizeof(SharedInstanceBlock)));
  if (!app.instanceView) {
    app.singleInstance = false;
    return true;
  }
  if (app.isFirstInstance) {
    becomeFirstInstance(app, name);
    return true;
  }
  // Too many arguments: fail without contacting the first instance.
  if (!fitsInstanceBlock(app.arguments)) return false;
  return sendToFirstInstance(app, name);
}

int32_t waitForFirstInstance(LauncherApp& app) {
  HANDLE first = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, app.instanceView->processId);
  if (!first) return 0;
  int32_t result = -1;
  for (;;) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == app.instanceView->messageId) {
      result = static_cast<int32_t>(message.wParam);
      break;
    }
    DWORD exitCode = 0;
    // An exit code that cannot be read at all ends the wait as a failure.
    if (!GetExitCodeProcess(first, &exitCode)) break;
    if (exitCode != STILL_ACTIVE) {
      result = static_cast<int32_t>(exitCode);
      break;
    }
    // At most 100 ms between checks of the first instance, but the answer is
    // taken as soon as it is posted.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
  }
  CloseHandle(first);
  return result;
}
