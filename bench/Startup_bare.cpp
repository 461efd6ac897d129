// The floor of a start under Wine: one plain window, made and shown, and nothing else. With
// "painted" on its command line it prints when the window was shown and when it was completely
// painted (ms since the process was created), as the start-up breakdowns do, and closes it then.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/PaintCount.h"

namespace {
LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(wnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  startup_timing::TPaintCount count("Startup_bare");
  std::unique_ptr<startup_timing::TPaintWatch> watch;
  if (std::strstr(commandLine, "painted"))
    watch = std::make_unique<startup_timing::TPaintWatch>(std::vector{&count}, true);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.lpszClassName = "Startup_bare";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("Startup_bare", "Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           400, 300, nullptr, nullptr, instance, nullptr);
  ShowWindow(wnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (watch)
    std::printf("Bare window: shown at %.1f ms, completely painted at %.1f ms\n", count.Shown(),
                count.Painted());
  return 0;
}
