// Stand-in for the system's cabinet expander, put in the Wine prefix in place of Wine's own,
// which takes no -f: option and cannot unpack a cabinet of several files into a folder.
// Command line as the Windows one: expand SOURCE -f:MASK TARGETDIR (the target defaults to the
// current folder). Every file of the cabinet whose name matches MASK is written into TARGETDIR,
// keeping its folders inside the cabinet. Exit code 0 when every matching file was written.
#include "standins/StandinCom.h"

#include <setupapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

struct Job {
  std::string mask = "*";
  std::string target;
  int written = 0;
  int failed = 0;
};

// A name inside the cabinet must stay inside the target folder.
bool SafeRelativeName(const std::string& name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

std::string BaseName(const std::string& name) { return name.substr(name.find_last_of("\\/") + 1); }

UINT CALLBACK OnCabinetFile(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  auto* job = static_cast<Job*>(context);
  switch (notification) {
    case SPFILENOTIFY_FILEINCABINET: {
      auto* info = reinterpret_cast<FILE_IN_CABINET_INFO_A*>(param1);
      std::string name = info->NameInCabinet;
      if (!PathMatchSpecA(BaseName(name).c_str(), job->mask.c_str())) return FILEOP_SKIP;
      if (!SafeRelativeName(name)) {
        ++job->failed;
        return FILEOP_SKIP;
      }
      std::string full = job->target + name;
      if (full.size() >= MAX_PATH) {
        ++job->failed;
        return FILEOP_SKIP;
      }
      std::string folder = full.substr(0, full.find_last_of('\\'));
      SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
      lstrcpynA(info->FullTargetName, full.c_str(), MAX_PATH);
      return FILEOP_DOIT;
    }
    case SPFILENOTIFY_FILEEXTRACTED: {
      auto* result = reinterpret_cast<FILEPATHS_A*>(param1);
      if (result->Win32Error == NO_ERROR)
        ++job->written;
      else
        ++job->failed;
      return NO_ERROR;
    }
    case SPFILENOTIFY_NEEDNEWCABINET:
      return ERROR_FILE_NOT_FOUND;  // cabinets spanning several files are not ours to expand
    default:
      return NO_ERROR;
  }
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

}  // namespace

int main(int argc, char** argv) {
  std::string source;
  Job job;
  std::vector<std::string> plain;
  std::string line;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    line += (i > 1 ? " " : "") + arg;
    if ((arg[0] == '-' || arg[0] == '/') &&
        (arg.size() > 3 && (arg[1] == 'f' || arg[1] == 'F') && arg[2] == ':'))
      job.mask = arg.substr(3);
    else if (arg == "-r" || arg == "-R" || arg == "/r" || arg == "/R")
      continue;  // renaming is for compressed single files, not cabinets
    else
      plain.push_back(arg);
  }
  standins::LogCall("Expand", "expand", line);
  if (plain.empty() || plain.size() > 2) {
    fprintf(stderr, "usage: expand SOURCE -f:MASK [TARGETDIR]\n");
    return 2;
  }
  source = FullPath(plain[0]);
  job.target = FullPath(plain.size() > 1 ? plain[1] : ".");
  if (job.target.back() != '\\') job.target += '\\';
  SHCreateDirectoryExA(nullptr, job.target.c_str(), nullptr);

  if (!SetupIterateCabinetA(source.c_str(), 0, OnCabinetFile, &job)) {
    fprintf(stderr, "expand: %s is not a cabinet that can be read (error %lu)\n", source.c_str(),
            GetLastError());
    return 1;
  }
  printf("expand: %d file(s) written to %s\n", job.written, job.target.c_str());
  return job.failed == 0 && job.written > 0 ? 0 : 1;
}
