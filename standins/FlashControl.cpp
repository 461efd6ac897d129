// Stand-in for the Flash player control, which Wine lacks. It plays nothing: it shows the movie
// it was given and whether it plays, and records every Movie, Play and Playing call in the
// stand-ins' call log.
#include "standins/OleControl.h"

#include <map>
#include <string>

namespace standins {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID CLSID_FlashStandin = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

enum : DISPID {
  kMovie = 0x66,
  kQuality = 0x69,
  kLoop = 0x6A,
  kPlay = 0x70,
  kPlaying = 125,
  kWMode = 0x85,
  kMenu = 0x87,
  kScale = 0x89,
  kAllowScriptAccess = 0xC9,
};

const DispName kNames[] = {
    {L"Movie", kMovie, DispKind::Property},
    {L"Play", kPlay, DispKind::Method},
    {L"Playing", kPlaying, DispKind::Property},
    {L"Quality", kQuality, DispKind::Property},
    {L"Loop", kLoop, DispKind::Property},
    {L"WMode", kWMode, DispKind::Property},
    {L"Menu", kMenu, DispKind::Property},
    {L"Scale", kScale, DispKind::Property},
    {L"AllowScriptAccess", kAllowScriptAccess, DispKind::Property},
};

const COLORREF kPlayingColour = RGB(0, 128, 0);
const COLORREF kStoppedColour = RGB(96, 96, 96);

class FlashControl : public OleControl {
 public:
  FlashControl() : OleControl(CLSID_FlashStandin, "StandinFlashPlayer", kNames, std::size(kNames)) {}
  ~FlashControl() override {
    for (auto& setting : settings_) VariantClear(&setting.second);
    // Its container let go of it: for tests that follow a program's end.
    LogCall("Flash", "Released");
  }

 protected:
  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    switch (id) {
      case kMovie:
        return MovieMember(flags, params, result);
      case kPlay:
        return Play();
      case kPlaying:
        return PlayingMember(flags, params, result);
      case kQuality:
      case kLoop:
      case kWMode:
      case kMenu:
      case kScale:
      case kAllowScriptAccess:
        return SettingMember(id, flags, params, result);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  void Paint(HDC dc, const RECT& rc) override {
    HBRUSH back = CreateSolidBrush(playing_ ? kPlayingColour : kStoppedColour);
    FillRect(dc, &rc, back);
    DeleteObject(back);
    std::string text = "Flash player stand-in\r\nMovie: " + (movie_.empty() ? "(none)" : Narrow(movie_)) +
                       "\r\n" + (playing_ ? "Playing" : "Stopped");
    RECT inner{rc.left + 8, rc.top + 8, rc.right - 8, rc.bottom - 8};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, text.c_str(), -1, &inner, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }

  std::string Caption() const override {
    return "Flash player stand-in: " + Narrow(movie_) + (playing_ ? " (playing)" : " (stopped)");
  }

 private:
  HRESULT MovieMember(WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (IsPut(flags)) {
      std::wstring movie;
      HRESULT hr = ArgString(params, 0, movie);
      if (FAILED(hr)) return hr;
      LogCall("Flash", "Movie", Narrow(movie));
      movie_ = movie;
      playing_ = autoPlay_ && !movie_.empty();
      Changed();
      return S_OK;
    }
    return ReturnString(result, movie_);
  }

  HRESULT Play() {
    LogCall("Flash", "Play");
    playing_ = !movie_.empty();
    Changed();
    return S_OK;
  }

  HRESULT PlayingMember(WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (IsPut(flags)) {
      bool playing = false;
      HRESULT hr = ArgBool(params, 0, playing);
      if (FAILED(hr)) return hr;
      LogCall("Flash", "Playing", playing ? "1" : "0");
      SetPlaying(playing);
      return S_OK;
    }
    return ReturnBool(result, playing_);
  }

  // Set before a movie is loaded (the stored setting "play"), it says whether the movie plays once
  // it is.
  void SetPlaying(bool playing) {
    autoPlay_ = playing;
    playing_ = playing && !movie_.empty();
    Changed();
  }

  // Settings the player honours only in appearance; kept so that they read back as stored.
  HRESULT SettingMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (IsPut(flags)) {
      const VARIANT* value = Arg(params, 0);
      if (!value) return DISP_E_PARAMNOTFOUND;
      VARIANT& slot = settings_[id];
      VariantClear(&slot);
      return VariantCopy(&slot, const_cast<VARIANT*>(value));
    }
    auto it = settings_.find(id);
    if (it == settings_.end()) return result ? (V_VT(result) = VT_EMPTY, S_OK) : S_OK;
    return result ? VariantCopy(result, &it->second) : S_OK;
  }

  std::wstring movie_;
  bool playing_ = false;
  bool autoPlay_ = true;
  std::map<DISPID, VARIANT> settings_;
};

}  // namespace

const ClassEntry kClasses[] = {
    {&CLSID_FlashStandin, "Flash player (stand-in)", CreateObject<FlashControl>, true},
};
const size_t kClassCount = std::size(kClasses);

}  // namespace standins
