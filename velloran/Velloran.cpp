// Program start: one instance per logon, the splash while the main window fetches the content
// lists, then the message loop; at the end the application object goes, with everything it owns.
#include <windows.h>

#include "tk/Forms.h"
#include "tk/Http.h"
#include "velloran/Uni_Flash.h"
#include "velloran/Uni_Function.h"
#include "velloran/Uni_Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->SetTitle("Corvanel");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Corvanel");
  DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    ShowInfo("Corvanel is Already Run!");
    Application->Terminate();
    DoneApplication();
    return 0;
  }
  // The mutex handle stays open for the life of the process; the system lets go of it at the end.
  try {
    RegisterVelloranClasses();
    // While a request blocks, messages take the application's own road (its message handlers
    // included).
    SetHttpMessagePump([] { Application->ProcessMessages(); });
    Application->Initialize();

    frm_Flash = TCustomForm::Create<Tfrm_Flash>(Application);
    Application->ProcessMessages();
    frm_Flash->Show();
    Application->ProcessMessages();

    Application->CreateForm(frm_Main);
    while (!frm_Main->FReady) frm_Flash->Update();
    frm_Flash->Hide();
    delete frm_Flash;
    frm_Flash = nullptr;

    Application->Run();
  } catch (const std::exception& e) {
    Application->ShowException(e.what());
  }
  DoneApplication();
  return 0;
}
