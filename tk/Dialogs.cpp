#include "tk/Dialogs.h"

#include "tk/Forms.h"

int TaskMessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  TCustomForm* active = Screen->ActiveForm();
  HWND owner = active && active->HandleAllocated() ? active->Handle() : Application->Handle();
  // The box disables its owner itself and enables it again before it goes, so the system gives the
  // activation back to the owner instead of to another program.
  auto disabled = DisableTaskWindows(owner);
  int result = MessageBoxA(owner, Text.c_str(), Caption.c_str(), Flags);
  EnableTaskWindows(disabled);
  RestoreActiveWindow(disabled);
  return result;
}
