// The HTTP client the programs fetch their content with, and the anti-freeze that keeps the GUI
// thread's messages moving while a request blocks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tk/Classes.h"

// A request that did not complete: no connection, a broken or short reply.
class EHttpError : public Exception {
  using Exception::Exception;
};

// The server answered, but with a status outside 2xx (a redirect included). Message is the
// reply's status line.
class EHttpProtocolError : public EHttpError {
 public:
  EHttpProtocolError(int code, std::string message) : EHttpError(std::move(message)), ErrorCode(code) {}
  int ErrorCode;
};

// Dispatches the thread's pending messages once. Replaceable, so the application object can route
// it through its own ProcessMessages.
using THttpMessagePump = std::function<void()>;
THttpMessagePump SetHttpMessagePump(THttpMessagePump pump);
// The default pump: PeekMessage / TranslateMessage / DispatchMessage until the queue is empty. A
// WM_QUIT it meets is put back for the message loop.
void PumpThreadMessages();

// While at least one active anti-freeze exists, a blocking request keeps calling the message pump.
class TAntiFreeze : public TComponent {
 public:
  TK_CLASS(TAntiFreeze, TComponent)
  explicit TAntiFreeze(TComponent* AOwner);
  ~TAntiFreeze() override;
  bool GetActive() const { return FActive; }
  void SetActive(bool value);
  // True while an active anti-freeze exists.
  static bool Engaged();

 private:
  bool FActive = false;
};

// One cookie the client holds.
struct THttpCookie {
  std::string Domain;  // lower case, without a leading dot
  std::string Path;
  std::string Name;
  std::string Value;
};

// GET over HTTP/1.1 exactly as the content server expects it: the header lines below in their
// order, cookies from earlier replies sent back, no proxy, redirects not followed, any status
// outside 2xx a failure, no read time limit.
class THttpClient : public TComponent {
 public:
  TK_CLASS(THttpClient, TComponent)
  explicit THttpClient(TComponent* AOwner);

  std::string ContentType = "text/html";
  std::string Accept = "text/html, */*";
  std::string UserAgent = "Mozilla/3.0 (compatible; Indy Library)";
  bool AllowCookies = true;

  // The largest body a request takes; a longer one fails the request (EHttpError). The content
  // lists are kilobytes, and a 32-bit process must not be run out of memory by a server.
  static constexpr size_t MaxBodySize = size_t(64) << 20;

  // The body as a string, or EHttpError / EHttpProtocolError.
  std::string Get(const std::string& url);
  // The body written to stream at its position; nothing is written when the request fails.
  void Get(const std::string& url, TStream* stream);

  // The status code of the last reply (0 when none came).
  int ResponseCode() const { return FResponseCode; }
  const std::vector<THttpCookie>& Cookies() const { return FCookies; }

 private:
  struct TReply;
  void Perform(const std::string& url, TReply& reply);
  void StoreCookie(const std::string& header, const std::string& host, const std::string& path);
  std::string CookieHeader(const std::string& host, const std::string& path) const;

  std::vector<THttpCookie> FCookies;
  int FResponseCode = 0;
  bool FBusy = false;
};

// The content server's base URL: the VELLORAN_SERVER_BASE environment variable when set and not
// empty, else builtIn; always ending with "/".
std::string ServerBaseUrl(const std::string& builtIn);
// The same with the base URL the programs were built with (the CMake cache variable
// VELLORAN_SERVER_BASE) as builtIn.
std::string ServerBase();

// Makes the client and the anti-freeze readable from form descriptions.
void RegisterHttp();
