// What the Windows tests know of the content server that the ctest fixture started: its base URL,
// a port that refuses connections, and the raw requests it recorded.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace contentserver {

// The server's state folder as a Windows path (Wine maps the host's / to Z:).
inline std::string StateDir() {
  const char* state = std::getenv("VELLORAN_CONTENTSERVER_STATE");
  if (!state || !*state) throw std::runtime_error("VELLORAN_CONTENTSERVER_STATE is not set: run under ctest");
  return std::string("Z:") + state;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline int Port() { return std::atoi(ReadFile(StateDir() + "/port").c_str()); }
inline int RefusePort() { return std::atoi(ReadFile(StateDir() + "/refuse-port").c_str()); }
inline std::string Base() { return "http://127.0.0.1:" + std::to_string(Port()) + "/"; }
// A file of the served tree, as the server sends it.
inline std::string SiteFile(const std::string& path) { return ReadFile(StateDir() + "/site/" + path); }

// Every recorded request whose request line is exactly requestLine, oldest first.
inline std::vector<std::string> Requests(const std::string& requestLine) {
  std::string folder = StateDir() + "/requests/";
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*.req").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> matching;
  for (const std::string& name : names) {
    std::string raw = ReadFile(folder + name);
    if (raw.compare(0, requestLine.size() + 2, requestLine + "\r\n") == 0) matching.push_back(raw);
  }
  return matching;
}

}  // namespace contentserver
