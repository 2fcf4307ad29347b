#include "jre/win32/machine_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/win32/win_text.h"

namespace {

std::string readFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

String writeTemp(const char* name, const std::string& bytes) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"machine-check-" + std::wstring(name, name + strlen(name));
  std::ofstream(path.c_str(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return fromWide(path.c_str());
}

std::string ownImage() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return readFile(path);
}

uint32_t peOffset(const std::string& image) {
  uint32_t offset;
  memcpy(&offset, image.data() + 0x3C, 4);
  return offset;
}

std::string withMachine(std::string image, uint16_t machine) {
  memcpy(&image[peOffset(image) + 4], &machine, 2);
  return image;
}

TEST(MachineCheck, AnswersOnlyForReadablePeImagesOfAnotherMachine) {
  std::string image = ownImage();
  ASSERT_GT(image.size(), 1024u);
  uint16_t other = pairedMachine();
  std::string brokenSignature = image;
  brokenSignature[peOffset(image)] = 'X';
  std::string farHeader = image.substr(0, 0x40);
  farHeader[0x3C] = '\x00';
  farHeader[0x3D] = '\x10';  // headers at 0x1000, beyond the file

  const struct {
    const char* name;
    std::string bytes;
    bool foreign;
  } cases[] = {
      {"own.dll", image, false},
      {"other.dll", withMachine(image, other), true},
      {"arm64.dll", withMachine(image, 0xAA64), false},  // neither product loads it
      {"truncated.dll", image.substr(0, peOffset(image) + 8), false},
      {"mz-only.dll", "MZ", false},
      {"far-header.dll", farHeader, false},
      {"no-signature.dll", brokenSignature, false},
      {"text.dll", "this is not a library", false},
      {"empty.dll", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(builtForPairedMachine(writeTemp(c.name, c.bytes)), c.foreign) << c.name;
  }
  EXPECT_FALSE(builtForPairedMachine(u"C:\\does\\not\\exist\\jvm.dll"));
}

}  // namespace
