// winsock2.h must come before windows.h, and curl brings it in.
#include <curl/curl.h>
#include <windows.h>

#include "tk/Http.h"

#include "tk/FormReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

THttpMessagePump& CurrentPump() {
  static THttpMessagePump pump = PumpThreadMessages;
  return pump;
}

int g_antiFreezeCount = 0;

void EnsureCurl() {
  // curl's global state also starts Winsock; it is kept for the life of the process.
  static const CURLcode init = curl_global_init(CURL_GLOBAL_WIN32);
  if (init != CURLE_OK)
    throw EHttpError(std::string("HTTP library failed to start: ") + curl_easy_strerror(init));
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::strlen(prefix);
  return s.size() >= n && Lower(s.substr(0, n)) == prefix;
}

std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

// Splits at sep outside double quotes.
std::vector<std::string> SplitOutsideQuotes(const std::string& s, char sep) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : s) {
    if (c == '"') quoted = !quoted;
    if (c == sep && !quoted)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

bool DomainMatches(const std::string& host, const std::string& domain) {
  if (host == domain) return true;
  return host.size() > domain.size() &&
         host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
         host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(const std::string& requestPath, const std::string& cookiePath) {
  if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
  return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' ||
         requestPath[cookiePath.size()] == '/';
}

// The folder part of a request path, the default path of a cookie that names none.
std::string DefaultCookiePath(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

struct CurlUrl {
  CURLU* h = curl_url();
  ~CurlUrl() { curl_url_cleanup(h); }
  std::string Part(CURLUPart part) const {
    char* value = nullptr;
    if (curl_url_get(h, part, &value, 0) != CURLUE_OK) return "";
    std::string s = value;
    curl_free(value);
    return s;
  }
};

struct CurlEasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct CurlMultiDeleter {
  void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

void Append(std::unique_ptr<curl_slist, SlistDeleter>& list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (!grown) throw EOutOfResources("Out of memory building an HTTP request");
  list.release();
  list.reset(grown);
}

}  // namespace

// ---- Message pump and anti-freeze ----------------------------------------------------------------

THttpMessagePump SetHttpMessagePump(THttpMessagePump pump) {
  THttpMessagePump old = CurrentPump();
  CurrentPump() = pump ? std::move(pump) : THttpMessagePump(PumpThreadMessages);
  return old;
}

void PumpThreadMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Not ours to act on: leave it for the message loop.
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

TAntiFreeze::TAntiFreeze(TComponent* AOwner) : TComponent(AOwner) { SetActive(true); }

TAntiFreeze::~TAntiFreeze() { SetActive(false); }

void TAntiFreeze::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  g_antiFreezeCount += value ? 1 : -1;
}

bool TAntiFreeze::Engaged() { return g_antiFreezeCount > 0; }

// ---- The client ----------------------------------------------------------------------------------

struct THttpClient::TReply {
  std::string Host;  // lower case, for the cookies
  std::string Path;
  std::string StatusLine;
  std::string Body;
  bool TooLarge = false;
  THttpClient* Client = nullptr;
  CURL* Easy = nullptr;
};

THttpClient::THttpClient(TComponent* AOwner) : TComponent(AOwner) {}

std::string THttpClient::Get(const std::string& url) {
  TReply reply;
  Perform(url, reply);
  return std::move(reply.Body);
}

void THttpClient::Get(const std::string& url, TStream* stream) {
  TReply reply;
  Perform(url, reply);
  stream->WriteBuffer(reply.Body.data(), int32_t(reply.Body.size()));
}

void THttpClient::Perform(const std::string& url, TReply& reply) {
  if (FBusy) throw EHttpError("The HTTP client is already busy with a request");
  FBusy = true;
  struct BusyReset {
    bool& flag;
    ~BusyReset() { flag = false; }
  } busyReset{FBusy};
  FResponseCode = 0;
  EnsureCurl();

  CurlUrl parsed;
  if (curl_url_set(parsed.h, CURLUPART_URL, url.c_str(), CURLU_PATH_AS_IS) != CURLUE_OK ||
      Lower(parsed.Part(CURLUPART_SCHEME)) != "http")
    throw EHttpError("Invalid URL: " + url);
  std::string host = parsed.Part(CURLUPART_HOST);
  std::string port = parsed.Part(CURLUPART_PORT);
  reply.Host = Lower(host);
  reply.Path = parsed.Part(CURLUPART_PATH);
  if (reply.Path.empty()) reply.Path.push_back('/');

  // curl puts a custom Host line at the top unless its own is switched off first; after that, the
  // lines go out exactly in this order.
  std::unique_ptr<curl_slist, SlistDeleter> headers;
  Append(headers, "Host:");
  if (!ContentType.empty()) Append(headers, "Content-Type: " + ContentType);
  std::string hostLine = "Host: " + host;
  if (!port.empty() && port != "80") hostLine.append(":").append(port);
  Append(headers, hostLine);
  Append(headers, Accept.empty() ? "Accept:" : "Accept: " + Accept);
  if (!UserAgent.empty()) Append(headers, "User-Agent: " + UserAgent);
  std::string cookies = AllowCookies ? CookieHeader(reply.Host, reply.Path) : "";
  if (!cookies.empty()) Append(headers, "Cookie: " + cookies);

  std::unique_ptr<CURL, CurlEasyDeleter> easy(curl_easy_init());
  std::unique_ptr<CURLM, CurlMultiDeleter> multi(curl_multi_init());
  if (!easy || !multi) throw EOutOfResources("Out of memory starting an HTTP request");
  reply.Client = this;
  reply.Easy = easy.get();
  char errorText[CURL_ERROR_SIZE] = "";

  auto onHeader = +[](char* data, size_t size, size_t count, void* user) -> size_t {
    auto* r = static_cast<TReply*>(user);
    std::string line = Trim(std::string(data, size * count));
    if (StartsWithNoCase(line, "http/"))
      r->StatusLine = line;
    else if (r->Client->AllowCookies && StartsWithNoCase(line, "set-cookie2:"))
      for (const std::string& one : SplitOutsideQuotes(line.substr(12), ','))
        r->Client->StoreCookie(one, r->Host, r->Path);
    else if (r->Client->AllowCookies && StartsWithNoCase(line, "set-cookie:"))
      r->Client->StoreCookie(line.substr(11), r->Host, r->Path);
    return size * count;
  };
  auto onBody = +[](char* data, size_t size, size_t count, void* user) -> size_t {
    auto* r = static_cast<TReply*>(user);
    long code = 0;
    curl_easy_getinfo(r->Easy, CURLINFO_RESPONSE_CODE, &code);
    // A failed status ends the transfer at once: the failure is the status, not its body.
    if (code < 200 || code > 299) return 0;
    // A body past the limit ends the transfer before it can exhaust the process.
    if (size * count > THttpClient::MaxBodySize - r->Body.size()) {
      r->TooLarge = true;
      return 0;
    }
    r->Body.append(data, size * count);
    return size * count;
  };

  CURL* h = easy.get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &reply);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &reply);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);

  if (curl_multi_add_handle(multi.get(), h) != CURLM_OK) throw EHttpError("Cannot start an HTTP request");
  // Short waits while an anti-freeze is engaged, so the thread's messages keep moving.
  CURLcode result = CURLE_OK;
  for (;;) {
    int running = 0;
    CURLMcode mc = curl_multi_perform(multi.get(), &running);
    if (mc == CURLM_OK && running)
      mc = curl_multi_poll(multi.get(), nullptr, 0, TAntiFreeze::Engaged() ? 10 : 500, nullptr);
    if (mc != CURLM_OK) {
      curl_multi_remove_handle(multi.get(), h);
      throw EHttpError(std::string("HTTP transfer failed: ") + curl_multi_strerror(mc));
    }
    if (!running) {
      int left = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == h) result = msg->data.result;
      break;
    }
    if (TAntiFreeze::Engaged()) CurrentPump()();
  }
  curl_multi_remove_handle(multi.get(), h);

  long code = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
  FResponseCode = int(code);
  if (code != 0 && (code < 200 || code > 299))
    throw EHttpProtocolError(
        int(code), reply.StatusLine.empty() ? "HTTP status " + std::to_string(code) : reply.StatusLine);
  if (reply.TooLarge)
    throw EHttpError("The reply's body is larger than " + std::to_string(MaxBodySize >> 20) + " MiB");
  if (result != CURLE_OK) {
    std::string message = curl_easy_strerror(result);
    if (errorText[0]) message += std::string(": ") + errorText;
    throw EHttpError(message);
  }
}

void THttpClient::StoreCookie(const std::string& header, const std::string& host, const std::string& path) {
  std::vector<std::string> fields = SplitOutsideQuotes(header, ';');
  size_t eq = fields[0].find('=');
  if (eq == std::string::npos) return;
  THttpCookie cookie{host, DefaultCookiePath(path), Trim(fields[0].substr(0, eq)),
                     Unquote(Trim(fields[0].substr(eq + 1)))};
  if (cookie.Name.empty()) return;
  bool expired = false;
  for (size_t i = 1; i < fields.size(); ++i) {
    std::string attr = Trim(fields[i]);
    size_t aeq = attr.find('=');
    std::string name = Lower(Trim(attr.substr(0, aeq)));
    std::string value = aeq == std::string::npos ? "" : Unquote(Trim(attr.substr(aeq + 1)));
    if (name == "domain" && !value.empty()) {
      std::string domain = Lower(value[0] == '.' ? value.substr(1) : value);
      // A server may set cookies for itself and its parent domains only.
      if (!DomainMatches(host, domain)) return;
      cookie.Domain = domain;
    } else if (name == "path" && !value.empty() && value[0] == '/') {
      cookie.Path = value;
    } else if (name == "max-age") {
      expired = std::atol(value.c_str()) <= 0;
    } else if (name == "expires") {
      time_t when = curl_getdate(value.c_str(), nullptr);
      expired = when != -1 && when <= std::time(nullptr);
    }
  }
  auto same = [&](const THttpCookie& c) {
    return c.Domain == cookie.Domain && c.Path == cookie.Path && c.Name == cookie.Name;
  };
  auto it = std::find_if(FCookies.begin(), FCookies.end(), same);
  if (expired) {
    if (it != FCookies.end()) FCookies.erase(it);
  } else if (it != FCookies.end()) {
    it->Value = cookie.Value;
  } else {
    FCookies.push_back(cookie);
  }
}

std::string THttpClient::CookieHeader(const std::string& host, const std::string& path) const {
  std::string header;
  for (const THttpCookie& c : FCookies) {
    if (!DomainMatches(host, c.Domain) || !PathMatches(path, c.Path)) continue;
    if (!header.empty()) header += "; ";
    header += c.Name + "=" + c.Value;
  }
  return header;
}

std::string ServerBaseUrl(const std::string& builtIn) {
  char value[2048];
  DWORD n = GetEnvironmentVariableA("VELLORAN_SERVER_BASE", value, sizeof value);
  std::string base = n > 0 && n < sizeof value ? std::string(value, n) : builtIn;
  if (!base.empty() && base.back() != '/') base += '/';
  return base;
}

std::string ServerBase() { return ServerBaseUrl(VELLORAN_SERVER_BASE); }

void RegisterHttp() {
  RegisterComponentClass<THttpClient>();
  RegisterComponentClass<TAntiFreeze>();
  Published<THttpClient>()
      .Property("ContentType", &THttpClient::ContentType)
      .Property("Accept", &THttpClient::Accept)
      .Property("UserAgent", &THttpClient::UserAgent)
      .Property("AllowCookies", &THttpClient::AllowCookies);
  Published<TAntiFreeze>().Property("Active", &TAntiFreeze::SetActive);
}
