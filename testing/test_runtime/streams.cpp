#include "streams.h"

#include <atomic>

namespace test_runtime {
namespace {

OutputStreamObject* standardStream(DWORD handle) {
  auto* file = make<FileOutputStreamObject>(findClass("java/io/FileOutputStream"));
  file->handle = GetStdHandle(handle);
  auto* print = make<PrintStreamObject>(findClass("java/io/PrintStream"));
  print->target = file;
  return print;
}

std::atomic<OutputStreamObject*>& outSlot() {
  static std::atomic<OutputStreamObject*> slot{standardStream(STD_OUTPUT_HANDLE)};
  return slot;
}

std::atomic<OutputStreamObject*>& errSlot() {
  static std::atomic<OutputStreamObject*> slot{standardStream(STD_ERROR_HANDLE)};
  return slot;
}

}  // namespace

void FileOutputStreamObject::write(std::string_view bytes) {
  if (handle == INVALID_HANDLE_VALUE || !handle) return;
  DWORD written = 0;
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

OutputStreamObject* systemOut() { return outSlot().load(); }
OutputStreamObject* systemErr() { return errSlot().load(); }
void setSystemOut(OutputStreamObject* stream) { outSlot().store(stream); }
void setSystemErr(OutputStreamObject* stream) { errSlot().store(stream); }

void printLine(OutputStreamObject* stream, std::string_view text) {
  if (!stream) return;
  std::string line(text);
  line += lineSeparator;
  stream->write(line);
}

}  // namespace test_runtime
