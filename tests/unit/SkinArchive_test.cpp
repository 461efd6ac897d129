// The archive reader in the Windows build: its one message is a real message box. (The decoder,
// reader and packer tests of the host build run here as well; see SkinArchive_test.cmake.)
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "skin/SkinRead.h"
#include "tests/native/SkinArchiveTesting.h"
#include "tk/Forms.h"
#include "tools/skinpack/LZHPack.h"

namespace {

struct TSeenBox {
  std::string Caption, Text;
  bool HasOk = false, HasCancel = false;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM found) {
  char cls[16] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::string(cls) != "#32770" || !IsWindowVisible(wnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = wnd;
  return FALSE;
}

// Waits for the message box of this thread's process, reads it and presses OK.
void AnswerBox(DWORD threadId, TSeenBox& seen, std::atomic<bool>& done) {
  for (int tries = 0; tries < 500 && !done; ++tries) {
    HWND box = nullptr;
    EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&box));
    if (box) {
      char buf[256] = "";
      GetWindowTextA(box, buf, sizeof buf);
      seen.Caption = buf;
      GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);  // the message box's text control
      seen.Text = buf;
      seen.HasOk = GetDlgItem(box, IDOK) != nullptr;
      seen.HasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return;
    }
    Sleep(20);
  }
}

}  // namespace

TEST(SkinReaderWindows, OlderTagShowsAPlainMessageBoxWithTheApplicationTitle) {
  ASSERT_EQ(SkinReaderMessage, &DefaultSkinReaderMessage);
  Bytes decoded = {0x1F, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // tag 19999, no names
  Bytes container = LZHPack(decoded);
  TMemoryStream archive;
  FillStream(archive, container);

  Application->SetTitle("Corvanel");
  TSeenBox seen;
  std::atomic<bool> done{false};
  std::thread answer(AnswerBox, GetCurrentThreadId(), std::ref(seen), std::ref(done));
  TSkinReader reader;
  bool loaded = reader.LoadFromStream(&archive);
  done = true;
  answer.join();

  EXPECT_FALSE(loaded);
  EXPECT_EQ(seen.Caption, "Corvanel");
  // The box shows the carriage return as a line break; the text itself keeps it.
  EXPECT_EQ(seen.Text, "This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(seen.HasOk);
  EXPECT_FALSE(seen.HasCancel);
}
