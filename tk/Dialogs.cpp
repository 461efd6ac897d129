#include "tk/Dialogs.h"

#include "tk/Forms.h"

int TaskMessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  TCustomForm* active = Screen->ActiveForm();
  HWND owner = active && active->HandleAllocated() ? active->Handle() : Application->Handle();
  auto disabled = DisableTaskWindows(nullptr);
  int result = MessageBoxA(owner, Text.c_str(), Caption.c_str(), Flags);
  EnableTaskWindows(disabled);
  return result;
}
