#include "skin/RezIderData.h"

#include <climits>
#include <cstring>

#include "skin/ImgUtil.h"
#include "skin/SkinRead.h"
#include "tk/FormReader.h"
#include "tk/ImgList.h"
#include "tk/IniFiles.h"

// ---- Records -----------------------------------------------------------------------------------

TDataSkinObject::TDataSkinObject(const std::string& AName)
    : Image(std::make_unique<TBitmap>()), Name(AName) {}

TDataSkinBorder::TDataSkinBorder(const std::string& AName)
    : TDataSkinObject(AName), Image2(std::make_unique<TBitmap>()) {}

TDataSkinButton::TDataSkinButton(const std::string& AName)
    : TDataSkinObject(AName),
      CheckImage(std::make_unique<TBitmap>()),
      RadioImage(std::make_unique<TBitmap>()) {}

TSkinElements::TSkinElements()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      Left(std::make_unique<TDataSkinBorder>("Left")),
      Right(std::make_unique<TDataSkinBorder>("Right")),
      Top(std::make_unique<TDataSkinBorder>("Top")),
      Bottom(std::make_unique<TDataSkinBorder>("Bottom")) {}

TSkinElements::~TSkinElements() {
  if (FFaceBrush) DeleteObject(FFaceBrush);
}

void TSkinElements::ForEachElement(const std::function<void(TDataSkinObject&)>& Visit) {
  for (auto& b : SysButtons) Visit(*b);
  TDataSkinObject* all[] = {Title.get(),
                            Buttons.get(),
                            Tabs.get(),
                            Progress.get(),
                            UpDownHorz.get(),
                            UpDownVert.get(),
                            SunkEdge.get(),
                            ExtraImages.get(),
                            ComboButton.get(),
                            GroupBoxEdge.get(),
                            Toolbars.get(),
                            GroupBox.get(),
                            StatusBarEdges.get(),
                            Headerbar.get(),
                            MenuBarSkin.get(),
                            MenuItem.get(),
                            MenuBackground.get(),
                            ScrollbarSkin.get(),
                            HorzScroll.get(),
                            VertScroll.get(),
                            HorzScrollThumb.get(),
                            VertScrollThumb.get(),
                            TrackbarThumbHorz.get(),
                            TrackbarThumbVert.get(),
                            TrackbarThumbLeft.get(),
                            TrackbarThumbRight.get(),
                            TrackbarThumbUp.get(),
                            TrackbarThumbDown.get(),
                            Left.get(),
                            Right.get(),
                            Top.get(),
                            Bottom.get()};
  for (TDataSkinObject* e : all)
    if (e) Visit(*e);
}

void TSkinElements::Exchange(TSkinElements& o) {
  using std::swap;
  swap(FSkinName, o.FSkinName);
  TColor* mine[] = {&WindowText,    &TitleTextActive, &TitleTextNoActive, &ButtonFace,     &ButtonText,
                    &ButtonHilight, &Buttonlight,     &ButtonShadow,      &ButtonDkShadow, &HilightText,
                    &Hilight,       &Menubar,         &MenuBarText,       &MenuText,       &Menu,
                    &Scrollbar};
  TColor* theirs[] = {
      &o.WindowText,    &o.TitleTextActive, &o.TitleTextNoActive, &o.ButtonFace,     &o.ButtonText,
      &o.ButtonHilight, &o.Buttonlight,     &o.ButtonShadow,      &o.ButtonDkShadow, &o.HilightText,
      &o.Hilight,       &o.Menubar,         &o.MenuBarText,       &o.MenuText,       &o.Menu,
      &o.Scrollbar};
  for (size_t i = 0; i < std::size(mine); ++i) swap(*mine[i], *theirs[i]);
  swap(FColourList, o.FColourList);
  // Painting code may hold these records while it draws: swap what they hold, not the records.
  swap(*Title, *o.Title);
  swap(*Buttons, *o.Buttons);
  swap(*Left, *o.Left);
  swap(*Right, *o.Right);
  swap(*Top, *o.Top);
  swap(*Bottom, *o.Bottom);
  swap(SysButtons, o.SysButtons);
  swap(Tabs, o.Tabs);
  swap(Progress, o.Progress);
  swap(UpDownHorz, o.UpDownHorz);
  swap(UpDownVert, o.UpDownVert);
  swap(SunkEdge, o.SunkEdge);
  swap(ExtraImages, o.ExtraImages);
  swap(ComboButton, o.ComboButton);
  swap(GroupBoxEdge, o.GroupBoxEdge);
  swap(Toolbars, o.Toolbars);
  swap(GroupBox, o.GroupBox);
  swap(StatusBarEdges, o.StatusBarEdges);
  swap(Headerbar, o.Headerbar);
  swap(MenuBarSkin, o.MenuBarSkin);
  swap(MenuItem, o.MenuItem);
  swap(MenuBackground, o.MenuBackground);
  swap(ScrollbarSkin, o.ScrollbarSkin);
  swap(HorzScroll, o.HorzScroll);
  swap(VertScroll, o.VertScroll);
  swap(HorzScrollThumb, o.HorzScrollThumb);
  swap(VertScrollThumb, o.VertScrollThumb);
  swap(TrackbarThumbHorz, o.TrackbarThumbHorz);
  swap(TrackbarThumbVert, o.TrackbarThumbVert);
  swap(TrackbarThumbLeft, o.TrackbarThumbLeft);
  swap(TrackbarThumbRight, o.TrackbarThumbRight);
  swap(TrackbarThumbUp, o.TrackbarThumbUp);
  swap(TrackbarThumbDown, o.TrackbarThumbDown);
  swap(FFaceBrush, o.FFaceBrush);
}

// ---- Value rules -------------------------------------------------------------------------------

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string UpperCase(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// Digits only, as StrToSkinColor collects them; false when the number does not fit an int32.
bool DigitsToInt(const std::string& digits, int32_t& value) {
  int64_t v = 0;
  for (char c : digits) {
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return false;
  }
  value = int32_t(v);
  return true;
}

}  // namespace

TColor StrToSkinColor(const std::string& Text) {
  size_t b = 0, e = Text.size();
  while (b < e && static_cast<unsigned char>(Text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(Text[e - 1]) <= ' ') --e;
  int32_t rgb[4] = {0, 0, 0, 0};  // index 1..3: red, green, blue
  int index = 1;
  std::string number;
  for (size_t i = b; i < e; ++i) {
    if (IsDigit(Text[i])) {
      number += Text[i];
      continue;
    }
    int32_t v;
    // A number too large for an int32 is kept growing, so every later one fails too.
    if (number.empty() || !DigitsToInt(number, v)) continue;
    if (index <= 3) rgb[index] = v;
    ++index;
    number.clear();
  }
  int32_t v;
  if (!number.empty() && index == 3 && DigitsToInt(number, v)) rgb[3] = v;
  return TColor((rgb[1] & 0xFF) | (rgb[2] & 0xFF) << 8 | (rgb[3] & 0xFF) << 16);
}

std::string SkinBitmapEntryName(const std::string& Value) {
  size_t sep = Value.find_last_of("\\:");
  size_t start = sep == std::string::npos ? 0 : sep + 1;
  std::string name = Value.substr(start);
  size_t dot = Value.find_last_of('.');
  if (name.empty() || dot == std::string::npos || dot < start) return "";
  return Value.substr(dot) == ".bmp" ? name : "";
}

int32_t DeriveSysButtonFrames(int Width, int Height, int32_t Action) {
  int32_t frames = 6;
  // Width / Height <= 3.8, in integers: a ratio of exactly 3.8 must not depend on rounding.
  if (Width > 0 && Height > 0) frames = 5 * int64_t(Width) <= 19 * int64_t(Height) ? 3 : 6;
  return Action < 0 ? 6 : frames;
}

int32_t DeriveCheckFrames(int Width, int Height) {
  int32_t frames = Height < 16 ? Width / 13 : Width / 16;
  return frames < 4 ? 4 : frames;
}

// ---- Text drawing ------------------------------------------------------------------------------

bool IsWinNT = (GetVersion() & 0x80000000u) == 0;

int SkinDrawText(HDC DC, std::wstring Text, RECT Rect, UINT Format) {
  int length = int(Text.size());
  if (IsWinNT) return DrawTextW(DC, Text.c_str(), length, &Rect, Format);
  // Eight-bit systems draw the text up to its first null, in the ANSI code page.
  int n = int(wcsnlen(Text.c_str(), size_t(length)));
  std::string ansi;
  if (n > 0) {
    int size = WideCharToMultiByte(CP_ACP, 0, Text.c_str(), n, nullptr, 0, nullptr, nullptr);
    ansi.resize(size_t(size));
    WideCharToMultiByte(CP_ACP, 0, Text.c_str(), n, ansi.data(), size, nullptr, nullptr);
  }
  return DrawTextA(DC, ansi.c_str(), -1, &Rect, Format);
}

// ---- Skin3rd -----------------------------------------------------------------------------------

const char* const DefaultSkin3rd[80] = {
    "TTBDock=Panel",
    "TTBToolbar=Panel",
    "TImageEnMView=scrollbar",
    "TImageEnView=scrollbar",
    "TRzButton=button",
    "TRzCheckGroup=CheckGroup",
    "TRzRadioGroup=Radiogroup",
    "TRzRadioButton=Radiobutton",
    "TRzCheckBox=Checkbox",
    "TRzButtonEdit=Edit",
    "TRzDBRadioGroup=Radiogroup",
    "TRzDBRadioButton=Radiobutton",
    "TRzDBCheckBox=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TLMDCHECKBOX=Checkbox",
    "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton",
    "TLMDGROUPBOX=Panel",
    "TLMDSIMPLEPANEL=Panel",
    "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel",
    "TLMDLMDCalculator=Panel",
    "TLMDHeaderPanel=Panel",
    "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel",
    "TLMDTrackbar=trackbar",
    "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox",
    "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox",
    "TLMDFontCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox",
    "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox",
    "TLMDTrackBarComboBox=combobox",
    "TLMDCalendarComboBox=combobox",
    "TLMDRADIOGROUP=radiogroup",
    "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup",
    "TLMDDBCheckGroup=CheckGroup",
    "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit",
    "TLMDBROWSEEDIT=Edit",
    "TLMDEXTSPINEDIT=Edit",
    "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit",
    "TLMDFILESAVEEDIT=Edit",
    "TLMDCOLOREDIT=Edit",
    "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit",
    "TLMDDBEXTSPINEDIT=Edit",
    "TLMDDBSPINEDIT=Edit",
    "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit",
    "TDBLookupCombobox=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWDBLookupCombo=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=combobox",
    "TWWDBDateTimePicker=Combobox",
    "TWWRADIOGROUP=radiogroup",
    "TWWDBEDIT=Edit",
    "TcxDBCheckBox=checkbox",
    "TcxDBRadioGroup=radiogroup",
    "TcxRadioGroup=radiogroup",
    "TcxCheckBox=checkbox",
    "TOVCPICTUREFIELD=Edit",
    "TOVCDBPICTUREFIELD=Edit",
    "TOVCSLIDEREDIT=Edit",
    "TOVCDBSLIDEREDIT=Edit",
    "TOVCSIMPLEFIELD=Edit",
    "TOVCDBSIMPLEFIELD=Edit",
    "TO32DBFLEXEDIT=Edit",
    "TOVCNUMERICFIELD=Edit",
    "TOVCDBNUMERICFIELD=Edit",
};

// ---- The component -----------------------------------------------------------------------------

namespace {
TSkinManagerLink* NoSkinManager(bool) { return nullptr; }

// The temporary INI file: named by the system inside the temporary folder, whatever the archive
// calls its entry, and deleted however the load ends.
class TTempIniFile {
 public:
  explicit TTempIniFile(const std::string& folder) {
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "skn", 0, name))
      throw EFCreateError("Cannot create a temporary file in " + folder);
    FName = name;
  }
  ~TTempIniFile() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FName.c_str());  // drop the system's cached copy
    DeleteFileA(FName.c_str());
  }
  TTempIniFile(const TTempIniFile&) = delete;
  TTempIniFile& operator=(const TTempIniFile&) = delete;
  const std::string& Name() const { return FName; }

  // The system reads an INI file written within the last seconds anew on every call, as it cannot
  // tell a later write in the same instant apart; dated back a minute, the file is read once and
  // kept. The copy goes with the file, so no later file of this name is answered from it.
  void Write(TMemoryStream& Text) {
    Text.SaveToFile(FName);
    HANDLE file = CreateFileA(FName.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= 60ULL * 10000000ULL;
    FILETIME past{t.LowPart, t.HighPart};
    SetFileTime(file, nullptr, nullptr, &past);
    CloseHandle(file);
  }

 private:
  std::string FName;
};

// Sets a member pointer for the length of a scope.
template <class T>
class TScopedPointer {
 public:
  TScopedPointer(T*& slot, T* value) : FSlot(slot) { FSlot = value; }
  ~TScopedPointer() { FSlot = nullptr; }
  TScopedPointer(const TScopedPointer&) = delete;
  TScopedPointer& operator=(const TScopedPointer&) = delete;

 private:
  T*& FSlot;
};
}  // namespace

TSkinManagerLink* (*SkinManagerLink)(bool Create) = NoSkinManager;

TSkinData::TSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FSkinStream(std::make_unique<TMemoryStream>()),
      FIconPicture(std::make_unique<TBitmap>()),
      FSkin3rd(std::make_unique<TStringList>()) {
  AddDefaultSkin3rd();
  SkinControls.Bits = (1u << xcFastReport) - 1;
  FMenuImages = std::make_unique<TImageList>(nullptr);
  TBitmap glyphs;
  glyphs.LoadFromResourceName(GetModuleHandleA(nullptr), "RIVAZAVEVED");
  FMenuImages->AddMasked(&glyphs, clWhite);
}

TSkinData::~TSkinData() {
  FMenuImages.reset();
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->RemoveSkinData(this);
}

void TSkinData::AddDefaultSkin3rd() {
  for (const char* line : DefaultSkin3rd) FSkin3rd->Add(line);
}

void TSkinData::SetSkin3rd(TStrings* Value) { FSkin3rd->Assign(Value); }

std::string TSkinData::GetSkinStore() const {
  return Designing() && FSkinStream->GetSize() > 0 ? "(Good)" : "(none)";
}

void TSkinData::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "SkinStream", [this](TStream* s) { ReadSkinStream(s); }, [this](TStream* s) { WriteSkinStream(s); },
      true);
}

void TSkinData::ReadSkinStream(TStream* Stream) {
  int32_t n = 0;
  // A value too short for its length, or a length running past the data, would fail the whole
  // form: take no skin instead.
  if (Stream->Read(&n, sizeof n) != sizeof n || n <= 0) return;
  if (n > Stream->GetSize() - Stream->GetPosition()) {
    FSkinStream->Clear();
    Stream->Seek(0, soEnd);
    return;
  }
  FSkinStream->SetSize(n);
  FSkinStream->SetPosition(0);
  Stream->ReadBuffer(FSkinStream->Memory(), n);
  if (!Designing()) LoadFromArchive();
}

void TSkinData::WriteSkinStream(TStream* Stream) {
  int32_t n = int32_t(FSkinStream->GetSize());
  Stream->WriteBuffer(&n, sizeof n);
  if (n > 0) Stream->WriteBuffer(FSkinStream->Memory(), n);
}

bool TSkinData::LoadFromArchive() {
  FNotLoaded = true;
  if (Designing()) return false;
  char tempPath[256];
  DWORD len = GetTempPathA(sizeof tempPath, tempPath);
  std::string folder = len > 0 && len < sizeof tempPath ? std::string(tempPath, len) : std::string(".\\");
  // Any failure leaves the skin not loaded and the previous records in place, and the program
  // runs unskinned rather than failing the form that holds the component.
  try {
    TSkinReader reader;
    TMemoryStream entry;
    TScopedPointer<TSkinReader> readerScope(FReader, &reader);
    TScopedPointer<TMemoryStream> entryScope(FEntryStream, &entry);
    FSkinStream->SetPosition(0);
    if (!reader.LoadFromStream(FSkinStream.get())) return false;
    std::string iniName;
    reader.ExtractByPart(".ini", &entry, iniName);
    if (iniName.empty()) return false;
    TTempIniFile file(folder);
    file.Write(entry);
    ParseSkinIni(file.Name());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  TSkinManagerLink* manager = SkinManagerLink(true);
  if (manager) manager->AddSkinData(this);
  if (SkinFormtype == sfMainform) {
    if (manager) manager->InstallHook();
    if (FActive) {
      if (FNotLoaded)
        FActive = false;
      else if (manager)
        manager->Schedule(1, 250);
    }
  } else if (manager) {
    manager->SetEnabled(true);
    manager->AddActivation();
    manager->SkinOwnerForm(Owner());
  }
}

void TSkinData::SetSkinFile(const std::string& Value) {
  FNotLoaded = true;
  FSkinFile = Value;
  if (Designing()) {
    if (!Value.empty() && FSkinStream->GetSize() > 0) FSkinStream->Clear();
    return;
  }
  DWORD attributes = GetFileAttributesA(Value.c_str());
  if (Value.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  // An unreadable file leaves the archive in memory as it was.
  auto bytes = std::make_unique<TMemoryStream>();
  try {
    bytes->LoadFromFile(Value);
  } catch (const std::exception&) {
    return;
  }
  FSkinStream = std::move(bytes);
  // A file that does not load changes no window: the skinned ones keep what they drew from the
  // skin they have, as after a stored skin that does not load.
  if (LoadFromArchive()) ApplySkin();
}

void TSkinData::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (Designing() || Reading()) return;
  int action = Value ? 1 : 2;
  bool idle = Value && FNotLoaded;  // switching on a skin that is not loaded does nothing
  switch (SkinFormtype) {
    case sfMainform:
      if (idle) return;
      if (TSkinManagerLink* manager = SkinManagerLink(false)) {
        manager->Schedule(action, 250);
        manager->SetPendingSkinData(this);
      }
      break;
    case sfOnlyThisForm:
      if (TSkinManagerLink* manager = SkinManagerLink(false)) {
        manager->SetPendingSkinData(this);
        if (!idle) manager->Schedule(action, 250);
      }
      break;
    case sfDialog:
      break;
  }
}

void TSkinData::ApplySkin() {
  if (Designing() || Reading()) return;
  if (!SkinManagerLink(false)) Loaded();
  TSkinManagerLink* manager = SkinManagerLink(false);
  if (!manager) return;
  manager->SetPendingSkinData(this);
  manager->ClearFormButtons();
  manager->Schedule(3, 250);
}

void TSkinData::DoFormSkin(const std::string& aName, bool& DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, aName, DoSkin);
    return;
  }
  if (aName == "SysMonthCal32")
    DoSkin = false;
  else if (SkinControls.Contains(xcFastReport) && aName.compare(0, 3, "Tfr") == 0)
    DoSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

// ---- The INI parser ----------------------------------------------------------------------------

std::string TSkinData::IniString(const std::string& section, const std::string& key) {
  return FIni->ReadString(section, key, "");
}

int32_t TSkinData::IniInteger(const std::string& section, const std::string& key, int32_t def) {
  return FIni->ReadInteger(section, key, def);
}

TColor TSkinData::ReadColourText(const std::string& text, TColor def) const {
  return text.empty() ? def : StrToSkinColor(text);
}

void TSkinData::ReadRGBKey(const std::string& section, const std::string& word, TColor& field) {
  int32_t r = IniInteger(section, word + "R", -1);
  int32_t g = IniInteger(section, word + "G", -1);
  int32_t b = IniInteger(section, word + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) field = TColor((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

void TSkinData::LoadBitmap(TBitmap* Bitmap, const std::string& Value) {
  std::string name = SkinBitmapEntryName(Value);
  if (name.empty()) {
    Bitmap->Assign(nullptr);
    return;
  }
  FReader->ExtractByName(name, FEntryStream);
  if (FEntryStream->GetSize() < 1) {
    Bitmap->Assign(nullptr);
    return;
  }
  FEntryStream->SetPosition(0);
  Bitmap->LoadFromStream(FEntryStream);
}

void TSkinData::ParseSkinIni(const std::string& FileName) {
  TSkinElements fresh;
  TBufferedIniFile ini(FileName);
  TStringList sections;
  ini.ReadSections(&sections);
  TScopedPointer<TIniFile> iniScope(FIni, &ini);
  TScopedPointer<TStringList> sectionsScope(FSections, &sections);
  TScopedPointer<TSkinElements> parsedScope(FParsed, &fresh);

  fresh.FSkinName = IniString("TitlebarSkin", "SkinName");
  ReadBorders();
  ReadColours();
  ReadExtraColours();
  ReadSysButtons();
  ReadButtons();
  ReadTitle();
  ReadElements();
  SetFrameCounts();
  // The brush takes a real colour: a system colour value is not a COLORREF.
  fresh.FFaceBrush = CreateSolidBrush(ColorToCOLORREF(fresh.ButtonFace));
  Exchange(fresh);
  FNotLoaded = false;
}

void TSkinData::ReadBorders() {
  TDataSkinBorder* edges[] = {FParsed->Left.get(), FParsed->Right.get(), FParsed->Top.get(),
                              FParsed->Bottom.get()};
  for (TDataSkinBorder* e : edges) {
    const std::string& side = e->Name;
    int32_t first = IniInteger("Personality", side + "TopHeight", 0);
    int32_t second = IniInteger("Personality", side + "BotHeight", 0);
    // Left and right edges are cut top and bottom; top and bottom edges left and right.
    bool vertical = side == "Left" || side == "Right";
    e->TopHeight = vertical ? first : 0;
    e->BottomHeight = vertical ? second : 0;
    e->LeftWidth = vertical ? 0 : first;
    e->RightWidth = vertical ? 0 : second;
    e->FrameCount = IniInteger("Personality", side + "Frame", 1);
    e->Tile = IniInteger("Personality", side + "Stretch", 1);
    e->Trans = IniInteger("Personality", side + "Trans", 1);
    LoadBitmap(e->Image.get(), IniString("Personality", side));
  }
}

void TSkinData::ReadColours() {
  TSkinElements& p = *FParsed;
  auto colour = [this](const char* key, TColor def) {
    return ReadColourText(IniString("Colours", key), def);
  };
  p.WindowText = colour("WindowText", clWindowText);
  p.ButtonFace = colour("ButtonFace", clBtnFace);
  p.Scrollbar = colour("Scrollbar", clScrollBar);
  p.HilightText = colour("HilightText", clHighlightText);
  p.Hilight = colour("Hilight", clHighlight);
  p.Menubar = colour("Menubar", p.ButtonFace);
  p.Menu = colour("Menu", clMenu);
  p.MenuText = colour("MenuText", clMenuText);
  p.ButtonText = colour("ButtonText", clBtnText);
  p.ButtonHilight = colour("ButtonHilight", clBtnHighlight);
  p.Buttonlight = colour("Buttonlight", clBtnHighlight);
  p.ButtonShadow = colour("ButtonShadow", clBtnShadow);
  p.ButtonDkShadow = colour("ButtonDkShadow", cl3DDkShadow);
  p.MenuBarText = colour("MenuBarText", clMenuText);
  p.TitleTextActive = colour("TitleTextActive", clCaptionText);
  p.TitleTextNoActive = colour("TitleTextNoActive", clInactiveCaptionText);
}

void TSkinData::ReadExtraColours() {
  FParsed->FColourList.clear();
  for (int i = 0; i < FSections->Count(); ++i) {
    const std::string section = FSections->Strings(i);
    std::string upper = UpperCase(section);
    if (upper.compare(0, 6, "COLOUR") != 0 || upper == "COLOURS") continue;
    FParsed->FColourList.push_back(ReadColourText(IniString(section, "color"), clWindowText));
  }
}

void TSkinData::ReadSysButtons() {
  auto& list = FParsed->SysButtons;
  list.clear();
  std::vector<std::string> kept;
  for (int i = 0; i < FSections->Count(); ++i) {
    const std::string section = FSections->Strings(i);
    std::string upper = UpperCase(section);
    if (upper.compare(0, 6, "BUTTON") != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
      continue;
    if (IniInteger(section, "Action", 0) == -1 && IniInteger(section, "Visibility", -1) != 0) continue;
    kept.push_back(section);
  }
  for (const std::string& section : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(UpperCase(section));
    b->Action = IniInteger(section, "Action", 0);
    b->Align = IniInteger(section, "Align", 0);
    b->Xcoord = IniInteger(section, "Xcoord", 0);
    b->Ycoord = IniInteger(section, "Ycoord", 0);
    b->Visibility = IniInteger(section, "Visibility", 0);
    b->Visibility1 = IniInteger(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = IniInteger(section, "CombineOp", -1);
    b->FrameCount = IniInteger(section, "frame", 0);
    LoadBitmap(b->Image.get(), IniString(section, "ButtonImage"));
    if (b->FrameCount == 0) {
      b->FrameCount = DeriveSysButtonFrames(b->Image->Width(), b->Image->Height(), b->Action);
      // The skinned form draws the window's icon in place of these.
      if (b->Action == 3 || b->Action == 11) b->Image->Assign(nullptr);
    }
    list.push_back(std::move(b));
  }
  for (int32_t action : {7, 8, 9}) {
    auto b = std::make_unique<TDataSkinSysButton>("");
    b->Action = action;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->FrameCount = 4;
    list.push_back(std::move(b));
  }
  ReadMdiControls(kept.size());
}

void TSkinData::ReadMdiControls(size_t n) {
  TBitmap strip;
  LoadBitmap(&strip, IniString("MDICONTROLS", "Image"));
  if (strip.Empty()) return;
  strip.SetPixelFormat(pf24bit);
  const int a = strip.Width() / 12, h = strip.Height();
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& b = *FParsed->SysButtons[n + size_t(i)];
    b.Image->SetPixelFormat(pf24bit);
    b.Image->SetSize(4 * a, h);
    for (int y = 0; a > 0 && y < h; ++y)
      std::memcpy(b.Image->ScanLine(y), static_cast<uint8_t*>(strip.ScanLine(y)) + i * 4 * a * 3,
                  size_t(4 * a) * 3);
    b.Xcoord = (a + 4) * (3 - i);
  }
}

void TSkinData::ReadButtons() {
  TDataSkinButton& b = *FParsed->Buttons;
  const std::string s = "Buttons";
  b.LeftWidth = IniInteger(s, "LeftWidth", 0);
  b.RightWidth = IniInteger(s, "RightWidth", 0);
  b.TopHeight = IniInteger(s, "TopHeight", 0);
  b.BottomHeight = IniInteger(s, "BottomHeight", 0);
  b.Trans = IniInteger(s, "Trans", 0);
  LoadBitmap(b.Image.get(), IniString(s, "Bitmap"));
  b.Tile = IniInteger(s, "Tile", 0);
  LoadBitmap(b.CheckImage.get(), IniString(s, "CheckButton"));
  LoadBitmap(b.RadioImage.get(), IniString(s, "RadioButton"));
  b.NormalColour = IniInteger(s, "NormalColour", -1);
  b.MouseOverColour = IniInteger(s, "MouseOverColour", -1);
  b.PressedColour = IniInteger(s, "PressedColour", -1);
  b.RadioButtonFrame = IniInteger(s, "RadioButtonFrame", 0);
  b.CheckButtonFrame = IniInteger(s, "CheckButtonFrame", 0);
  std::string text = IniString(s, "NormalColour2");
  b.HasNormalColour2 = !text.empty();
  b.NormalColour2 = ReadColourText(text, FParsed->ButtonText);
  text = IniString(s, "MouseOverColour2");
  b.HasMouseOverColour2 = !text.empty();
  b.MouseOverColour2 = ReadColourText(text, FParsed->ButtonText);
  text = IniString(s, "PressedColour2");
  b.HasPressedColour2 = !text.empty();
  b.PressedColour2 = ReadColourText(text, FParsed->ButtonText);
}

void TSkinData::ReadTitle() {
  TDataSkinTitle& t = *FParsed->Title;
  const std::string s = "Personality";
  LoadBitmap(t.Image.get(), IniString(s, "TextBack"));
  t.LeftWidth = IniInteger(s, "TextShift", 0);
  t.TopHeight = IniInteger(s, "TextShiftVert", 0);
  t.RightWidth = IniInteger(s, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = IniInteger(s, "TextAlignment", 0);
  t.Textbackground = IniInteger(s, "Textbackground", 0);
  t.TXTBackleft = IniInteger(s, "TXTBackleft", 0);
  t.TXTBackRight = IniInteger(s, "TXTBackRight", 0);
  t.FontHeight = IniInteger("Fonts", "FontHeight", 14);
  t.ActiveTextColour = clNone;
  t.InActiveTextColour = clNone;
  ReadRGBKey(s, "ActiveText", t.ActiveTextColour);
  ReadRGBKey(s, "InActiveText", t.InActiveTextColour);
}

void TSkinData::ReadGeneric(TDataSkinObject& e, const std::string& section, bool withStyle) {
  if (withStyle) e.Style = IniInteger(section, "Style", 0);
  e.LeftWidth = IniInteger(section, "LeftWidth", 0);
  e.RightWidth = IniInteger(section, "RightWidth", 0);
  e.TopHeight = IniInteger(section, "TopHeight", 0);
  e.BottomHeight = IniInteger(section, "BottomHeight", 0);
  e.Trans = IniInteger(section, "Trans", 0);
  e.Tile = IniInteger(section, "Tile", 0);
  e.NormalColour = IniInteger(section, "NormalColour", -1);
  e.MouseOverColour = IniInteger(section, "MouseOverColour", -1);
  e.PressedColour = IniInteger(section, "PressedColour", -1);
  e.NormalColour2 = ReadColourText(IniString(section, "NormalColour2"), FParsed->ButtonText);
  e.MouseOverColour2 = ReadColourText(IniString(section, "MouseOverColour2"), FParsed->ButtonText);
  e.PressedColour2 = ReadColourText(IniString(section, "PressedColour2"), FParsed->ButtonText);
  if (e.Tile > 1) e.Tile = 0;
}

namespace {
// A fresh record for slot when section names an image under imageKey; the slot stays empty
// otherwise. Returns the new record, or nullptr.
template <class T>
T* NewElement(std::unique_ptr<T>& slot, const std::string& name, const std::string& image) {
  slot.reset();
  if (image.empty()) return nullptr;
  slot = std::make_unique<T>(name);
  return slot.get();
}
}  // namespace

void TSkinData::ReadProgress() {
  TDataSkinBorder* e = NewElement(FParsed->Progress, "Progress", IniString("Progress", "Bitmap"));
  if (!e) return;
  LoadBitmap(e->Image.get(), IniString("Progress", "Bitmap"));
  std::string chunk = IniString("Progress", "Chunk");
  if (!chunk.empty()) LoadBitmap(e->Image2.get(), chunk);
  e->Style = IniInteger("Progress", "Style", 0);
  e->LeftWidth = IniInteger("Progress", "LeftWidth", 0);
  e->RightWidth = IniInteger("Progress", "RightWidth", 0);
  e->TopHeight = IniInteger("Progress", "TopHeight", 0);
  e->BottomHeight = IniInteger("Progress", "BottomHeight", 0);
  e->Trans = IniInteger("Progress", "Trans", 0);
  e->Tile = IniInteger("Progress", "Tile", 0);
}

void TSkinData::ReadMenuBar() {
  TDataSkinObject* e = NewElement(FParsed->MenuBarSkin, "Personality", IniString("Personality", "menuBar"));
  if (!e) return;
  LoadBitmap(e->Image.get(), IniString("Personality", "menuBar"));
  e->Tile = IniInteger("Personality", "TileMenu", 0);
  e->LeftWidth = IniInteger("Personality", "TileLeftMenu", 1);
  e->RightWidth = IniInteger("Personality", "TileRightMenu", 1);
}

void TSkinData::ReadElementPair(std::unique_ptr<TDataSkinBorder>& slot, const std::string& section,
                                const std::string& secondKey) {
  TDataSkinBorder* e = NewElement(slot, section, IniString(section, "Image"));
  if (!e) return;
  LoadBitmap(e->Image.get(), IniString(section, "Image"));
  ReadGeneric(*e, section, false);
  std::string second = IniString(section, secondKey);
  if (!second.empty()) LoadBitmap(e->Image2.get(), second);
}

void TSkinData::ReadElements() {
  TSkinElements& p = *FParsed;
  auto generic = [this](std::unique_ptr<TDataSkinObject>& slot, const char* section) {
    TDataSkinObject* e = NewElement(slot, section, IniString(section, "Image"));
    if (!e) return;
    LoadBitmap(e->Image.get(), IniString(section, "Image"));
    ReadGeneric(*e, section, true);
  };
  ReadProgress();
  ReadMenuBar();
  generic(p.GroupBoxEdge, "GroupBoxEdge");
  if (TDataSkinBoxLabel* e = NewElement(p.GroupBox, "GroupBox", IniString("GroupBox", "Image"))) {
    LoadBitmap(e->Image.get(), IniString("GroupBox", "Image"));
    ReadGeneric(*e, "GroupBox", true);
    e->BackgroundAlignment = IniInteger("GroupBox", "BackgroundAlignment", 0);
    e->BackgroundLeftShift = IniInteger("GroupBox", "BackgroundLeftShift", 0);
    e->BackgroundRightShift = IniInteger("GroupBox", "BackgroundRightShift", 0);
  }
  generic(p.Toolbars, "Toolbars");
  ReadElementPair(p.Tabs, "Tabs", "Border");
  generic(p.StatusBarEdges, "StatusBarEdges");
  ReadElementPair(p.ComboButton, "ComboButton", "****");
  // The combo box's pressed-side button is the normal one mirrored, whatever the skin says.
  if (p.ComboButton && !p.ComboButton->Image->Empty()) {
    p.ComboButton->Image2->Assign(p.ComboButton->Image.get());
    MirrorBitmap(p.ComboButton->Image2.get());
  }
  generic(p.SunkEdge, "SunkEdge");
  generic(p.ExtraImages, "ExtraImages");
  generic(p.Headerbar, "Headerbar");
  generic(p.MenuItem, "MenuItem");
  generic(p.MenuBackground, "MenuBackground");
  generic(p.ScrollbarSkin, "Scrollbar");
  generic(p.HorzScroll, "HorzScroll");
  generic(p.VertScroll, "VertScroll");
  generic(p.HorzScrollThumb, "HorzScrollThumb");
  generic(p.VertScrollThumb, "VertScrollThumb");
  generic(p.TrackbarThumbHorz, "Trackbar.ThumbHorz");
  generic(p.TrackbarThumbVert, "Trackbar.ThumbVert");
  generic(p.TrackbarThumbLeft, "Trackbar.ThumbLeft");
  generic(p.TrackbarThumbRight, "Trackbar.ThumbRight");
  generic(p.TrackbarThumbUp, "Trackbar.ThumbUp");
  generic(p.TrackbarThumbDown, "Trackbar.ThumbDown");
  ReadElementPair(p.UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadElementPair(p.UpDownVert, "UpDown.Vert", "GlyphImage");
}

void TSkinData::SetFrameCounts() {
  TSkinElements& p = *FParsed;
  auto set = [](TDataSkinObject* e, int32_t frames) {
    if (e) e->FrameCount = frames;
  };
  set(p.Buttons.get(), 5);
  TDataSkinButton& b = *p.Buttons;
  if (b.RadioButtonFrame == 0)
    b.RadioButtonFrame = DeriveCheckFrames(b.RadioImage->Width(), b.RadioImage->Height());
  if (b.CheckButtonFrame == 0)
    b.CheckButtonFrame = DeriveCheckFrames(b.CheckImage->Width(), b.CheckImage->Height());
  for (TDataSkinObject* e : {(TDataSkinObject*)p.Title.get(), (TDataSkinObject*)p.Progress.get(),
                             p.MenuBarSkin.get(), p.GroupBoxEdge.get()})
    set(e, 2);
  set(p.StatusBarEdges.get(), 3);
  for (TDataSkinObject* e :
       {(TDataSkinObject*)p.ComboButton.get(), p.SunkEdge.get(), p.HorzScroll.get(), p.VertScroll.get()})
    set(e, 4);
  for (TDataSkinObject* e :
       {p.Toolbars.get(), (TDataSkinObject*)p.Tabs.get(), p.ExtraImages.get(), p.Headerbar.get(),
        p.MenuItem.get(), p.TrackbarThumbHorz.get(), p.TrackbarThumbVert.get(), p.TrackbarThumbLeft.get(),
        p.TrackbarThumbRight.get(), p.TrackbarThumbUp.get(), p.TrackbarThumbDown.get()})
    set(e, 5);
  set(p.UpDownHorz.get(), 8);
  set(p.UpDownVert.get(), 8);
  set(p.GroupBox.get(), 1);
  set(p.MenuBackground.get(), 1);
  set(p.ScrollbarSkin.get(), 23);
  set(p.HorzScrollThumb.get(), IniInteger("HorzScrollThumb", "FrameCount", 3));
  set(p.VertScrollThumb.get(), IniInteger("VertScrollThumb", "FrameCount", 3));

  // A skin may give zero or negative counts, or negative margins: every strip is cut into at
  // least one frame, and margins are measured inward, so drawing never divides by zero or
  // reads outside a strip.
  p.ForEachElement([&p](TDataSkinObject& e) {
    if (e.FrameCount < 1) e.FrameCount = 1;
    if (&e == p.Title.get()) return;  // the title's "margins" are text shifts
    for (int32_t* m : {&e.LeftWidth, &e.TopHeight, &e.RightWidth, &e.BottomHeight})
      if (*m < 0) *m = 0;
  });
  if (b.RadioButtonFrame < 1) b.RadioButtonFrame = 1;
  if (b.CheckButtonFrame < 1) b.CheckButtonFrame = 1;
}

// ---- Form descriptions -------------------------------------------------------------------------

void RegisterSkinData() {
  static const TIdentMap controlTypes = {{"xcMainMenu", xcMainMenu},
                                         {"xcPopupMenu", xcPopupMenu},
                                         {"xcToolbar", xcToolbar},
                                         {"xcControlbar", xcControlbar},
                                         {"xcCombo", xcCombo},
                                         {"xcCheckBox", xcCheckBox},
                                         {"xcRadioButton", xcRadioButton},
                                         {"xcProgress", xcProgress},
                                         {"xcScrollbar", xcScrollbar},
                                         {"xcEdit", xcEdit},
                                         {"xcButton", xcButton},
                                         {"xcBitBtn", xcBitBtn},
                                         {"xcSpeedButton", xcSpeedButton},
                                         {"xcPanel", xcPanel},
                                         {"xcGroupBox", xcGroupBox},
                                         {"xcStatusBar", xcStatusBar},
                                         {"xcTab", xcTab},
                                         {"xcSystemMenu", xcSystemMenu},
                                         {"xcFastReport", xcFastReport}};
  static const TIdentMap formTypes = {
      {"sfMainform", sfMainform}, {"sfOnlyThisForm", sfOnlyThisForm}, {"sfDialog", sfDialog}};
  RegisterComponentClass<TSkinData>();
  Published<TSkinData>()
      .Property("Active", &TSkinData::SetActive)
      .Property("DisableTag", &TSkinData::DisableTag)
      .Custom("SkinControls", [](TSkinData* d, const TValue& v,
                                 TReader&) { d->SkinControls.Bits = ValueToSet(v, controlTypes); })
      .Object("Skin3rd", [](TSkinData* d) -> TPersistent* { return d->Skin3rd(); })
      .Property("SkinFile", &TSkinData::SetSkinFile)
      .Property("SkinStore", &TSkinData::SetSkinStore)
      .Property("SkinFormtype", &TSkinData::SkinFormtype, formTypes)
      .Property("Version", &TSkinData::SetVersion)
      .Property("MenuUpdate", &TSkinData::MenuUpdate)
      .Event("OnFormSkin", &TSkinData::OnFormSkin)
      .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
      .Event("OnSkinControl", &TSkinData::OnSkinControl);
}
