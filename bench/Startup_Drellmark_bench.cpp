// Where Drellmark's start goes: the program's start made step by step as its WinMain makes it, the
// skin component, the ActiveX control and the main form standing in with timing of their own.
// Run by bench/startup; prints the phases up to the account dialog painted, and closes it then.
// With "plain" on its command line it makes the plain peer: the same forms from the same
// descriptions, the skin component left out.
#include <windows.h>

#include <cstring>

#include "bench/StartupTiming.h"
#include "drellmark/Uni_Main.h"
#include "tk/OleCtrls.h"

using namespace startup_timing;

namespace {

TTimeline Timeline;

class TTimedMain : public TTimedForm<Tfrm_Main> {
 public:
  explicit TTimedMain(TComponent* AOwner) : TTimedForm<Tfrm_Main>(AOwner) {
    frm_Main = this;
    Timeline.Mark("main form description read");
    TNotifyEvent show = OnShow;
    OnShow = [show](TObject* Sender) {
      Timeline.Mark("main window shown and skinned");
      show(Sender);  // the account dialog, until the watch closes it
      Application->Terminate();
    };
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  Timeline.Mark("process start, until WinMain");
  Application->SetTitle("Drellmark");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Drellmark");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    std::printf("Drellmark runs already\n");
    return 1;
  }
  TPaintCount main("Tfrm_Main"), dialog("Tfrm_GetSummary");
  TPaintWatch watch({&main, &dialog}, true);
  RegisterDrellmarkClasses();
  UseTimedClasses<TShockwaveFlash>(std::strstr(commandLine, "plain") != nullptr);
  Application->Initialize();
  Timeline.Mark("application");
  TTimedMain* form = nullptr;
  Application->CreateForm(form);
  Application->Run();
  if (!watch.Done()) {
    std::printf("Drellmark's main window or account dialog was not painted\n");
    return 1;
  }
  Timeline.MarkAt("account dialog made and shown", dialog.Shown());
  Timeline.MarkAt("account dialog completely painted", dialog.Painted());
  Timeline.Print("Drellmark", "skin load", "COM and control creation (windows)");
  PrintPaints(main, "Drellmark's main window");
  PrintPaints(dialog, "Drellmark's account dialog");
  return 0;
}
