#include "robot/folder_picker.h"

#include <commctrl.h>

#include <vector>

namespace robot {
namespace {

// Tree items are read through memory in the picker's process: the tree view
// messages carry pointers, which the system does not copy between processes.
class RemoteItemReader {
 public:
  RemoteItemReader(HWND tree) : tree_(tree) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) memory_ = VirtualAllocEx(process_, nullptr, sizeof(TVITEMW) + kTextBytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteItemReader() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteItemReader(const RemoteItemReader&) = delete;
  RemoteItemReader& operator=(const RemoteItemReader&) = delete;

  std::wstring text(HTREEITEM item) {
    if (!memory_) return {};
    auto remoteText = static_cast<wchar_t*>(memory_) + sizeof(TVITEMW) / sizeof(wchar_t);
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = remoteText;
    request.cchTextMax = kTextBytes / sizeof(wchar_t);
    if (!WriteProcessMemory(process_, memory_, &request, sizeof request, nullptr)) return {};
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_))) return {};
    std::vector<wchar_t> buffer(kTextBytes / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process_, remoteText, buffer.data(), kTextBytes, nullptr)) return {};
    buffer.back() = L'\0';
    return buffer.data();
  }

 private:
  static constexpr size_t kTextBytes = 1024;
  HWND tree_;
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

HWND findTree(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64];
    if (GetClassNameW(child, name, 64) && _wcsicmp(name, WC_TREEVIEWW) == 0) return child;
    if (HWND inner = findTree(child)) return inner;
  }
  return nullptr;
}

HTREEITEM next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The picker fills in children when an item is expanded; expanding through
// the selection and the keyboard takes the same way as a user's click.
void expand(HWND tree, HTREEITEM item) {
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(tree, WM_KEYUP, VK_RIGHT, 0);
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

std::vector<HTREEITEM> children(HWND tree, HTREEITEM parent) {
  expand(tree, parent);
  std::vector<HTREEITEM> items;
  for (HTREEITEM item = next(tree, parent, TVGN_CHILD); item; item = next(tree, item, TVGN_NEXT)) items.push_back(item);
  return items;
}

// A drive shows as "C:", "C:\" or a label with "(C:)" in it.
bool namesDrive(const std::wstring& text, const std::wstring& drive) {
  return _wcsicmp(text.c_str(), drive.c_str()) == 0 || _wcsicmp(text.c_str(), (drive + L"\\").c_str()) == 0 ||
         text.find(L"(" + drive + L")") != std::wstring::npos ||
         text.find(L"(" + std::wstring(1, static_cast<wchar_t>(towlower(drive[0]))) + L":)") != std::wstring::npos;
}

std::vector<std::wstring> components(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

bool selectFolderInPicker(HWND picker, const std::wstring& path) {
  HWND tree = findTree(picker);
  std::vector<std::wstring> parts = components(path);
  if (!tree || parts.empty()) return false;
  RemoteItemReader reader(tree);

  // The drive is below the root or one level further (under "My Computer").
  HTREEITEM current = nullptr;
  std::vector<HTREEITEM> level;
  for (HTREEITEM root = next(tree, nullptr, TVGN_ROOT); root; root = next(tree, root, TVGN_NEXT)) level.push_back(root);
  for (int depth = 0; depth < 3 && !current; ++depth) {
    std::vector<HTREEITEM> deeper;
    for (HTREEITEM item : level) {
      if (namesDrive(reader.text(item), parts[0])) {
        current = item;
        break;
      }
    }
    if (current) break;
    for (HTREEITEM item : level) {
      for (HTREEITEM child : children(tree, item)) deeper.push_back(child);
    }
    level = deeper;
  }
  if (!current) return false;

  for (size_t i = 1; i < parts.size(); ++i) {
    HTREEITEM found = nullptr;
    for (HTREEITEM child : children(tree, current)) {
      if (_wcsicmp(reader.text(child).c_str(), parts[i].c_str()) == 0) {
        found = child;
        break;
      }
    }
    if (!found) return false;
    current = found;
  }
  return SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(current)) != 0;
}

}  // namespace robot
