// How the chat client stand-in keeps the packages it installs: one folder per account, named
// after a hash of the account name, under the user's application data.
#pragma once

#include <cstdint>
#include <string>

namespace standins {

// The chat client's account hash: for each ANSI byte, hash = hash * 101 + byte, modulo 2^32.
uint32_t AccountFolderHash(const std::string& account);

// Application data + "\Microsoft\MSN Messenger\" + decimal hash + "\Winks3\".
std::string WinksFolderOf(const std::string& account);

// The name a package downloaded from `url` is stored under: the URL's last path segment with
// its extension replaced by ".dat", never the client's own "map.dat", never a path.
std::string PackageFileName(const std::string& url);

// Downloads `url` and stores it in `folder` as `name`; returns an empty string or what failed.
std::string DownloadPackage(const std::string& url, const std::string& folder, const std::string& name);

}  // namespace standins
