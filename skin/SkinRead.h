// The skin archive reader: decompresses an archive and hands out its entries by name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tk/Classes.h"

// Shows the reader's one message to the user. Each build supplies the default (the Windows build
// a message box); it can be replaced, for example to route it through the toolkit or to capture it.
using TSkinMessageProc = void (*)(const std::string& Text);
extern TSkinMessageProc SkinReaderMessage;
void DefaultSkinReaderMessage(const std::string& Text);

constexpr int32_t SkinArchiveTag = 20000;
constexpr int SkinArchiveMaxEntries = 1001;

struct TSkinArchiveHeader {
  int32_t Tag = 0;
  int32_t NameLength = 0;
  int32_t Reserved1 = 0;  // stored, never read
  int32_t Reserved2 = 0;
};

class TSkinReader : public TObject {
 public:
  TK_CLASS(TSkinReader, TObject)
  TSkinReader() = default;

  // True when the archive was read. False for another format tag (after the message) and for
  // data that does not hold together; then the reader keeps what it held before.
  bool LoadFromStream(TStream* Archive);
  // The container's LZHUF stream, decoded into Target.
  void Decompress(TStream* Source, TStream* Target);
  // Target gets the first entry of that name (ASCII case-insensitive), or stays empty.
  void ExtractByName(const std::string& Name, TMemoryStream* Target);
  // Target gets the first entry whose lower-case name contains Text as it is; FullName gets that
  // name. No such entry: Target stays empty and FullName unchanged.
  void ExtractByPart(const std::string& Text, TMemoryStream* Target, std::string& FullName);

  const std::vector<std::string>& Names() const { return FNames; }
  int32_t Count() const { return FCount; }
  int32_t Size(int Index) const { return FSizes.at(size_t(Index)); }
  const TSkinArchiveHeader& Header() const { return FHeader; }

 private:
  void ExtractAt(int Index, TMemoryStream* Target);

  std::vector<std::string> FNames;
  int32_t FCount = 0;
  std::array<int32_t, SkinArchiveMaxEntries> FSizes{};
  TMemoryStream FData;
  TSkinArchiveHeader FHeader;
};

// The name table's text as entry names: lower-cased (A-Z only), split at CR LF, CR or LF, ending
// at a zero byte; a final line break adds no empty name.
std::vector<std::string> SplitSkinNames(const char* Text, size_t Length);
std::string LowerSkinName(std::string Name);
