// The skin component and the skin it holds: element records cut from the skin's INI description
// and bitmaps, the skin colours, and the text drawing every skinned window shares.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tk/Classes.h"
#include "tk/Graphics.h"

class TIniFile;
class TImageList;
class TSkinReader;
class TControl;
class TSkinData;

// ---- Skin element records ----------------------------------------------------------------------

// One skin element: a strip of FrameCount equal frames and the numbers that cut, stretch and
// colour it. Plain data: the parser fills it, painting code reads it by field.
class TDataSkinObject : public TObject {
 public:
  TK_CLASS(TDataSkinObject, TObject)
  explicit TDataSkinObject(const std::string& AName);
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  std::unique_ptr<TBitmap> Image;
  int32_t Trans = 0;  // non-zero: 0xFF00FF pixels are transparent
  int32_t Tile = 0;   // 1: centre tiled; window edges hold <Side>Stretch here (1 = stretched)
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  TColor NormalColour = 0;
  TColor MouseOverColour = 0;
  TColor PressedColour = 0;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;

  // The four margins as the drawing routines take them.
  RECT Margins() const { return RECT{LeftWidth, TopHeight, RightWidth, BottomHeight}; }
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  TK_CLASS(TDataSkinBorder, TDataSkinObject)
  explicit TDataSkinBorder(const std::string& AName);
  TDataSkinBorder(TDataSkinBorder&&) = default;
  TDataSkinBorder& operator=(TDataSkinBorder&&) = default;
  std::unique_ptr<TBitmap> Image2;
};

// The caption: LeftWidth holds TextShift, TopHeight TextShiftVert, RightWidth TextRightClip.
class TDataSkinTitle : public TDataSkinObject {
 public:
  TK_CLASS(TDataSkinTitle, TDataSkinObject)
  using TDataSkinObject::TDataSkinObject;
  TDataSkinTitle(TDataSkinTitle&&) = default;
  TDataSkinTitle& operator=(TDataSkinTitle&&) = default;
  int32_t TextAlignment = 0;
  int32_t Textbackground = 0;
  int32_t FontHeight = 0;
  int32_t TXTBackleft = 0;
  int32_t TXTBackRight = 0;
  TColor ActiveTextColour = 0;    // clNone when the skin gives none
  TColor InActiveTextColour = 0;  // clNone when the skin gives none
};

class TDataSkinButton : public TDataSkinObject {
 public:
  TK_CLASS(TDataSkinButton, TDataSkinObject)
  explicit TDataSkinButton(const std::string& AName);
  TDataSkinButton(TDataSkinButton&&) = default;
  TDataSkinButton& operator=(TDataSkinButton&&) = default;
  std::unique_ptr<TBitmap> CheckImage;
  std::unique_ptr<TBitmap> RadioImage;
  int32_t RadioButtonFrame = 0;
  int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// A button drawn in the window caption.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  TK_CLASS(TDataSkinSysButton, TDataSkinObject)
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;  // 7, 8, 9: the buttons of a maximised MDI child
  int32_t Align = 0;
  int32_t Xcoord = 0;
  int32_t Ycoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// The group box caption's background.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  TK_CLASS(TDataSkinBoxLabel, TDataSkinObject)
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

// ---- The parsed skin ---------------------------------------------------------------------------

// Everything one parse of a skin produces. A parse fills a fresh one and the component takes it
// over only when the parse completed, so a failed load never leaves a half-replaced skin.
// Element slots are empty when the skin lacks the element; Title, Buttons and the four edges
// always exist. Slot names follow the skin's section names; the two that would clash with a
// colour of the same key carry "Skin" (ScrollbarSkin, MenuBarSkin: the "Personality" menu bar).
struct TSkinElements {
  TSkinElements();
  ~TSkinElements();
  TSkinElements(const TSkinElements&) = delete;
  TSkinElements& operator=(const TSkinElements&) = delete;
  // Swaps the whole skin with other's; the always-present records keep their addresses.
  void Exchange(TSkinElements& other);
  // Calls Visit for every record that exists: caption buttons first, then the slots in order.
  void ForEachElement(const std::function<void(TDataSkinObject&)>& Visit);

  std::string FSkinName;
  // The skin colours, named after their keys in "Colours"; 0 until a skin is loaded.
  TColor WindowText = 0, TitleTextActive = 0, TitleTextNoActive = 0, ButtonFace = 0, ButtonText = 0,
         ButtonHilight = 0, Buttonlight = 0, ButtonShadow = 0, ButtonDkShadow = 0, HilightText = 0,
         Hilight = 0, Menubar = 0, MenuBarText = 0, MenuText = 0, Menu = 0, Scrollbar = 0;
  std::vector<TColor> FColourList;  // one per extra colour section, in file order

  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;  // caption buttons, then 3 MDI ones
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Tabs, Progress, UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge, Toolbars;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> StatusBarEdges, Headerbar, MenuBarSkin, MenuItem, MenuBackground,
      ScrollbarSkin, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb, TrackbarThumbHorz,
      TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> Left, Right, Top, Bottom;

  HBRUSH FFaceBrush = nullptr;  // solid brush of ButtonFace, owned; none before the first parse
};

// ---- The skin component ------------------------------------------------------------------------

enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcSystemMenu,
  xcFastReport
};

// A set of TSkinControlType: value k is bit k.
struct TSkinControlTypes {
  uint32_t Bits = 0;
  bool Contains(TSkinControlType t) const { return (Bits >> t) & 1; }
  void Include(TSkinControlType t) { Bits |= 1u << t; }
  void Exclude(TSkinControlType t) { Bits &= ~(1u << t); }
};

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl =
    std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                       const std::string& ControlClass, TComponent*& SkinnedControl)>;

// What the skin component asks of the process-wide skin manager. The manager's module implements
// it and sets SkinManagerLink, so this module needs nothing of the manager.
class TSkinManagerLink {
 public:
  virtual void AddSkinData(TSkinData* Data) = 0;
  virtual void RemoveSkinData(TSkinData* Data) = 0;
  virtual void InstallHook() = 0;
  // When Owner is a form, skins its window at once.
  virtual void SkinOwnerForm(TComponent* Owner) = 0;
  virtual void ClearFormButtons() = 0;
  // Action 1 skin on, 2 skin off, 3 skin changed.
  virtual void Schedule(int Action, int Interval) = 0;
  virtual void SetEnabled(bool Value) = 0;
  virtual void AddActivation() = 0;
  virtual void SetPendingSkinData(TSkinData* Data) = 0;

 protected:
  ~TSkinManagerLink() = default;
};

// The one manager: made first when Create is true; nullptr while there is none (and always
// until a manager module is linked in and sets this).
extern TSkinManagerLink* (*SkinManagerLink)(bool Create);

class TSkinData : public TComponent, public TSkinElements {
 public:
  TK_CLASS(TSkinData, TComponent)
  explicit TSkinData(TComponent* AOwner);
  ~TSkinData() override;

  // Published properties.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls;
  TStrings* Skin3rd() const { return FSkin3rd.get(); }
  void SetSkin3rd(TStrings* Value);
  const std::string& SkinFile() const { return FSkinFile; }
  void SetSkinFile(const std::string& Value);
  std::string GetSkinStore() const;
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = sfMainform;
  const std::string& Version() const { return FVersion; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate = true;
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void ReadSkinStream(TStream* Stream);
  void WriteSkinStream(TStream* Stream);
  // Reads the archive in FSkinStream and parses its description; False when the skin did not
  // load (the previous skin stays in memory, counted as not loaded).
  bool LoadFromArchive();
  void ApplySkin();
  void DoFormSkin(const std::string& aName, bool& DoSkin);
  void DoSkinChanged();
  void AddDefaultSkin3rd();
  // Parses the skin INI at FileName, fetching its bitmaps from the open archive.
  void ParseSkinIni(const std::string& FileName);

  // Engine state the skinned windows read.
  std::unique_ptr<TMemoryStream> FSkinStream;
  bool FNotLoaded = true;
  std::unique_ptr<TBitmap> FIconPicture;
  bool FPaintFrames = true;
  std::unique_ptr<TImageList> FMenuImages;

 private:
  // The steps of ParseSkinIni; each writes into the skin being built (FParsed).
  void ReadBorders();
  void ReadColours();
  void ReadExtraColours();
  void ReadSysButtons();
  void ReadMdiControls(size_t n);
  void ReadButtons();
  void ReadTitle();
  void ReadProgress();
  void ReadMenuBar();
  void ReadElements();
  void ReadGeneric(TDataSkinObject& e, const std::string& section, bool withStyle);
  void ReadElementPair(std::unique_ptr<TDataSkinBorder>& slot, const std::string& section,
                       const std::string& secondKey);
  void SetFrameCounts();
  void ReadRGBKey(const std::string& section, const std::string& word, TColor& field);
  TColor ReadColourText(const std::string& text, TColor def) const;
  void LoadBitmap(TBitmap* Bitmap, const std::string& Value);
  std::string IniString(const std::string& section, const std::string& key);
  int32_t IniInteger(const std::string& section, const std::string& key, int32_t def);
  bool Designing() const { return ComponentState() & csDesigning; }
  bool Reading() const { return ComponentState() & (csReading | csLoading); }

  bool FActive = false;
  std::string FSkinFile;
  std::string FVersion = "2.65.6.22";
  std::unique_ptr<TStringList> FSkin3rd;
  // Exist only while a skin loads.
  TIniFile* FIni = nullptr;
  TMemoryStream* FEntryStream = nullptr;
  TSkinReader* FReader = nullptr;
  TStringList* FSections = nullptr;
  TSkinElements* FParsed = nullptr;
};

// ---- Skin INI value rules ----------------------------------------------------------------------

// Three numbers red, green, blue separated by anything but digits ("255 128 0", "255,128,0").
TColor StrToSkinColor(const std::string& Text);
// The archive entry a picture key names (the part after the last '\' or ':'), or "" when the
// value names no ".bmp" entry.
std::string SkinBitmapEntryName(const std::string& Value);
// Frame count of a caption-button strip of that size whose skin gives none.
int32_t DeriveSysButtonFrames(int Width, int Height, int32_t Action);
// Frame count of a check or radio strip of that size whose skin gives none.
int32_t DeriveCheckFrames(int Width, int Height);

// The 80 class=kind lines a new component's Skin3rd starts with.
extern const char* const DefaultSkin3rd[80];

// ---- Text drawing ------------------------------------------------------------------------------

// True on the Windows NT family, where text is drawn as UTF-16.
extern bool IsWinNT;

// Draws Text with the font, colour and mode already selected into DC; the caller's rectangle is
// never changed (a DT_CALCRECT result is not handed back). Returns DrawText's result.
int SkinDrawText(HDC DC, std::wstring Text, RECT Rect, UINT Format);

// ---- Form descriptions -------------------------------------------------------------------------

// Makes TSkinData readable from form descriptions: its class and published properties.
void RegisterSkinData();
