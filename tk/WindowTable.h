// Objects bound to the windows of this process. A window property would serve, but under Wine
// each property call is a round trip to the server, and window procedures ask on every message.
// GUI thread only.
#pragma once

#include <windows.h>

#include <unordered_map>

template <class T>
class TWindowTable {
 public:
  // What is bound to Wnd, or T() (nullptr for a pointer).
  T Get(HWND Wnd) const {
    auto found = FValues.find(Wnd);
    return found == FValues.end() ? T() : found->second;
  }
  void Set(HWND Wnd, T Value) { FValues[Wnd] = Value; }
  void Remove(HWND Wnd) { FValues.erase(Wnd); }

 private:
  std::unordered_map<HWND, T> FValues;
};
