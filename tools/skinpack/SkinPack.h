// Building skin archives: entries in, the bytes the engine's reader (skin/SkinRead.h) takes out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TSkinEntry {
  std::string Name;
  std::vector<uint8_t> Data;
};

// The decoded archive: tag, name table length, two zero words, the names each ending with CR LF,
// the sizes, then the data, all in the given order. Throws std::invalid_argument for a name the
// table cannot hold (CR, LF or a zero byte in it) or more entries than the reader takes.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinEntry>& Entries);

// The archive as a skin file holds it: the compressed container of BuildSkinArchive's bytes.
std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinEntry>& Entries);

// The form property's form of an archive: its length as int32 little-endian, then the archive.
std::vector<uint8_t> SkinStreamForm(const std::vector<uint8_t>& Archive);

// A skin folder's entries: its one .ini description first, then its .bmp files ordered by their
// lower-case names (byte order); other files are not part of a skin and are left out. Names are
// the file names as they are. Throws std::runtime_error when the folder has no .ini or several, or
// two files whose names differ only in case (the reader could only ever find the first).
std::vector<TSkinEntry> ReadSkinFolder(const std::string& Folder);
