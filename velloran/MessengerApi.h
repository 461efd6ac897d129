// The chat client's automation objects as the previewer meets them: the API object, of which only
// the local user's status is read, and the content installer component (`msins` on the main form).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "tk/Classes.h"
#include "tk/XmlDom.h"

// {B69003B3-C55E-4B48-836C-BC5946FC3B28}
extern const CLSID CLSID_Messenger;
// {D50C3386-0F89-48F8-B204-3604629DEE10}
extern const IID IID_IMessenger;
// {F06608C7-1874-4EEA-B3B2-DF99EBB144B8}
extern const CLSID CLSID_MessengerContent;
// {83B2A407-22B9-4842-97C6-DE30EC6DAC3E}
extern const IID IID_IMessengerContent;

// The installer's default interface; its first method installs the package at a URL.
struct IMessengerContent : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE InstallContent(BSTR Url) = 0;
};

// One API object, made fresh by Create and released with this value.
class TMessenger {
 public:
  // EOleError when the object cannot be made (the chat client is not installed).
  static TMessenger Create();
  // The local user's status; EOleError when it cannot be read.
  long MyStatus();

 private:
  TComRef<IDispatch> FIntf;
};

// The content installer. It connects on first use, never by itself: to a running installer when
// there is one, else to a new one, and stays connected while it lives.
class TMessengerContent : public TComponent {
 public:
  TK_CLASS(TMessengerContent, TComponent)
  explicit TMessengerContent(TComponent* AOwner);
  ~TMessengerContent() override;

  // EOleError when neither a running nor a new installer can be had.
  void Connect();
  void Disconnect();
  bool Connected() const { return bool(FIntf); }
  // The installer's interface (borrowed), connecting first.
  IMessengerContent* DefaultInterface();
  // Hands the URL, as a wide string, to the installer; EOleError when it refuses.
  void InstallContent(const std::string& Url);

 private:
  TComRef<IMessengerContent> FIntf;
  bool FOleStarted = false;
};

// Makes TMessengerContent readable from form descriptions.
void RegisterMessengerClasses();
