// The test harness itself: real windows under Wine, pixels read back, and the prefix set up the
// way the window tests rely on (no visual style, Wine's fonts).
#include <gtest/gtest.h>
#include <windows.h>

namespace {

LRESULT CALLBACK RedPaintProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT rc;
    GetClientRect(wnd, &rc);
    FillRect(dc, &rc, red);
    DeleteObject(red);
    EndPaint(wnd, &ps);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

HWND g_activated = nullptr;

LRESULT CALLBACK RecordActivation(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) g_activated = reinterpret_cast<HWND>(wp);
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST(Harness, WindowPaintsAndPixelsReadBack) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RedPaintProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "HarnessRed";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND wnd = CreateWindowA("HarnessRed", "red", WS_POPUP | WS_VISIBLE, 10, 10, 50, 40, nullptr, nullptr,
                           wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  UpdateWindow(wnd);
  char cls[64];
  GetClassNameA(wnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "HarnessRed");

  HDC dc = GetDC(wnd);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 49, 39), RGB(255, 0, 0));
  ReleaseDC(wnd, dc);
  DestroyWindow(wnd);
  UnregisterClassA("HarnessRed", wc.hInstance);
}

TEST(Harness, ThreadCbtHookSeesActivation) {
  HHOOK hook = SetWindowsHookExA(WH_CBT, RecordActivation, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  HWND wnd = CreateWindowA("STATIC", "hooked", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(wnd, nullptr);
  g_activated = nullptr;
  ShowWindow(wnd, SW_SHOW);
  SetActiveWindow(wnd);
  EXPECT_EQ(g_activated, wnd);
  UnhookWindowsHookEx(hook);
  DestroyWindow(wnd);
}

TEST(Harness, PrefixHasNoVisualStyleAndItsOwnFonts) {
  HKEY key;
  char value[8] = "";
  DWORD size = sizeof value;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0,
                          KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "ThemeActive", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(value, "0");

  char fonts[MAX_PATH];
  GetWindowsDirectoryA(fonts, MAX_PATH);
  lstrcatA(fonts, "\\Fonts\\tahoma.ttf");
  EXPECT_NE(GetFileAttributesA(fonts), INVALID_FILE_ATTRIBUTES);
}
