// The application classes end-to-end tests launch.
#include <algorithm>
#include <cstdint>
#include <string>

#include "journal.h"
#include "runtime_state.h"
#include "shutdown.h"
#include "streams.h"
#include "text.h"
#include "thread.h"

namespace test_runtime {
namespace {

std::vector<std::u16string> arguments(const jvalue& value) {
  std::vector<std::u16string> texts;
  if (auto* array = dynamic_cast<ObjectArray*>(objectArg(value))) {
    for (Object* item : array->items) {
      auto* text = dynamic_cast<StringObject*>(item);
      texts.push_back(text ? text->text : u"");
    }
  }
  return texts;
}

std::string joined(const std::vector<std::u16string>& texts) {
  std::string line;
  for (size_t i = 0; i < texts.size(); ++i) line += (i ? "|" : "") + toUtf8(texts[i]);
  return line;
}

// What every main journals first.
std::vector<std::u16string> enterMain(const char* className, const jvalue& args) {
  const std::vector<std::u16string> texts = arguments(args);
  journal("main", className);
  journal("argc", static_cast<long long>(texts.size()));
  for (const std::u16string& text : texts) {
    journal("arg", toUtf8(text));
    journal("arg16", hexUnits(text));
  }
  return texts;
}

template <const char* Name>
jvalue echoMain(Thread&, Object*, const jvalue* args) {
  for (const std::u16string& text : enterMain(Name, args[0])) printLine(systemOut(), toUtf8(text));
  return noValue();
}

template <const char* Name>
jvalue plainMain(Thread&, Object*, const jvalue* args) {
  enterMain(Name, args[0]);
  return noValue();
}

// The single-instance applications stay up, for secondary launches to reach
// them, until the test signals the event "test_runtime_stop" (at most two minutes).
DWORD WINAPI waitForStop(void*) {
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  WaitForSingleObject(stop, 120000);
  if (stop) CloseHandle(stop);
  journal("stopped", static_cast<long long>(GetCurrentThreadId()));
  return 0;
}

template <const char* Name>
jvalue stayingMain(Thread&, Object*, const jvalue* args) {
  // In one record: launches that run at once write the journal together.
  journal("main-args", joined(enterMain(Name, args[0])));
  startJavaThread(&waitForStop);
  return noValue();
}

constexpr char echoName[] = "test/Echo";
constexpr char appName[] = "com/example/App";
constexpr char secondaryName[] = "test/Secondary";
constexpr char secondaryIntName[] = "test/SecondaryInt";
constexpr char secondaryUmlautName[] = "test/Sekund\xC3\xA4r";  // a class name beyond ASCII, in modified UTF-8

jvalue printMain(Thread&, Object*, const jvalue* args) {
  enterMain("test/Print", args[0]);
  printLine(systemOut(), "stdout line");
  printLine(systemErr(), "stderr line");
  return noValue();
}

// System.exit(Integer.parseInt(args[0])), through the runtime's own classes.
jvalue exitMain(Thread& thread, Object*, const jvalue* args) {
  enterMain("test/Exit", args[0]);
  auto* array = dynamic_cast<ObjectArray*>(objectArg(args[0]));
  if (!array || array->items.empty()) {
    thread.raise("java/lang/ArrayIndexOutOfBoundsException", u"Index 0 out of bounds for length 0", "test.Exit.main");
    return noValue();
  }
  Method* parse = findClass("java/lang/Integer")->find("parseInt", "(Ljava/lang/String;)I", true);
  const jvalue status = parse->impl(thread, nullptr, std::vector<jvalue>{objectValue(array->items[0])}.data());
  if (thread.pending()) return noValue();
  Method* exit = findClass("java/lang/System")->find("exit", "(I)V", true);
  return exit->impl(thread, nullptr, &status);
}

jvalue abortMain(Thread&, Object*, const jvalue* args) {
  enterMain("test/Abort", args[0]);
  journalFlag("abort");
  if (AbortHook hook = runtimeState.abortHook.load()) hook();
  ExitProcess(3);
}

jvalue throwMain(Thread& thread, Object*, const jvalue* args) {
  enterMain("test/Throw", args[0]);
  thread.raise("java/lang/IllegalStateException", u"thrown by test.Throw: Gr\u00f6\u00dfe \u2713 \u4e2d\u6587 \U0001F600",
               "test.Throw.main");
  return noValue();
}

// Reads System.in to its end and prints each line back as "in: <line>".
jvalue catMain(Thread&, Object*, const jvalue* args) {
  enterMain("test/Cat", args[0]);
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    text.append(buffer, read);
  }
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    printLine(systemOut(), "in: " + line);
  }
  return noValue();
}

// Presses Ctrl+C in its console, then waits (a bounded while) to be ended by it.
jvalue interruptMain(Thread&, Object*, const jvalue* args) {
  enterMain("test/Interrupt", args[0]);
  journal("ctrl-c-sent", static_cast<long long>(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)));
  Sleep(20000);
  journalFlag("not-interrupted");
  return noValue();
}

DWORD WINAPI sleeper(void*) {
  Sleep(1500);
  journalFlag("thread-end");
  return 0;
}

jvalue threadedMain(Thread&, Object*, const jvalue* args) {
  enterMain("test/Threaded", args[0]);
  startJavaThread(&sleeper);
  return noValue();
}

// The process's open handles. Wine counts none through GetProcessHandleCount,
// so the handle values are probed; they are handed out densely from the
// lowest free one, so a long run of unused values ends the table.
long long openHandles() {
  long long open = 0;
  int unused = 0;
  for (uintptr_t value = 4; unused < 1024; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++open;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return open;
}

jvalue secondaryMain(Thread&, Object*, const jvalue* args) {
  journal("secondary", joined(arguments(args[0])));
  journal("secondary-thread", static_cast<long long>(GetCurrentThreadId()));
  if (runtimeState.journalFootprint) {
    journal("secondary-handles", openHandles());
    journalWorkingSet("secondary-working-set");
  }
  if (const DWORD delay = runtimeState.secondaryDelayMs) {
    Sleep(delay);
    // As HotSpot: a thread still in Java when the VM has ended never returns.
    if (vmEnded()) blockForGood("secondaryMain");
    journalFlag("secondary-returned");
  }
  return noValue();
}

jvalue secondaryIntMain(Thread& thread, Object* self, const jvalue* args) {
  secondaryMain(thread, self, args);
  return intValue(static_cast<jint>(arguments(args[0]).size()) + 40);
}

// Stands in for the example application examples/hello: greets like it,
// takes a moment to start (so its splash can be seen and a second launch
// can reach it), and answers a second launch with its argument count.
jvalue helloMain(Thread&, Object*, const jvalue* args) {
  std::vector<std::u16string> texts = enterMain("hello/Hello", args[0]);
  std::string line = "Hello, ";
  for (size_t i = 0; i < texts.size(); ++i) line += (i ? " " : "") + toUtf8(texts[i]);
  printLine(systemOut(), line + (texts.empty() ? "world!" : "!"));
  Sleep(3000);
  return noValue();
}

jvalue helloSecondaryMain(Thread& thread, Object* self, const jvalue* args) {
  secondaryMain(thread, self, args);
  return intValue(static_cast<jint>(arguments(args[0]).size()));
}

constexpr const char* mainSignature = "([Ljava/lang/String;)V";

}  // namespace

void defineApplicationClasses(ClassTable& table) {
  table.define("test/Echo", "java/lang/Object", nullptr, {{"main", mainSignature, true, &echoMain<echoName>}});
  table.define("com/example/App", "java/lang/Object", nullptr, {{"main", mainSignature, true, &echoMain<appName>}});
  table.define("test/Print", "java/lang/Object", nullptr, {{"main", mainSignature, true, &printMain}});
  table.define("test/Exit", "java/lang/Object", nullptr, {{"main", mainSignature, true, &exitMain}});
  table.define("test/Abort", "java/lang/Object", nullptr, {{"main", mainSignature, true, &abortMain}});
  table.define("test/Throw", "java/lang/Object", nullptr, {{"main", mainSignature, true, &throwMain}});
  table.define("test/Cat", "java/lang/Object", nullptr, {{"main", mainSignature, true, &catMain}});
  table.define("test/Interrupt", "java/lang/Object", nullptr, {{"main", mainSignature, true, &interruptMain}});
  table.define("test/NoMain", "java/lang/Object", nullptr, {});
  table.define("test/Threaded", "java/lang/Object", nullptr, {{"main", mainSignature, true, &threadedMain}});
  table.define("test/Secondary", "java/lang/Object", nullptr,
               {{"main", mainSignature, true, &stayingMain<secondaryName>},
                {"secondaryMain", mainSignature, true, &secondaryMain}});
  table.define(secondaryUmlautName, "java/lang/Object", nullptr,
               {{"main", mainSignature, true, &stayingMain<secondaryUmlautName>},
                {"secondaryMain", mainSignature, true, &secondaryMain}});
  table.define("test/SecondaryInt", "java/lang/Object", nullptr,
               {{"main", mainSignature, true, &stayingMain<secondaryIntName>},
                {"secondaryMain", "([Ljava/lang/String;)I", true, &secondaryIntMain}});
  table.define("hello/Hello", "java/lang/Object", nullptr,
               {{"main", mainSignature, true, &helloMain},
                {"secondaryMain", "([Ljava/lang/String;)I", true, &helloSecondaryMain}});
}

}  // namespace test_runtime
