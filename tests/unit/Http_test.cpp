// The HTTP client against the content server on loopback: the request as the server sees it,
// cookies, failures, bodies, and the GUI thread's messages moving while a request blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/unit/ContentServer.h"
#include "tk/Http.h"
#include "tk/XmlDom.h"

namespace {

using contentserver::Base;
using contentserver::Requests;
using contentserver::SiteFile;

const char kWinks[] = "contentlist/winkscontent.xml";

// The request the client must send for path (no leading slash), cookie line included when given.
std::string ExpectedRequest(const std::string& path, const std::string& cookie = "") {
  std::string r = "GET /" + path + " HTTP/1.1\r\n";
  r += "Content-Type: text/html\r\n";
  r += "Host: 127.0.0.1:" + std::to_string(contentserver::Port()) + "\r\n";
  r += "Accept: text/html, */*\r\n";
  r += "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
  if (!cookie.empty()) r += "Cookie: " + cookie + "\r\n";
  return r + "\r\n";
}

std::vector<std::string> RequestsFor(const std::string& path) {
  return Requests("GET /" + path + " HTTP/1.1");
}

// A mark of this process alone, so repeated runs against one server never see each other's requests.
std::string Token() {
  static const std::string token = [] {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now.QuadPart);
  }();
  return token;
}

// The winks list's path with the server options given and this process's mark; name tells the
// requests of one test apart.
std::string Own(const std::string& name, const std::string& options = "") {
  return "~" + options + (options.empty() ? "" : ",") + "id=" + name + Token() + "/" + kWinks;
}

}  // namespace

// ---- The request as the server sees it -------------------------------------------------------------

TEST(HttpRequest, IsExactlyTheHeaderLinesInOrder) {
  THttpClient http(nullptr);
  std::string path = Own("raw");
  EXPECT_EQ(http.Get(Base() + path), SiteFile(kWinks));
  EXPECT_EQ(http.ResponseCode(), 200);
  auto seen = RequestsFor(path);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], ExpectedRequest(path));
}

TEST(HttpRequest, HeaderLinesWithEmptyValuesAreLeftOut) {
  THttpClient http(nullptr);
  http.ContentType.clear();
  http.UserAgent.clear();
  std::string path = Own("empties");
  http.Get(Base() + path);
  auto seen = RequestsFor(path);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "GET /" + path + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                         std::to_string(contentserver::Port()) + "\r\nAccept: text/html, */*\r\n\r\n");
}

// ---- Cookies -------------------------------------------------------------------------------------------

TEST(HttpCookies, BothKindsAreKeptAndSentBackLastInTheRequest) {
  THttpClient http(nullptr);
  std::string first = Own("ck1", "cookie=sid:abc,cookie2=pref:blue");
  http.Get(Base() + first);
  EXPECT_EQ(RequestsFor(first).at(0), ExpectedRequest(first));

  std::string second = Own("ck2");
  http.Get(Base() + second);
  auto seen = RequestsFor(second);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], ExpectedRequest(second, "sid=abc; pref=blue"));

  // A new value replaces the old one in its place.
  http.Get(Base() + Own("ck3", "cookie=sid:xyz"));
  std::string fourth = Own("ck4");
  http.Get(Base() + fourth);
  EXPECT_EQ(RequestsFor(fourth).at(0), ExpectedRequest(fourth, "sid=xyz; pref=blue"));
}

TEST(HttpCookies, BelongToTheClientObject) {
  THttpClient first(nullptr), second(nullptr);
  first.Get(Base() + Own("own1", "cookie=mine:1"));
  std::string path = Own("own2");
  second.Get(Base() + path);
  EXPECT_EQ(RequestsFor(path).at(0), ExpectedRequest(path));
  EXPECT_TRUE(second.Cookies().empty());
  ASSERT_EQ(first.Cookies().size(), 1u);
  EXPECT_EQ(first.Cookies()[0].Name, "mine");
}

TEST(HttpCookies, AreTakenFromAFailedReplyToo) {
  THttpClient http(nullptr);
  EXPECT_THROW(http.Get(Base() + Own("ckf1", "status=404,cookie=seen:yes")), EHttpProtocolError);
  std::string path = Own("ckf2");
  http.Get(Base() + path);
  EXPECT_EQ(RequestsFor(path).at(0), ExpectedRequest(path, "seen=yes"));
}

TEST(HttpCookies, ExpiredOnesAreDroppedAndForeignDomainsRefused) {
  THttpClient http(nullptr);
  http.Get(Base() + Own("cke1", "cookie=keep:1,cookie=gone:1"));
  ASSERT_EQ(http.Cookies().size(), 2u);
  // "gone=x; Max-Age=0" and a cookie for another domain, escaped into the path.
  http.Get(Base() + Own("cke2", "cookie=gone:x%3B%20Max-Age%3D0,cookie=evil:1%3B%20Domain%3Dexample.com"));
  std::string path = Own("cke3");
  http.Get(Base() + path);
  EXPECT_EQ(RequestsFor(path).at(0), ExpectedRequest(path, "keep=1"));
}

// ---- Failures ------------------------------------------------------------------------------------------

TEST(HttpFailures, ARedirectIsNotFollowed) {
  THttpClient http(nullptr);
  std::string path = Own("redir", "redirect=target" + Token());
  try {
    http.Get(Base() + path);
    FAIL() << "a redirect must fail";
  } catch (const EHttpProtocolError& e) {
    EXPECT_EQ(e.ErrorCode, 302);
    EXPECT_EQ(e.Message, "HTTP/1.1 302 Found");
  }
  EXPECT_EQ(RequestsFor(path).size(), 1u);
  EXPECT_EQ(RequestsFor("~id=target" + Token() + "/" + kWinks).size(), 0u);
}

TEST(HttpFailures, StatusesOutside2xxRaiseWithTheirCode) {
  THttpClient http(nullptr);
  for (int code : {404, 500, 503}) {
    try {
      http.Get(Base() + "~id=st,status=" + std::to_string(code) + "/" + kWinks);
      FAIL() << "status " << code << " must fail";
    } catch (const EHttpProtocolError& e) {
      EXPECT_EQ(e.ErrorCode, code);
      EXPECT_EQ(http.ResponseCode(), code);
    }
  }
  // A missing file is a plain 404 of the server.
  EXPECT_THROW(http.Get(Base() + "contentlist/nothing.xml"), EHttpProtocolError);
}

TEST(HttpFailures, BrokenBodiesAreFailuresAndWriteNothing) {
  THttpClient http(nullptr);
  for (const char* mode : {"short", "truncchunked"}) {
    TMemoryStream stream;
    try {
      http.Get(Base() + "~" + mode + "/" + kWinks, &stream);
      FAIL() << mode << " must fail";
    } catch (const EHttpProtocolError&) {
      FAIL() << mode << " is not a status failure";
    } catch (const EHttpError& e) {
      EXPECT_FALSE(e.Message.empty());
    }
    EXPECT_EQ(stream.GetSize(), 0) << mode;
  }
}

TEST(HttpFailures, ABodyPastTheLimitFailsAndWritesNothing) {
  THttpClient http(nullptr);
  const size_t limit = THttpClient::MaxBodySize;
  EXPECT_EQ(limit, size_t(64) << 20);
  EXPECT_EQ(http.Get(Base() + "~bulk=" + std::to_string(limit) + "/" + kWinks).size(), limit);
  TMemoryStream stream;
  EXPECT_THROW(http.Get(Base() + "~bulk=" + std::to_string(limit + 1) + "/" + kWinks, &stream), EHttpError);
  EXPECT_EQ(stream.GetSize(), 0);
}

TEST(HttpFailures, RefusedOrUnansweredConnectionsFail) {
  THttpClient http(nullptr);
  std::string refused = "http://127.0.0.1:" + std::to_string(contentserver::RefusePort()) + "/" + kWinks;
  EXPECT_THROW(http.Get(refused), EHttpError);
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_THROW(http.Get(Base() + "~close/" + kWinks), EHttpError);
  EXPECT_THROW(http.Get("ftp://127.0.0.1/x"), EHttpError);
}

// ---- Bodies --------------------------------------------------------------------------------------------

TEST(HttpBodies, ChunkedAndLengthBodiesArriveWhole) {
  THttpClient http(nullptr);
  EXPECT_EQ(http.Get(Base() + "~chunked/" + kWinks), SiteFile(kWinks));
  const char* cab = "setupcab/cabwinks/bighug.cab";
  TMemoryStream stream;
  stream.WriteBuffer("xy", 2);  // the body goes where the stream stands
  http.Get(Base() + cab, &stream);
  std::string expected = "xy" + SiteFile(cab);
  ASSERT_EQ(stream.GetSize(), int64_t(expected.size()));
  EXPECT_EQ(std::string(stream.Memory(), expected.size()), expected);
  TMemoryStream chunked;
  http.Get(Base() + "~chunked/" + cab, &chunked);
  EXPECT_EQ(std::string(chunked.Memory(), size_t(chunked.GetSize())), SiteFile(cab));
}

TEST(HttpBodies, AListFetchedIntoAStreamLoadsIntoTheDom) {
  THttpClient http(nullptr);
  TMemoryStream stream;
  http.Get(Base() + "contentlist/emoticonscontent.xml", &stream);
  TXMLDocument doc(nullptr);
  doc.LoadFromStream(&stream);
  TXmlNode root = doc.DocumentElement();
  ASSERT_EQ(root.ChildCount(), 3);
  EXPECT_EQ(root.ChildNode(0).NodeName(), "Faces");
  EXPECT_EQ(root.ChildNode(0).ChildNode(1).AttributeText(1), "slywink");
}

// ---- The anti-freeze -----------------------------------------------------------------------------------

namespace {

const UINT kPosted = WM_APP + 7;
int g_ticks = 0;
bool g_postedSeen = false;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    ++g_ticks;
    return 0;
  }
  if (msg == kPosted) {
    g_postedSeen = true;
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

// A window with a 10 ms timer and one posted message waiting.
class BusyWindow {
 public:
  BusyWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HttpBusyWindow";
    RegisterClassA(&wc);
    FWnd =
        CreateWindowA("HttpBusyWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    g_ticks = 0;
    g_postedSeen = false;
    SetTimer(FWnd, 1, 10, nullptr);
    PostMessageA(FWnd, kPosted, 0, 0);
  }
  ~BusyWindow() {
    KillTimer(FWnd, 1);
    DestroyWindow(FWnd);
    UnregisterClassA("HttpBusyWindow", GetModuleHandleA(nullptr));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND FWnd;
};

}  // namespace

TEST(HttpAntiFreeze, MessagesAreDispatchedWhileASlowReplyTrickles) {
  TAntiFreeze antiFreeze(nullptr);
  BusyWindow window;
  THttpClient http(nullptr);
  DWORD start = GetTickCount();
  EXPECT_EQ(http.Get(Base() + "~trickle=60/" + kWinks), SiteFile(kWinks));
  DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 400u);  // ten parts, 60 ms apart
  EXPECT_TRUE(g_postedSeen);
  EXPECT_GE(g_ticks, 5);
}

TEST(HttpAntiFreeze, WithoutAnActiveOneTheThreadStaysBlocked) {
  TAntiFreeze antiFreeze(nullptr);
  antiFreeze.SetActive(false);
  EXPECT_FALSE(TAntiFreeze::Engaged());
  BusyWindow window;
  THttpClient http(nullptr);
  http.Get(Base() + "~trickle=30/" + kWinks);
  EXPECT_FALSE(g_postedSeen);
  EXPECT_EQ(g_ticks, 0);
}

TEST(HttpAntiFreeze, TheReplacedPumpIsTheOneCalled) {
  TAntiFreeze antiFreeze(nullptr);
  BusyWindow window;
  int calls = 0;
  THttpMessagePump old = SetHttpMessagePump([&calls] { ++calls; });
  THttpClient http(nullptr);
  http.Get(Base() + "~trickle=30/" + kWinks);
  SetHttpMessagePump(old);
  EXPECT_GE(calls, 5);
  EXPECT_FALSE(g_postedSeen);  // our pump dispatched nothing
}

TEST(HttpAntiFreeze, AMessageHandlerCannotStartASecondRequestOnTheBusyClient) {
  TAntiFreeze antiFreeze(nullptr);
  BusyWindow window;
  THttpClient http(nullptr);
  std::string nested = "none";
  THttpMessagePump old = SetHttpMessagePump([&] {
    if (nested != "none") return;
    try {
      http.Get(Base() + kWinks);
      nested = "ran";
    } catch (const EHttpError& e) {
      nested = e.Message;
    }
  });
  EXPECT_EQ(http.Get(Base() + "~trickle=20/" + kWinks), SiteFile(kWinks));
  SetHttpMessagePump(old);
  EXPECT_EQ(nested, "The HTTP client is already busy with a request");
  EXPECT_EQ(http.Get(Base() + kWinks), SiteFile(kWinks));  // free again afterwards
}

TEST(HttpAntiFreeze, TheDefaultPumpLeavesAQuitForTheMessageLoop) {
  BusyWindow window;
  PostQuitMessage(7);
  PumpThreadMessages();
  EXPECT_TRUE(g_postedSeen);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

// ---- The server's base URL ---------------------------------------------------------------------------

TEST(ServerBase, TheEnvironmentOverridesTheBuiltInValue) {
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", nullptr);
  EXPECT_EQ(ServerBaseUrl("http://content.example/"), "http://content.example/");
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", "http://127.0.0.1:9/x");
  EXPECT_EQ(ServerBaseUrl("http://content.example/"), "http://127.0.0.1:9/x/");
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", "");
  EXPECT_EQ(ServerBaseUrl("http://content.example/"), "http://content.example/");
  EXPECT_EQ(ServerBase(), VELLORAN_SERVER_BASE);
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", "http://127.0.0.1:9/");
  EXPECT_EQ(ServerBase(), "http://127.0.0.1:9/");
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", nullptr);
}
