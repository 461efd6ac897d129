// INI files read through the system's own INI-file functions.
#pragma once

#include <string>

#include "tk/Classes.h"

class TIniFile : public TObject {
 public:
  TK_CLASS(TIniFile, TObject)
  // A relative name is taken from the current folder (the system would look in its own folder).
  explicit TIniFile(const std::string& FileName);
  const std::string& FileName() const { return FFileName; }

  std::string ReadString(const std::string& Section, const std::string& Ident,
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
