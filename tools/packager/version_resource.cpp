#include "version_resource.h"

namespace {

using ByteBuffer = std::vector<uint8_t>;

void put(ByteBuffer& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putText(ByteBuffer& out, StringView text) {
  appendUtf16Le(out, text);
  put(out, 0, 2);
}

void alignToFour(ByteBuffer& out) {
  while (out.size() % 4) out.push_back(0);
}

// One block of the resource: a header, its key, an optional value and the
// child blocks, each starting on a 32-bit boundary.
struct Block {
  String key;
  ByteBuffer value;
  uint16_t valueLength = 0;  // in characters for text, in bytes otherwise
  bool text = true;
  std::vector<Block> children;

  ByteBuffer bytes() const {
    ByteBuffer out(6, 0);
    putText(out, key);
    if (!value.empty()) {
      alignToFour(out);
      out.insert(out.end(), value.begin(), value.end());
    }
    for (const Block& child : children) {
      alignToFour(out);
      ByteBuffer inner = child.bytes();
      out.insert(out.end(), inner.begin(), inner.end());
    }
    const size_t length = out.size();
    out[0] = static_cast<uint8_t>(length), out[1] = static_cast<uint8_t>(length >> 8);
    out[2] = static_cast<uint8_t>(valueLength), out[3] = static_cast<uint8_t>(valueLength >> 8);
    out[4] = text ? 1 : 0;
    return out;
  }
};

Block textBlock(const String& key, const String& value) {
  Block block{key, {}, static_cast<uint16_t>(value.size() + 1), true, {}};
  putText(block.value, value);
  return block;
}

ByteBuffer fixedFileInfo(const VersionDetails& details) {
  ByteBuffer out;
  put(out, 0xFEEF04BD, 4);  // signature
  put(out, 0x00010000, 4);  // structure version
  put(out, (uint32_t{details.fileVersion[0]} << 16) | details.fileVersion[1], 4);
  put(out, (uint32_t{details.fileVersion[2]} << 16) | details.fileVersion[3], 4);
  put(out, (uint32_t{details.productVersion[0]} << 16) | details.productVersion[1], 4);
  put(out, (uint32_t{details.productVersion[2]} << 16) | details.productVersion[3], 4);
  put(out, 0x3F, 4);        // flags mask
  put(out, 0, 4);           // flags
  put(out, 0x00040004, 4);  // VOS_NT_WINDOWS32
  put(out, 1, 4);           // VFT_APP
  put(out, 0, 4);           // subtype
  put(out, 0, 4), put(out, 0, 4);  // no date
  return out;
}

}  // namespace

bool parseVersionQuad(StringView text, VersionQuad& result) {
  result = {};
  VersionQuad version{};
  size_t part = 0;
  uint32_t value = 0;
  bool digits = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'.') {
      if (!digits || part == version.size()) return false;
      version[part++] = static_cast<uint16_t>(value);
      value = 0, digits = false;
    } else if (text[i] >= u'0' && text[i] <= u'9') {
      value = value * 10 + static_cast<uint32_t>(text[i] - u'0');
      if (value > 0xFFFF) return false;
      digits = true;
    } else {
      return false;
    }
  }
  result = version;
  return true;
}

std::vector<uint8_t> buildVersionResource(const VersionDetails& details) {
  Block table{u"040904b0", {}, 0, true, {}};
  for (const auto& [name, value] : details.strings) table.children.push_back(textBlock(name, value));
  Block translation{u"Translation", {}, 4, false, {}};
  put(translation.value, 0x0409, 2);  // US English
  put(translation.value, 1200, 2);    // Unicode

  Block root{u"VS_VERSION_INFO", fixedFileInfo(details), 52, false, {}};
  root.children.push_back(Block{u"StringFileInfo", {}, 0, true, {table}});
  root.children.push_back(Block{u"VarFileInfo", {}, 0, true, {translation}});
  return root.bytes();
}
