#include "skin/SkinRead.h"

#include <memory>

#include "skin/LZH.h"

TSkinMessageProc SkinReaderMessage = DefaultSkinReaderMessage;

namespace {

constexpr int64_t HeaderSize = 16;

int32_t ReadInt32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

// The most StreamBytes of LZHUF can honestly decode to: every symbol costs a bit at least, and
// a match (at most F bytes) ten. Anything beyond that would be made of the zero bits read past
// the end, so a huge claimed length cannot make us decode gigabytes of nothing.
int64_t MaxDecodedLength(int64_t StreamBytes) { return StreamBytes * 8 * lzh::F / 10; }

}  // namespace

std::string LowerSkinName(std::string Name) {
  for (char& c : Name)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return Name;
}

std::vector<std::string> SplitSkinNames(const char* Text, size_t Length) {
  std::vector<std::string> names;
  size_t end = 0;
  while (end < Length && Text[end] != '\0') ++end;
  size_t i = 0;
  while (i < end) {
    size_t start = i;
    while (i < end && Text[i] != '\r' && Text[i] != '\n') ++i;
    names.push_back(LowerSkinName(std::string(Text + start, i - start)));
    if (i < end && Text[i] == '\r') {
      ++i;
      if (i < end && Text[i] == '\n') ++i;
    } else if (i < end) {
      ++i;  // a lone LF
    }
  }
  return names;
}

void TSkinReader::Decompress(TStream* Source, TStream* Target) {
  auto lzh = std::make_unique<TLZH>();  // freed also when decoding raises
  lzh->InputStream = Source;
  lzh->OutputStream = Target;
  Source->SetPosition(0);
  Target->SetPosition(0);
  char length[4];
  Source->ReadBuffer(length, 4);
  TLZH* z = lzh.get();
  lzh->LZHUnpack(
      ReadInt32(length), [z](void* b, uint16_t n, uint16_t& actual) { z->ReadBlock(b, n, actual); },
      [z](const void* b, uint16_t n, uint16_t& actual) { z->WriteBlock(b, n, actual); });
}

bool TSkinReader::LoadFromStream(TStream* Archive) {
  // Refusals of data that does not hold together leave the reader as it was, like an older skin.
  int64_t containerSize = Archive->GetSize();
  if (containerSize < 4) return false;
  char length[4];
  Archive->SetPosition(0);
  Archive->ReadBuffer(length, 4);
  if (ReadInt32(length) > MaxDecodedLength(containerSize - 4)) return false;

  TMemoryStream decoded;
  Decompress(Archive, &decoded);
  const char* bytes = decoded.Memory();
  const int64_t total = int64_t(decoded.Bytes().size());
  if (total < HeaderSize) return false;

  FHeader = {ReadInt32(bytes), ReadInt32(bytes + 4), ReadInt32(bytes + 8), ReadInt32(bytes + 12)};
  if (FHeader.Tag != SkinArchiveTag) {
    SkinReaderMessage("This is Older Skin File\rPlease update to new version !");
    return false;
  }
  if (FHeader.NameLength < 0 || HeaderSize + FHeader.NameLength > total) return false;
  std::vector<std::string> names = SplitSkinNames(bytes + HeaderSize, size_t(FHeader.NameLength));
  if (names.size() > size_t(SkinArchiveMaxEntries)) return false;
  const int64_t sizesAt = HeaderSize + FHeader.NameLength;
  const int64_t dataAt = sizesAt + 4 * int64_t(names.size());
  if (dataAt > total) return false;
  std::array<int32_t, SkinArchiveMaxEntries> sizes{};
  int64_t sum = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadInt32(bytes + sizesAt + 4 * int64_t(i));
    if (sizes[i] < 0) return false;
    sum += sizes[i];
  }
  if (sum > total - dataAt) return false;

  FNames = std::move(names);
  FCount = int32_t(FNames.size());
  FSizes = sizes;
  FData.Clear();
  FData.WriteBuffer(bytes + dataAt, int32_t(total - dataAt));
  return true;
}

void TSkinReader::ExtractAt(int Index, TMemoryStream* Target) {
  int64_t offset = 0;
  for (int i = 0; i < Index; ++i) offset += FSizes[size_t(i)];
  Target->WriteBuffer(FData.Memory() + offset, FSizes[size_t(Index)]);
  Target->SetPosition(0);
}

void TSkinReader::ExtractByName(const std::string& Name, TMemoryStream* Target) {
  Target->Clear();
  const std::string wanted = LowerSkinName(Name);
  for (int i = 0; i < FCount; ++i) {
    if (FNames[size_t(i)] == wanted) {
      ExtractAt(i, Target);
      return;
    }
  }
}

void TSkinReader::ExtractByPart(const std::string& Text, TMemoryStream* Target, std::string& FullName) {
  Target->Clear();
  for (int i = 0; i < FCount; ++i) {
    if (FNames[size_t(i)].find(Text) != std::string::npos) {
      ExtractAt(i, Target);
      FullName = FNames[size_t(i)];
      return;
    }
  }
}
