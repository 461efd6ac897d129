// Helpers for the keeper's tests: a scratch folder of the test's own, files in it, and the chat
// client's remembered-account value, put back as it was afterwards.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace drellmark_testing {

inline void WriteFile(const std::string& path, const std::string& data) {
  HANDLE f =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, data.data(), DWORD(data.size()), &written, nullptr);
  CloseHandle(f);
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a folder and everything in it.
inline void RemoveTree(const std::string& folder) {
  std::string from = folder;
  while (!from.empty() && from.back() == '\\') from.pop_back();
  from.push_back('\0');  // the list ends with two zeros
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&op);
}

// A fresh folder under the temporary folder, removed with the object. Ends with a backslash.
struct ScratchFolder {
  std::string Path;
  explicit ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Path = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(Path); }
};

constexpr const char* kKey = "Software\\Microsoft\\MSNMessenger";
constexpr const char* kValue = "User.NET Messenger Service";

// The chat client's remembered account, set for one test and put back after it.
class MessengerValue {
 public:
  MessengerValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
      FKeyExisted = true;
      DWORD size = 0;
      if (RegQueryValueExA(key, kValue, nullptr, &FType, nullptr, &size) == ERROR_SUCCESS) {
        FData.resize(size);
        RegQueryValueExA(key, kValue, nullptr, &FType, reinterpret_cast<BYTE*>(FData.data()), &size);
        FHad = true;
      }
      RegCloseKey(key);
    }
    Remove();
  }
  ~MessengerValue() {
    if (FHad)
      RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, FType, FData.data(), DWORD(FData.size()));
    else
      Remove();
    if (!FKeyExisted) RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  void Set(DWORD type, const void* data, DWORD size) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, type, data, size);
  }
  void SetString(const std::string& account) { Set(REG_SZ, account.c_str(), DWORD(account.size() + 1)); }
  void SetDword(DWORD v) { Set(REG_DWORD, &v, sizeof v); }
  void Remove() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kValue); }

 private:
  bool FKeyExisted = false;
  bool FHad = false;
  DWORD FType = 0;
  std::string FData;
};

}  // namespace drellmark_testing
