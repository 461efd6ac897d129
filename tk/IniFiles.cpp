#include "tk/IniFiles.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// A system INI call into a buffer that grows until the answer fits: the calls cut long answers
// silently, and a cut list would drop names.
template <class Call>
std::string Grown(Call call) {
  std::string buf(1024, '\0');
  for (;;) {
    DWORD n = call(buf.data(), DWORD(buf.size()));
    // A full buffer is reported as size - 1 for a value and size - 2 for a list.
    if (n + 2 < buf.size()) return buf.substr(0, n);
    buf.resize(buf.size() * 4);
  }
}

std::string Profile(const char* section, const char* key, const char* def, const std::string& file) {
  return Grown([&](char* buf, DWORD size) {
    return GetPrivateProfileStringA(section, key, def, buf, size, file.c_str());
  });
}

// The non-empty entries of a double-null-terminated list.
std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> out;
  size_t b = 0;
  while (b < list.size()) {
    size_t e = list.find('\0', b);
    if (e == std::string::npos) e = list.size();
    if (e > b) out.push_back(list.substr(b, e - b));
    b = e + 1;
  }
  return out;
}

void SplitNames(const std::string& names, TStrings* out) {
  out->Clear();
  for (const std::string& name : SplitList(names)) out->Add(name);
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
  // Digits only from here: the number reader would take a second "0x" prefix as well.
  const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (!*p || p[std::strspn(p, digits)]) return Default;
  errno = 0;
  long long v = std::strtoll(p, nullptr, base);
  if (errno) return Default;
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

// ---- TBufferedIniFile ---------------------------------------------------------------------------
// What the system does with names and values was found by trying it: names are trimmed of blanks
// and control characters and compared without regard to ASCII case; a section or key found twice
// counts the first time; a value loses one pair of enclosing quotes (" or '); a line without "="
// has no value, so it gives the default; comment lines are left out of a section's text, yet a key
// spelt with their ";" finds them.

namespace {
std::string TrimBlanks(const std::string& s) {
  const char* blanks = " \t\n\v\f\r";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

std::string Unquoted(const std::string& s) {
  if (s.size() >= 2 && (s[0] == '"' || s[0] == '\'') && s.back() == s[0]) return s.substr(1, s.size() - 2);
  return s;
}

// The default as the system gives it back: trailing blanks go (down to one character), then quotes.
std::string SystemDefault(const std::string& s) {
  size_t n = s.size();
  while (n > 1 && s[n - 1] == ' ') --n;
  return Unquoted(s.substr(0, n));
}
}  // namespace

std::wstring IniNameKey(const std::string& Name, unsigned CodePage) {
  // Folding bytes would fold the trail byte of a double-byte character and make two names one.
  std::wstring key;
  if (!Name.empty()) {
    const int n = MultiByteToWideChar(CodePage, 0, Name.data(), int(Name.size()), nullptr, 0);
    key.resize(size_t(n));
    MultiByteToWideChar(CodePage, 0, Name.data(), int(Name.size()), key.data(), n);
  }
  for (wchar_t& c : key)
    if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
  return key;
}

const TBufferedIniFile::TLines& TBufferedIniFile::Lines(const std::string& Section) const {
  const std::wstring name = IniNameKey(Section);
  auto found = FSections.find(name);
  if (found != FSections.end()) return found->second;
  std::string text = Grown([&](char* buf, DWORD size) {
    return GetPrivateProfileSectionA(Section.c_str(), buf, size, FileName().c_str());
  });
  TLines& lines = FSections[name];
  for (const std::string& line : SplitList(text)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos)
      lines.emplace_back(IniNameKey(line), std::nullopt);
    else
      lines.emplace_back(IniNameKey(line.substr(0, eq)), line.substr(eq + 1));
  }
  return lines;
}

std::string TBufferedIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                         const std::string& Default) const {
  std::string key = TrimBlanks(Ident);
  if (!key.empty() && key[0] == ';') return TIniFile::ReadString(Section, Ident, Default);
  const std::wstring wanted = IniNameKey(key);
  for (const auto& [name, value] : Lines(TrimBlanks(Section)))
    if (name == wanted) return value ? Unquoted(*value) : SystemDefault(Default);
  return SystemDefault(Default);
}
