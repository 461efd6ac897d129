// The keeper's start: one instance per logon, then the main window and the message loop; at the
// end the application object goes, with everything it owns.
#include <windows.h>

#include "drellmark/Uni_Main.h"
#include "velloran/Uni_Function.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->SetTitle("Drellmark");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Drellmark");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    ShowInfo("Drellmark is Already Run!");
    Application->Terminate();
    DoneApplication();
    return 0;
  }
  // Any other failure to make the mutex still starts the program; the handle lives with it.
  try {
    Application->Initialize();
    Application->CreateForm(frm_Main);
    Application->Run();
  } catch (const std::exception& e) {
    Application->ShowException(e.what());
  }
  DoneApplication();
  return 0;
}
