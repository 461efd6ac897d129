// INI files read through the system's own INI-file functions.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tk/Classes.h"

class TIniFile : public TObject {
 public:
  TK_CLASS(TIniFile, TObject)
  // A relative name is taken from the current folder (the system would look in its own folder).
  explicit TIniFile(const std::string& FileName);
  const std::string& FileName() const { return FFileName; }

  virtual std::string ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const;
  // Decimal or hexadecimal ($1F, 0x1F); Default when the value is missing or not a 32-bit number.
  int32_t ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default) const;
  // A number: 0 is false, any other true; Default when missing or not a number.
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  // The keys of Section, in file order, into Strings (cleared first).
  void ReadSection(const std::string& Section, TStrings* Strings) const;
  // The section names, in file order, into Strings (cleared first).
  void ReadSections(TStrings* Strings) const;
  // A section that is present counts, even with no keys.
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;

 private:
  std::string FFileName;
};

// A section's or key's name as the system's INI functions compare names: whole characters of the
// code page (0: the ANSI one), ASCII letters without regard to case and every other as it is.
std::wstring IniNameKey(const std::string& Name, unsigned CodePage = 0);

// The same answers, with each section asked of the system once: the first question about a section
// reads it whole (GetPrivateProfileSectionA) and the keys are answered from that copy, as the
// system answers them one by one. For a file that does not change while it is read many times.
class TBufferedIniFile : public TIniFile {
 public:
  TK_CLASS(TBufferedIniFile, TIniFile)
  using TIniFile::TIniFile;
  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const override;

 private:
  // A section's lines in file order: the key (by IniNameKey), and its value unless the line has no
  // "=".
  using TLines = std::vector<std::pair<std::wstring, std::optional<std::string>>>;
  const TLines& Lines(const std::string& Section) const;
  mutable std::map<std::wstring, TLines> FSections;  // by IniNameKey of the name as asked
};
