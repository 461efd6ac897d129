#include "drellmark/Uni_Main.h"

#include <windows.h>
#include <shellapi.h>

#include "skin/RezIderData.h"

#include "drellmark/Uni_Function.h"
#include "drellmark/Uni_GetSummary.h"
#include "tk/FormReader.h"
#include "velloran/Uni_About.h"
#include "velloran/Uni_Function.h"

Tfrm_Main* frm_Main = nullptr;

namespace {

// An open registry key, closed whatever happens while it is read.
struct TRegKey {
  HKEY Value = nullptr;
  ~TRegKey() {
    if (Value) RegCloseKey(Value);
  }
};

// The account the chat client remembers, when its key and value exist. A value that is not a
// string is a failure of its own: it is not taken for a missing one.
bool ReadMessengerAccount(std::string& Account) {
  TRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kMessengerKey, 0, KEY_READ, &key.Value) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Value, kMessengerAccountValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw Exception(std::string("Invalid data type for '") + kMessengerAccountValue + "'");
  std::string data(size, '\0');
  if (size > 0 && RegQueryValueExA(key.Value, kMessengerAccountValue, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    throw Exception(std::string("Cannot read '") + kMessengerAccountValue + "'");
  // The stored text may or may not carry its terminating zero.
  data.resize(std::min<size_t>(size, data.size()));
  Account = data.substr(0, data.find('\0'));
  return true;
}

// Delphi's Trim: blanks and control characters off both ends.
std::string Trim(const std::string& S) {
  size_t b = 0, e = S.size();
  while (b < e && static_cast<unsigned char>(S[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(S[e - 1]) <= ' ') --e;
  return S.substr(b, e - b);
}

std::string LowerCase(std::string S) {
  for (char& c : S)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return S;
}

std::string ExtractFileName(const std::string& Path) {
  size_t slash = Path.find_last_of("\\/:");
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

}  // namespace

void RegisterDrellmarkClasses() {
  static const bool registered = [] {
    RegisterCodeListBox();
    RegisterOleControls();
    RegisterSkinData();
    Tfrm_About::Register();
    Published<Tfrm_Main>()
        .Field("sbMain", &Tfrm_Main::sbMain)
        .Field("pnlBottom", &Tfrm_Main::pnlBottom)
        .Field("bnHelp", &Tfrm_Main::bnHelp)
        .Field("btnAccount", &Tfrm_Main::btnAccount)
        .Field("btnRemove", &Tfrm_Main::btnRemove)
        .Field("btnAbout", &Tfrm_Main::btnAbout)
        .Field("btnExit", &Tfrm_Main::btnExit)
        .Field("pnlLeft", &Tfrm_Main::pnlLeft)
        .Field("lstWinks", &Tfrm_Main::lstWinks)
        .Field("pnlClient", &Tfrm_Main::pnlClient)
        .Field("GroupBox1", &Tfrm_Main::GroupBox1)
        .Field("sflash", &Tfrm_Main::sflash)
        .Field("ImgList", &Tfrm_Main::ImgList)
        .Field("ApplicationEvents1", &Tfrm_Main::ApplicationEvents1)
        .Method("FormShow", &Tfrm_Main::FormShow)
        .Method("btnExitClick", &Tfrm_Main::btnExitClick)
        .Method("btnAboutClick", &Tfrm_Main::btnAboutClick)
        .Method("bnHelpClick", &Tfrm_Main::bnHelpClick)
        .Method("btnAccountClick", &Tfrm_Main::btnAccountClick)
        .Method("btnRemoveClick", &Tfrm_Main::btnRemoveClick)
        .Method("lstWinksClick", &Tfrm_Main::lstWinksClick)
        .Method("lstWinksDrawItem", &Tfrm_Main::lstWinksDrawItem)
        .Method("ApplicationEvents1Message", &Tfrm_Main::ApplicationEvents1Message);
    return true;
  }();
  (void)registered;
}

Tfrm_Main::Tfrm_Main(TComponent* AOwner) : TForm(AOwner) {
  RegisterDrellmarkClasses();
  ReadComponentRes(this);
}

void Tfrm_Main::FormShow(TObject*) { btnAccount->Click(); }

void Tfrm_Main::btnExitClick(TObject*) { Close(); }

void Tfrm_Main::btnAboutClick(TObject*) { ShowAboutBox(apDrellmark); }

void Tfrm_Main::bnHelpClick(TObject*) { ShellOpen(Handle(), "Velloran.chm"); }

void Tfrm_Main::ApplicationEvents1Message(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_RBUTTONDOWN || Msg.message == WM_RBUTTONUP) Handled = true;
}

void Tfrm_Main::btnAccountClick(TObject*) {
  ReadMessengerAccount(FAccount);
  InputDialog("Input", "Please enter the account of MSN Messenger:", FAccount);
  if (!Trim(FAccount).empty()) ListWinks(FAccount);
}

uint32_t Tfrm_Main::AccountHash(const std::string& Account) {
  uint32_t hash = 0;
  for (unsigned char byte : Account) hash = hash * 101u + byte;
  return hash;
}

void Tfrm_Main::ListWinks(const std::string& Account) {
  FWinksFolder =
      AppDataFolder() + "\\Microsoft\\MSN Messenger\\" + std::to_string(AccountHash(Account)) + "\\Winks3\\";
  ListWinksFolder();
}

void Tfrm_Main::ListWinksFolder() {
  lstWinks->Codes()->Clear();
  lstWinks->Items().Clear();
  TStringList found;
  FindFiles(FWinksFolder, "*.dat", &found);
  for (int i = 0; i < found.Count(); ++i) {
    // The client's own map keeps its number: rows are numbered by position in the search.
    if (LowerCase(found.Strings(i)) == "map.dat") continue;
    lstWinks->Codes()->Add(FWinksFolder + found.Strings(i));
    lstWinks->Items().Add("Winks" + std::to_string(i + 1));
  }
}

void Tfrm_Main::lstWinksClick(TObject*) {
  int index = lstWinks->ItemIndex();
  if (index < 0) return;
  std::string package = ShortPath(lstWinks->Codes()->Strings(index));
  std::string folder = TempFolder() + ExtractFileName(package) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  // Without short names (a volume that has none) a path can keep its blanks.
  std::string parameters = CommandLinePath(package) + " -f:*.* " + CommandLinePath(ShortPath(folder));
  auto started =
      reinterpret_cast<INT_PTR>(ShellExecuteA(Handle(), "open", "expand", parameters.c_str(), "", SW_HIDE));
  if (started <= 32) return;
  // The expander's only allowance: nothing waits for it to end.
  Sleep(450);
  TStringList movies;
  FindFiles(folder, "*.swf", &movies);
  if (movies.Count() == 0) return;
  try {
    sflash->SetMovie(folder + movies.Strings(movies.Count() - 1));
    sflash->Play();
  } catch (const std::exception&) {
    // A player that refuses the movie leaves the preview as it was.
  }
}

void Tfrm_Main::btnRemoveClick(TObject*) {
  int index = lstWinks->ItemIndex();
  if (index < 0) return;
  DeleteFileA(lstWinks->Codes()->Strings(index).c_str());
  // The rows' own folder: an account of blanks was taken without being listed.
  ListWinksFolder();
}

void Tfrm_Main::lstWinksDrawItem(TWinControl*, int Index, RECT Rect, TOwnerDrawState) {
  TCanvas* canvas = lstWinks->Canvas();
  canvas->FillRect(Rect);
  // A face named after the row finds no font: the system's substitute at its default height shows.
  canvas->Font()->SetName(lstWinks->Items().Strings(Index));
  canvas->Font()->SetHeight(0);
  ImgList->Draw(canvas, Rect.left + 1, Rect.top + 1, 0);
  canvas->TextOut(Rect.left + 17, Rect.top + 1, lstWinks->Items().Strings(Index));
}
