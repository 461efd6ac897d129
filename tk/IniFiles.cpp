#include "tk/IniFiles.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

namespace {
// GetPrivateProfileStringA into a buffer that grows until the answer fits: the call cuts long
// answers silently, and a cut key list would drop keys.
std::string Profile(const char* section, const char* key, const char* def, const std::string& file) {
  std::string buf(1024, '\0');
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section, key, def, buf.data(), DWORD(buf.size()), file.c_str());
    // A full buffer is reported as size - 1 for a value and size - 2 for a list of names.
    if (n + 2 < buf.size()) return buf.substr(0, n);
    buf.resize(buf.size() * 4);
  }
}

// Splits a double-null-terminated list of names.
void SplitNames(const std::string& names, TStrings* out) {
  out->Clear();
  size_t b = 0;
  while (b < names.size()) {
    size_t e = names.find('\0', b);
    if (e == std::string::npos) e = names.size();
    if (e > b) out->Add(names.substr(b, e - b));
    b = e + 1;
  }
}
}  // namespace

TIniFile::TIniFile(const std::string& FileName) : FFileName(FileName) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(FileName.c_str(), MAX_PATH, full, nullptr);
  if (n > 0 && n < MAX_PATH) FFileName = full;
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const {
  return Profile(Section.c_str(), Ident.c_str(), Default.c_str(), FFileName);
}

int32_t TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default) const {
  std::string s = ReadString(Section, Ident, "");
  const char* p = s.c_str();
  const bool negative = *p == '-';
  if (negative || *p == '+') ++p;
  int base = 10;
  if (*p == '$') {
    base = 16;
    ++p;
  } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (!std::isxdigit(static_cast<unsigned char>(*p))) return Default;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(p, &end, base);
  if (errno || *end) return Default;
  if (negative) v = -v;
  // Hexadecimal spells the bit pattern, so $FFFFFFFF is -1.
  if (base == 16 && !negative && v <= 0xFFFFFFFFLL) return static_cast<int32_t>(static_cast<uint32_t>(v));
  if (v < INT32_MIN || v > INT32_MAX) return Default;
  return int32_t(v);
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::ReadSection(const std::string& Section, TStrings* Strings) const {
  SplitNames(Profile(Section.c_str(), nullptr, "", FFileName), Strings);
}

void TIniFile::ReadSections(TStrings* Strings) const {
  SplitNames(Profile(nullptr, nullptr, "", FFileName), Strings);
}

bool TIniFile::SectionExists(const std::string& Section) const {
  TStringList sections;
  ReadSections(&sections);
  return sections.IndexOf(Section) >= 0;
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}
