// Prints what loading and saving the histories costs and gives when the settings file is
// missing, read-only, or 50 MB of junk (random bytes, or lines of keys), the cases of the
// reliability matrix in docs/reliability.md.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/win32/history_store.h"
#include "app/win32/temp_folder.h"
#include "support/fake_list_controls.h"

namespace {

using brevane::testing::FakeComboBox;
using Clock = std::chrono::steady_clock;

constexpr size_t kJunkBytes = 50u << 20;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Combos {
  FakeComboBox query, search, hosts, namespaces;
  brevane::app::HistoryCombos Refs() { return {&query, &search, &hosts, &namespaces}; }
  size_t Entries() const {
    return query.items.size() + search.items.size() + hosts.items.size() + namespaces.items.size();
  }
};

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
      wrote == bytes.size();
  CloseHandle(file);
  return ok;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Run(const char* name, const std::wstring& path) {
  const long long sizeBefore = FileSize(path);
  Combos loaded;
  auto start = Clock::now();
  brevane::app::win32::LoadHistoryFile(path, loaded.Refs());
  const double loadMs = MillisecondsSince(start);

  Combos toSave;
  toSave.query.items = {"select Name from Win32_Service", "select * from Win32_Process"};
  toSave.search.items = {"svchost"};
  toSave.hosts.items = {"server01"};
  toSave.namespaces.items = {"root\\cimv2"};
  start = Clock::now();
  brevane::app::win32::SaveHistoryFile(path, toSave.Refs());
  const double saveMs = MillisecondsSince(start);

  Combos reloaded;
  brevane::app::win32::LoadHistoryFile(path, reloaded.Refs());
  std::printf(
      "%-26s size %10lld -> %10lld  load %9.1f ms (%zu entries)  save %9.1f ms  "
      "reload gives %zu of 5 entries\n",
      name, sizeBefore, FileSize(path), loadMs, loaded.Entries(), saveMs, reloaded.Entries());
}

}  // namespace

int main() {
  brevane::testing::TempFolder folder;
  const std::string valid =
      "[QueryHistory]\r\nCount=2\r\nQuery0=select Caption from Win32_BIOS\r\nQuery1=kept\r\n";

  Run("missing file", folder.File(L"missing.ini"));
  Run("missing folder", folder.File(L"no such folder\\brevane.ini"));

  const std::wstring readOnly = folder.File(L"read-only.ini");
  WriteBytes(readOnly, valid);
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  Run("read-only file", readOnly);

  std::mt19937_64 random(42);
  std::string junk(kJunkBytes, '\0');
  for (size_t i = 0; i + 8 <= junk.size(); i += 8) {
    const unsigned long long word = random();
    std::memcpy(&junk[i], &word, 8);
  }
  const std::wstring binary = folder.File(L"junk-binary.ini");
  WriteBytes(binary, valid + junk);
  Run("50 MB random bytes", binary);

  std::string lines = valid;
  lines.reserve(kJunkBytes + 64);
  for (unsigned i = 0; lines.size() < kJunkBytes; ++i) {
    const std::string number = std::to_string(i);
    if (i % 1000 == 0) lines.append("[Junk").append(number).append("]\r\n");
    lines.append("Key").append(number).append("=junk value ").append(number).append("\r\n");
  }
  const std::wstring text = folder.File(L"junk-lines.ini");
  WriteBytes(text, lines);
  Run("50 MB of key lines", text);
  return 0;
}
