// Helpers for the skin component's tests: skin archives built in memory from an INI text and
// solid-colour bitmaps, and a skin manager that records what the component asks of it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/RezIderData.h"
#include "skin/SkinRead.h"
#include "tk/Graphics.h"
#include "tools/skinpack/LZHPack.h"
#include "tools/skinpack/SkinPack.h"

namespace skintest {

// The BMP file bytes of a w x h picture in one colour (0x00BBGGRR).
inline std::vector<uint8_t> SolidBmp(int w, int h, COLORREF colour) {
  TBitmap bmp(w, h, pf24bit);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = static_cast<uint8_t*>(bmp.ScanLine(y));
    for (int x = 0; x < w; ++x) {
      p[x * 3] = GetBValue(colour);
      p[x * 3 + 1] = GetGValue(colour);
      p[x * 3 + 2] = GetRValue(colour);
    }
  }
  TMemoryStream s;
  bmp.SaveToStream(&s);
  return std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end());
}

inline std::vector<uint8_t> TextBytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

// A packed archive: the INI under iniName first, then the other entries in the given order.
inline std::vector<uint8_t> Archive(const std::string& ini, std::vector<TSkinEntry> entries = {},
                                    const std::string& iniName = "skin.ini") {
  entries.insert(entries.begin(), TSkinEntry{iniName, TextBytes(ini)});
  return PackSkinArchive(entries);
}

// Puts the archive bytes into the component and loads them, as a skin file would.
inline bool LoadArchive(TSkinData& data, const std::vector<uint8_t>& archive) {
  data.FSkinStream->Clear();
  data.FSkinStream->WriteBuffer(archive.data(), int32_t(archive.size()));
  return data.LoadFromArchive();
}

inline COLORREF PixelOf(TBitmap* bmp, int x, int y) {
  const uint8_t* p = static_cast<const uint8_t*>(bmp->ScanLine(y));
  int step = bmp->PixelFormat() == pf32bit ? 4 : 3;
  return RGB(p[x * step + 2], p[x * step + 1], p[x * step]);
}

// Records each request as one line: "Schedule 1 250", "AddSkinData", ...
class TRecordingManager : public TSkinManagerLink {
 public:
  std::vector<std::string> Calls;
  TSkinData* Pending = nullptr;
  TComponent* OwnerAsked = nullptr;
  void AddSkinData(TSkinData*) override { Calls.push_back("AddSkinData"); }
  void RemoveSkinData(TSkinData*) override { Calls.push_back("RemoveSkinData"); }
  void InstallHook() override { Calls.push_back("InstallHook"); }
  void SkinOwnerForm(TComponent* Owner) override {
    Calls.push_back("SkinOwnerForm");
    OwnerAsked = Owner;
  }
  void ClearFormButtons() override { Calls.push_back("ClearFormButtons"); }
  void Schedule(int Action, int Interval) override {
    Calls.push_back("Schedule " + std::to_string(Action) + " " + std::to_string(Interval));
  }
  void SetEnabled(bool Value) override { Calls.push_back(Value ? "Enabled" : "Disabled"); }
  void AddActivation() override { Calls.push_back("AddActivation"); }
  void SetPendingSkinData(TSkinData* Data) override {
    Calls.push_back("Pending");
    Pending = Data;
  }
};

// Installs a recording manager for one test; `exists` says whether it counts as already made.
class TManagerScope {
 public:
  explicit TManagerScope(bool exists = true) {
    Instance = &Manager;
    Exists = exists;
    FSaved = SkinManagerLink;
    SkinManagerLink = [](bool create) -> TSkinManagerLink* {
      if (create) Exists = true;
      return Exists ? Instance : nullptr;
    };
  }
  ~TManagerScope() {
    SkinManagerLink = FSaved;
    Instance = nullptr;
  }
  TManagerScope(const TManagerScope&) = delete;
  TManagerScope& operator=(const TManagerScope&) = delete;
  TRecordingManager Manager;

 private:
  static inline TRecordingManager* Instance = nullptr;
  static inline bool Exists = false;
  TSkinManagerLink* (*FSaved)(bool);
};

// Captures the archive reader's message instead of showing a message box.
class TReaderMessageScope {
 public:
  TReaderMessageScope() {
    Messages().clear();
    FSaved = SkinReaderMessage;
    SkinReaderMessage = [](const std::string& text) { Messages().push_back(text); };
  }
  ~TReaderMessageScope() { SkinReaderMessage = FSaved; }
  TReaderMessageScope(const TReaderMessageScope&) = delete;
  TReaderMessageScope& operator=(const TReaderMessageScope&) = delete;
  static std::vector<std::string>& Messages() {
    static std::vector<std::string> m;
    return m;
  }

 private:
  TSkinMessageProc FSaved;
};

// The files in the temporary folder, so a test can tell that a load left none behind.
inline std::vector<std::string> TempFiles() {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(path) + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

}  // namespace skintest
