#include "velloran/Uni_Function.h"

#include <shellapi.h>

#include "tk/Dialogs.h"

namespace {
TShellExecuteA g_shellExecute = ShellExecuteA;
}

void ShowInfo(const std::string& Text) { TaskMessageBox(Text, "Information", MB_OK | MB_ICONINFORMATION); }

void ShellOpen(HWND Owner, const std::string& FileName) {
  g_shellExecute(Owner, "open", FileName.c_str(), "", "", SW_SHOWNORMAL);
}

TShellExecuteA SetShellExecute(TShellExecuteA Call) {
  TShellExecuteA old = g_shellExecute;
  g_shellExecute = Call ? Call : ShellExecuteA;
  return old;
}
