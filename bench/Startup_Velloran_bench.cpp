// Where Velloran's start goes: the program's start made step by step as its WinMain makes it, the
// skin component, the ActiveX controls and the main form standing in with timing of their own.
// Run by bench/startup (it needs the content server); prints the phases up to the main window
// painted, and closes it then.
// With "plain" on its command line it makes the plain peer: the same forms from the same
// descriptions, the skin component left out.
#include <windows.h>

#include <cstring>

#include "bench/StartupTiming.h"
#include "tk/Http.h"
#include "tk/OleCtrls.h"
#include "velloran/Uni_Flash.h"
#include "velloran/Uni_Function.h"
#include "velloran/Uni_Main.h"

using namespace startup_timing;

namespace {

TTimeline Timeline;

class TTimedMain : public TTimedForm<Tfrm_Main> {
 public:
  explicit TTimedMain(TComponent* AOwner) : TTimedForm<Tfrm_Main>(AOwner) {
    frm_Main = this;
    Timeline.Mark("main form description read");
    TNotifyEvent create = OnCreate;
    OnCreate = [create](TObject* Sender) {
      Timeline.Mark("main form made, before its creation step");
      create(Sender);
      Timeline.Mark("probe and lists (the creation step)");
    };
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  Timeline.Mark("process start, until WinMain");
  Application->SetTitle("Corvanel");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Corvanel");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    std::printf("Velloran runs already\n");
    return 1;
  }
  TPaintCount count("Tfrm_Main");
  TPaintWatch watch({&count}, true);
  RegisterVelloranClasses();
  UseTimedClasses<TShockwaveFlash, TWebBrowser>(std::strstr(commandLine, "plain") != nullptr);
  SetHttpMessagePump([] { Application->ProcessMessages(); });
  Application->Initialize();
  Timeline.Mark("application");

  frm_Flash = TCustomForm::Create<Tfrm_Flash>(Application);
  Application->ProcessMessages();
  frm_Flash->Show();
  Application->ProcessMessages();
  Timeline.Mark("splash window made and shown");

  TTimedMain* main = nullptr;
  Application->CreateForm(main);
  while (!main->FReady) frm_Flash->Update();
  frm_Flash->Hide();
  delete frm_Flash;
  frm_Flash = nullptr;
  Timeline.Mark("splash window away");
  Application->Run();
  if (!watch.Done()) {
    std::printf("Velloran's main window was not painted\n");
    return 1;
  }
  Timeline.MarkAt("main window shown", count.Shown());
  Timeline.MarkAt("main window completely painted", count.Painted());
  Timeline.Print("Velloran", "skin load", "COM and control creation (windows)");
  PrintPaints(count, "Velloran's main window");
  return 0;
}
