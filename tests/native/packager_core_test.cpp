// The packaging tool's readers of its inputs: icon files, jars, versions.
#include <gtest/gtest.h>

#include "packager/icon_file.h"
#include "packager/version_resource.h"
#include "packager/zip_archive.h"

namespace {

void put(ByteBuffer& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// An icon file with images of the given byte sizes, each filled with its index.
ByteBuffer iconFile(const std::vector<uint32_t>& sizes) {
  ByteBuffer out;
  put(out, 0, 2), put(out, 1, 2), put(out, static_cast<uint32_t>(sizes.size()), 2);
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    out.push_back(static_cast<uint8_t>(16 * (i + 1))), out.push_back(static_cast<uint8_t>(16 * (i + 1)));
    put(out, 0, 2), put(out, 1, 2), put(out, 32, 2), put(out, sizes[i], 4), put(out, offset, 4);
    offset += sizes[i];
  }
  for (size_t i = 0; i < sizes.size(); ++i) out.insert(out.end(), sizes[i], static_cast<uint8_t>(i));
  return out;
}

TEST(IconFile, BecomesImagesAndAGroupNamingThem) {
  IconResources icons;
  std::string error;
  ASSERT_TRUE(readIconFile(iconFile({40, 70}), icons, error)) << error;
  ASSERT_EQ(icons.images.size(), 2u);
  EXPECT_EQ(icons.images[0], ByteBuffer(40, 0));
  EXPECT_EQ(icons.images[1], ByteBuffer(70, 1));
  ASSERT_EQ(icons.group.size(), 6u + 2 * 14);
  // Each group entry keeps the file's description and names resource id 1, 2.
  EXPECT_EQ(icons.group[6], 16);
  EXPECT_EQ(icons.group[6 + 8], 40);
  EXPECT_EQ(icons.group[6 + 12], 1);
  EXPECT_EQ(icons.group[20], 32);
  EXPECT_EQ(icons.group[20 + 12], 2);
}

TEST(IconFile, RefusesDamagedFiles) {
  ByteBuffer good = iconFile({40});
  ByteBuffer cursor = good;
  cursor[2] = 2;
  ByteBuffer outside = good;
  outside[6 + 12] = 0xF0;
  const struct {
    const char* name;
    ByteBuffer file;
    const char* message;
  } cases[] = {
      {"empty", {}, "not an icon file"},
      {"a cursor file", cursor, "not an icon file"},
      {"no images", iconFile({}), "no images"},
      {"directory cut off", ByteBuffer(good.begin(), good.begin() + 12), "truncated"},
      {"image cut off", ByteBuffer(good.begin(), good.end() - 1), "outside the file"},
      {"image offset beyond the end", outside, "outside the file"},
  };
  for (const auto& c : cases) {
    IconResources icons;
    std::string error;
    EXPECT_FALSE(readIconFile(c.file, icons, error)) << c.name;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    EXPECT_TRUE(icons.images.empty()) << c.name;
  }
}

ByteBuffer endRecord(uint16_t entries, uint32_t directorySize, const std::string& comment) {
  ByteBuffer out;
  put(out, 0x06054b50, 4), put(out, 0, 2), put(out, 0, 2), put(out, entries, 2), put(out, entries, 2);
  put(out, directorySize, 4), put(out, 0, 4), put(out, static_cast<uint32_t>(comment.size()), 2);
  out.insert(out.end(), comment.begin(), comment.end());
  return out;
}

TEST(ZipArchive, IsFoundFromTheEndEvenBehindOtherData) {
  auto behind = [](size_t prefix, ByteBuffer record) {
    ByteBuffer out(prefix, 'M');
    out.insert(out.end(), record.begin(), record.end());
    return out;
  };
  const struct {
    const char* name;
    ByteBuffer bytes;
    bool zip;
  } cases[] = {
      {"a jar", behind(100, endRecord(1, 50, "")), true},
      {"a jar with a comment", behind(100, endRecord(1, 50, "made here")), true},
      {"a jar behind an executable", behind(300000, endRecord(2, 90, "")), true},
      {"a comment longer than what follows", [&] {
         ByteBuffer b = behind(100, endRecord(1, 50, "ab"));
         b.pop_back();
         return b;
       }(), false},
      {"an empty archive", behind(100, endRecord(0, 0, "")), false},
      {"a directory larger than the file", behind(10, endRecord(1, 5000, "")), false},
      {"text", ByteBuffer(200, 'x'), false},
      {"nothing", {}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(isZipArchive(c.bytes), c.zip) << c.name;
}

TEST(VersionQuad, ParsesUpToFourNumbers) {
  const struct {
    const char16_t* text;
    bool ok;
    VersionQuad version;
  } cases[] = {
      {u"1.2.3.4", true, {1, 2, 3, 4}}, {u"7", true, {7, 0, 0, 0}},     {u"65535.0.1", true, {65535, 0, 1, 0}},
      {u"65536", false, {}},            {u"1.2.3.4.5", false, {}},       {u"1..2", false, {}},
      {u"", false, {}},                 {u"1.2-beta", false, {}},        {u"1.", false, {}},
  };
  for (const auto& c : cases) {
    VersionQuad version{};
    EXPECT_EQ(parseVersionQuad(c.text, version), c.ok) << toUtf8(c.text);
    EXPECT_EQ(version, c.ok ? c.version : VersionQuad{}) << toUtf8(c.text);
  }
}

}  // namespace
