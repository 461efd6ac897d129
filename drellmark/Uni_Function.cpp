#include "drellmark/Uni_Function.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// Closes a file search whatever happens while its names are taken.
struct TFindHandle {
  HANDLE Value;
  ~TFindHandle() {
    if (Value != INVALID_HANDLE_VALUE) FindClose(Value);
  }
};

}  // namespace

void FindFiles(const std::string& Folder, const std::string& Mask, TStrings* List) {
  WIN32_FIND_DATAA data;
  TFindHandle search{FindFirstFileA((Folder + Mask).c_str(), &data)};
  if (search.Value == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    List->Add(name);
  } while (FindNextFileA(search.Value, &data));
}

std::string ShortPath(const std::string& Path) {
  char buffer[255];
  DWORD n = GetShortPathNameA(Path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : Path;
}

std::string CommandLinePath(const std::string& Path) {
  if (Path.find(' ') == std::string::npos) return Path;
  const size_t trailing = Path.size() - (Path.find_last_not_of('\\') + 1);
  return '"' + Path + std::string(trailing, '\\') + '"';
}

std::string TempFolder() {
  char buffer[MAX_PATH];
  DWORD n = GetTempPathA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string AppDataFolder() {
  char buffer[MAX_PATH + 1] = "";
  if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, TRUE)) return {};
  return buffer;
}
