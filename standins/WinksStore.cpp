// Package storage of the chat client stand-in.
#include <winsock2.h>

#include "standins/WinksStore.h"

#include <curl/curl.h>
#include <shlobj.h>
#include <windows.h>

#include <cctype>
#include <mutex>
#include <string>

namespace standins {

namespace {

// Bigger than any wink or emoticon package by far; guards the memory of the host program.
const size_t kMaxPackageBytes = 64u << 20;

std::string AppDataFolder() {
  char path[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
  return path;
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<std::string*>(user);
  size_t n = size * count;
  if (body->size() + n > kMaxPackageBytes) return 0;  // makes curl fail the transfer
  body->append(data, n);
  return n;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
            written == data.size();
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

}  // namespace

uint32_t AccountFolderHash(const std::string& account) {
  uint32_t hash = 0;
  for (unsigned char byte : account) hash = hash * 101u + byte;
  return hash;
}

std::string WinksFolderOf(const std::string& account) {
  return AppDataFolder() + "\\Microsoft\\MSN Messenger\\" + std::to_string(AccountFolderHash(account)) +
         "\\Winks3\\";
}

std::string PackageFileName(const std::string& url) {
  std::string path = url.substr(0, url.find_first_of("?#"));
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  for (char& c : name) {
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ||
        static_cast<unsigned char>(c) < 32)
      c = '_';
  }
  if (name.empty() || name.find_first_not_of('.') == std::string::npos) name = "package";
  // map.dat is the client's own index of the folder, not a package.
  if (lstrcmpiA(name.c_str(), "map") == 0) name += "_";
  return name + ".dat";
}

std::string DownloadPackage(const std::string& url, const std::string& folder, const std::string& name) {
  static std::once_flag curlReady;
  std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  CURL* curl = curl_easy_init();
  if (!curl) return "no HTTP client";
  std::string body;
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  CURLcode rc = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  if (rc != CURLE_OK) return std::string("download failed: ") + (error[0] ? error : curl_easy_strerror(rc));
  // An error page is not a package.
  if (status < 200 || status > 299) return "download failed: HTTP " + std::to_string(status);

  if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS &&
      GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
    return "cannot create " + folder;
  // Written aside and moved in place, so the folder never lists half a package.
  std::string target = folder + name;
  std::string partial = target + ".part";
  if (!WriteWholeFile(partial, body)) return "cannot write " + partial;
  if (!MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(partial.c_str());
    return "cannot store " + target;
  }
  return {};
}

}  // namespace standins
