// OLE controls: an ActiveX control hosted by class identifier in a child window of ours and called
// through its IDispatch, by member name or dispatch id. The Flash player and the web browser are
// the two the programs use.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

#include "tk/Controls.h"

// An owned VARIANT: copies deeply, clears itself when it goes.
class TOleVariant {
 public:
  TOleVariant() { VariantInit(&FValue); }
  TOleVariant(const std::string& Text);  // a BSTR from the ANSI text
  TOleVariant(const char* Text) : TOleVariant(std::string(Text)) {}
  TOleVariant(bool Value);
  TOleVariant(int32_t Value);
  TOleVariant(const TOleVariant& Other);
  TOleVariant& operator=(const TOleVariant& Other);
  ~TOleVariant() { VariantClear(&FValue); }

  VARTYPE Type() const { return V_VT(&FValue); }
  // Converted as automation converts; EOleError when the value has no such form.
  std::string AsString() const;
  bool AsBoolean() const;
  int32_t AsInteger() const;
  VARIANT* Ptr() { return &FValue; }
  const VARIANT* Ptr() const { return &FValue; }

 private:
  VARIANT FValue;
};

class TOleControl : public TWinControl {
 public:
  TK_CLASS(TOleControl, TWinControl)
  TOleControl(TComponent* AOwner, const CLSID& ClassID);
  ~TOleControl() override;

  const CLSID& ClassID() const { return FClassID; }
  // The control's automation interface (borrowed), creating our window and the control on first
  // use; EOleError when the control cannot be created.
  IDispatch* DefaultDispatch();
  bool ControlCreated() const { return FDispatch != nullptr; }

  DISPID GetIDOfName(const std::string& Name);
  TOleVariant GetProperty(DISPID Id);
  TOleVariant GetProperty(const std::string& Name) { return GetProperty(GetIDOfName(Name)); }
  void SetProperty(DISPID Id, const TOleVariant& Value);
  // Before our window (and with it the control) is made, the value is kept and given to the
  // control when it is created, in order: this is how stored settings from a form description
  // reach it. Afterwards EOleError when the control cannot be created.
  void SetProperty(const std::string& Name, const TOleVariant& Value);
  // Calls a method with its arguments first to last.
  TOleVariant CallMethod(DISPID Id, const std::vector<TOleVariant>& Args = {});
  TOleVariant CallMethod(const std::string& Name, const std::vector<TOleVariant>& Args = {}) {
    return CallMethod(GetIDOfName(Name), Args);
  }

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  void CreateControl();
  void ReleaseControl();
  TOleVariant Invoke(DISPID Id, WORD Flags, const std::vector<TOleVariant>& Args, const std::string& What);
  CLSID FClassID;
  HWND FHostWnd = nullptr;  // the container window that holds the control
  IDispatch* FDispatch = nullptr;
  std::vector<std::pair<std::string, TOleVariant>> FPending;
};

// The Flash player control.
class TShockwaveFlash : public TOleControl {
 public:
  TK_CLASS(TShockwaveFlash, TOleControl)
  static const CLSID CLSID_ShockwaveFlash;
  static constexpr DISPID DISPID_Playing = 125;
  explicit TShockwaveFlash(TComponent* AOwner) : TOleControl(AOwner, CLSID_ShockwaveFlash) {}
  std::string Movie() { return GetProperty("Movie").AsString(); }
  void SetMovie(const std::string& Value) { SetProperty("Movie", Value); }
  void Play() { CallMethod("Play"); }
  bool Playing() { return GetProperty(DISPID_Playing).AsBoolean(); }
  void SetPlaying(bool Value) { SetProperty(DISPID_Playing, Value); }
};

// The web browser control.
class TWebBrowser : public TOleControl {
 public:
  TK_CLASS(TWebBrowser, TOleControl)
  static const CLSID CLSID_WebBrowser;
  static constexpr DISPID DISPID_Visible = 402;
  explicit TWebBrowser(TComponent* AOwner) : TOleControl(AOwner, CLSID_WebBrowser) {}
  void Navigate(const std::string& URL) { CallMethod("Navigate", {URL}); }
  bool BrowserVisible() { return GetProperty(DISPID_Visible).AsBoolean(); }
  void SetBrowserVisible(bool Value) { SetProperty(DISPID_Visible, Value); }
};

// Makes TShockwaveFlash and TWebBrowser readable from form descriptions, with the Flash player's
// stored settings (WMode, Playing, Loop, Quality, Menu, AllowScriptAccess, Scale, Movie).
void RegisterOleControls();
