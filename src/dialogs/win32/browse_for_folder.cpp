#include "dialogs/win32/browse_for_folder.h"

#include <array>

#include "framework/win32/encoding.h"

namespace brevane::dialogs::win32 {

namespace {

// Frees an item identifier list that the shell handed out.
class ShellItemList {
 public:
  ShellItemList() = default;
  explicit ShellItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ShellItemList() { CoTaskMemFree(list_); }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;
  PIDLIST_ABSOLUTE Get() const { return list_; }
  PIDLIST_ABSOLUTE* Receive() {
    CoTaskMemFree(list_);
    list_ = nullptr;
    return &list_;
  }

 private:
  PIDLIST_ABSOLUTE list_ = nullptr;
};

// What the callback sends the dialog when it opens.
struct InitialTexts {
  std::wstring selection;
  std::wstring status;
};

}  // namespace

int CALLBACK TBrowseForFolder::BrowseCallback(HWND dialog, UINT message, LPARAM,
                                              LPARAM callbackData) {
  switch (message) {
    case BFFM_INITIALIZED: {
      const auto* texts = reinterpret_cast<const InitialTexts*>(callbackData);
      if (!texts) return 0;
      if (!texts->selection.empty()) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(texts->selection.c_str()));
      }
      if (!texts->status.empty()) {
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, TRUE,
                     reinterpret_cast<LPARAM>(texts->status.c_str()));
      }
      return 0;
    }
    case BFFM_VALIDATEFAILEDA:
    case BFFM_VALIDATEFAILEDW:
      return 1;  // a typed name that names nothing keeps the dialog open
    default:
      return 0;
  }
}

bool TBrowseForFolder::Execute() {
  const std::wstring instruction = brevane::framework::win32::Utf8ToWide(Caption);
  InitialTexts texts{brevane::framework::win32::Utf8ToWide(FolderName),
                     brevane::framework::win32::Utf8ToWide(StatusText)};

  ShellItemList specialRoot;
  PCIDLIST_ABSOLUTE root = nullptr;
  if (Root == TBrowseLocation::bl_CUSTOM) {
    root = CustomRoot;
  } else if (const auto csidl = CsidlOf(Root)) {
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, *csidl, specialRoot.Receive()))) {
      root = specialRoot.Get();
    }
  }

  options_.AddValidate();
  std::array<wchar_t, MAX_PATH> displayBuffer{};
  BROWSEINFOW info{};
  info.hwndOwner = owner_;
  info.pidlRoot = root;
  info.pszDisplayName = displayBuffer.data();
  info.lpszTitle = instruction.c_str();
  info.ulFlags = options_.Bits();
  info.lpfn = &TBrowseForFolder::BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&texts);

  const ShellItemList chosen(SHBrowseForFolderW(&info));
  if (!chosen.Get()) return false;

  std::array<wchar_t, MAX_PATH> path{};
  if (!SHGetPathFromIDListW(chosen.Get(), path.data())) path[0] = L'\0';
  path.back() = L'\0';
  displayBuffer.back() = L'\0';
  FolderName = brevane::framework::win32::WideToUtf8(path.data());
  displayName_ = brevane::framework::win32::WideToUtf8(displayBuffer.data());
  return true;
}

}  // namespace brevane::dialogs::win32
