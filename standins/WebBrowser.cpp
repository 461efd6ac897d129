// Stand-in for the web browser control: Wine's own is created and navigates without error but
// never shows a page. This one loads nothing either; it shows the address it was sent to and
// records every Navigate and Visible call in the stand-ins' call log. It is registered only in
// the project's Wine prefix.
#include "standins/OleControl.h"

#include <string>

namespace standins {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID CLSID_WebBrowserStandin = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

namespace {

enum : DISPID {
  kNavigate = 104,
  kLocationUrl = 211,
  kVisible = 402,
};

const DispName kNames[] = {
    {L"Navigate", kNavigate, DispKind::Method},
    {L"LocationURL", kLocationUrl, DispKind::ReadOnly},
    {L"Visible", kVisible, DispKind::Property},
};

const COLORREF kPageColour = RGB(255, 255, 255);

class WebBrowser : public OleControl {
 public:
  WebBrowser() : OleControl(CLSID_WebBrowserStandin, "StandinWebBrowser", kNames, std::size(kNames)) {}
  // Its container let go of it: for tests that follow a program's end.
  ~WebBrowser() override { LogCall("Browser", "Released"); }

 protected:
  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    switch (id) {
      case kNavigate:
        return Navigate(params);
      case kLocationUrl:
        return ReturnString(result, location_);
      case kVisible:
        return VisibleMember(flags, params, result);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  void Paint(HDC dc, const RECT& rc) override {
    HBRUSH back = CreateSolidBrush(kPageColour);
    FillRect(dc, &rc, back);
    DeleteObject(back);
    std::string text =
        "Web browser stand-in\r\n" + (location_.empty() ? std::string("(no page)") : Narrow(location_));
    RECT inner{rc.left + 8, rc.top + 8, rc.right - 8, rc.bottom - 8};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, text.c_str(), -1, &inner, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }

  bool ShownWhenActive() const override { return visible_; }

  std::string Caption() const override { return "Web browser stand-in: " + Narrow(location_); }

 private:
  HRESULT Navigate(DISPPARAMS* params) {
    // Flags, target frame, post data and headers may follow; a stand-in has no use for them.
    std::wstring url;
    HRESULT hr = ArgString(params, 0, url);
    if (FAILED(hr)) return hr;
    LogCall("Browser", "Navigate", Narrow(url));
    location_ = url;
    Changed();
    return S_OK;
  }

  HRESULT VisibleMember(WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (!IsPut(flags)) return ReturnBool(result, visible_);
    bool visible = false;
    HRESULT hr = ArgBool(params, 0, visible);
    if (FAILED(hr)) return hr;
    LogCall("Browser", "Visible", visible ? "1" : "0");
    visible_ = visible;
    if (window()) ShowWindow(window(), visible ? SW_SHOWNA : SW_HIDE);
    return S_OK;
  }

  std::wstring location_;
  bool visible_ = true;
};

}  // namespace

const ClassEntry kClasses[] = {
    {&CLSID_WebBrowserStandin, "Web browser (stand-in)", CreateObject<WebBrowser>, true},
};
const size_t kClassCount = std::size(kClasses);

}  // namespace standins
