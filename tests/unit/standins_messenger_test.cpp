// The chat client stand-ins through plain COM: the API object's status from our settings value,
// and the content installer fetching a package from a server of the test's own into the
// signed-in account's winks folder.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/unit/standins_testing.h"

#include <shlobj.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

using namespace standins_testing;

namespace {

const CLSID kMessenger = {0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};
const IID kMessengerApi = {0xD50C3386, 0x0F89, 0x48F8, {0xB2, 0x04, 0x36, 0x04, 0x62, 0x9D, 0xEE, 0x10}};
const CLSID kInstaller = {0xF06608C7, 0x1874, 0x4EEA, {0xB3, 0xB2, 0xDF, 0x99, 0xEB, 0xB1, 0x44, 0xB8}};
const IID kMessengerContent = {0x83B2A407, 0x22B9, 0x4842, {0x97, 0xC6, 0xDE, 0x30, 0xEC, 0x6D, 0xAC, 0x3E}};

// Vtable slots, counted from QueryInterface: IDispatch takes seven.
const int kGetMyStatusSlot = 30;
const int kInstallSlot = 7;

template <class Fn>
Fn Slot(IUnknown* object, int slot) {
  return reinterpret_cast<Fn>((*reinterpret_cast<void***>(object))[slot]);
}

// A one-connection-at-a-time HTTP server on 127.0.0.1: serves fixed bodies by path, 404 for the
// rest, and remembers the paths asked for.
class TinyHttpServer {
 public:
  using Bodies = std::map<std::string, std::string>;
  explicit TinyHttpServer(Bodies bodies) : bodies_(std::move(bodies)) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TinyHttpServer() {
    closesocket(listener_);  // ends the accept loop
    thread_.join();
    WSACleanup();
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    for (;;) {
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      std::string request;
      char buf[1024];
      while (request.find("\r\n\r\n") == std::string::npos) {
        int n = recv(client, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<size_t>(n));
      }
      size_t start = request.find(' ') + 1;
      std::string path = request.substr(start, request.find(' ', start) - start);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(path);
      }
      auto found = bodies_.find(path);
      std::string body = found != bodies_.end() ? found->second : "not here";
      std::string reply = std::string(found != bodies_.end() ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                          "\r\nContent-Length: " + std::to_string(body.size()) +
                          "\r\nConnection: close\r\n\r\n" + body;
      send(client, reply.data(), static_cast<int>(reply.size()), 0);
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  std::map<std::string, std::string> bodies_;
  SOCKET listener_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> requests_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string AppData() {
  char path[MAX_PATH];
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path), S_OK);
  return path;
}

LONG StatusByName(IDispatch* api) {
  VARIANT result;
  EXPECT_EQ(Call(api, IdOf(api, L"MyStatus"), DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  return V_I4(&result);
}

class MessengerStandin : public ::testing::Test {
 protected:
  ComApartment com;
  OwnSettings settings;
};

}  // namespace

TEST_F(MessengerStandin, StatusComesFromTheSettingsValueByNameAndByVtable) {
  // Unset, the user is not signed in.
  {
    Ptr<IDispatch> api;
    ASSERT_EQ(CoCreateInstance(kMessenger, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, api.out()), S_OK);
    EXPECT_EQ(StatusByName(api.p), 1);
  }
  for (DWORD status : {2u, 1u, 0x100u, 0x200u, 0x300u, 0x400u, 0u, 34u}) {
    settings.SetDword("Messenger Status", status);
    // A fresh object for every reading, as the program makes them.
    Ptr<IDispatch> api;
    ASSERT_EQ(CoCreateInstance(kMessenger, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, api.out()), S_OK);
    EXPECT_EQ(StatusByName(api.p), static_cast<LONG>(status));

    Ptr<IUnknown> direct;
    ASSERT_EQ(api->QueryInterface(kMessengerApi, direct.out()), S_OK);
    LONG read = -1;
    using GetStatus = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, LONG*);
    EXPECT_EQ(Slot<GetStatus>(direct.p, kGetMyStatusSlot)(direct.p, &read), S_OK);
    EXPECT_EQ(read, static_cast<LONG>(status));
  }
  auto log = settings.LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "Messenger MyStatus 1");
  EXPECT_EQ(log.back(), "Messenger MyStatus 34");
}

TEST_F(MessengerStandin, SigninNameIsTheAccountOnlyWhileSignedIn) {
  settings.SetString("Messenger Account", "someone@example.com");
  Ptr<IDispatch> api;
  ASSERT_EQ(CoCreateInstance(kMessenger, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, api.out()), S_OK);
  DISPID name = IdOf(api.p, L"mysigninname");  // automation names ignore case
  settings.SetDword("Messenger Status", 2);
  EXPECT_EQ(GetText(api.p, name), L"someone@example.com");
  settings.SetDword("Messenger Status", 1);
  EXPECT_EQ(GetText(api.p, name), L"");
  VARIANT none;
  EXPECT_EQ(Call(api.p, 999, DISPATCH_PROPERTYGET, {}, &none), DISP_E_MEMBERNOTFOUND);
}

TEST_F(MessengerStandin, InstallerIsFoundRunningOnceRegisteredElseCreated) {
  Ptr<IUnknown> running;
  EXPECT_NE(GetActiveObject(kInstaller, nullptr, &running.p), S_OK);

  Ptr<IUnknown> created;
  ASSERT_EQ(CoCreateInstance(kInstaller, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, created.out()), S_OK);
  Ptr<IDispatch> content;
  EXPECT_EQ(created->QueryInterface(kMessengerContent, content.out()), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(RegisterActiveObject(created.p, kInstaller, ACTIVEOBJECT_STRONG, &cookie), S_OK);
  ASSERT_EQ(GetActiveObject(kInstaller, nullptr, &running.p), S_OK);
  EXPECT_EQ(running.p, created.p);
  EXPECT_EQ(RevokeActiveObject(cookie, nullptr), S_OK);
}

TEST_F(MessengerStandin, InstallStoresThePackageInTheAccountsWinksFolder) {
  using namespace std::string_literals;
  std::string package = "MSCF\0\0\0\0 package bytes "s + std::to_string(GetCurrentProcessId());
  TinyHttpServer server({{"/setupcab/cabwinks/standins-wave.cab", package},
                         {"/setupcab/cabemoticons/map.cab", "not the index"}});
  settings.SetDword("Messenger Status", 2);
  settings.SetString("Messenger Account", "abcdef");
  // The folder is the unsigned decimal of the account hash.
  std::string folder = AppData() + "\\Microsoft\\MSN Messenger\\3283514353\\Winks3\\";
  std::string stored = folder + "standins-wave.dat";
  DeleteFileA(stored.c_str());

  Ptr<IDispatch> installer;
  ASSERT_EQ(CoCreateInstance(kInstaller, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, installer.out()),
            S_OK);
  std::string url = server.Url("/setupcab/cabwinks/standins-wave.cab");
  EXPECT_EQ(
      Call(installer.p, IdOf(installer.p, L"InstallContent"), DISPATCH_METHOD, {Text(Wide(url).c_str())}),
      S_OK);
  EXPECT_EQ(ReadFile(stored), package);

  // The first method of the default interface is the same operation.
  Ptr<IUnknown> content;
  ASSERT_EQ(installer->QueryInterface(kMessengerContent, content.out()), S_OK);
  std::string mapUrl = server.Url("/setupcab/cabemoticons/map.cab");
  BSTR mapText = SysAllocString(Wide(mapUrl).c_str());
  using Install = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR);
  EXPECT_EQ(Slot<Install>(content.p, kInstallSlot)(content.p, mapText), S_OK);
  SysFreeString(mapText);
  // Never over the client's own index of the folder.
  EXPECT_EQ(ReadFile(folder + "map_.dat"), "not the index");

  EXPECT_EQ(server.Requests(), (std::vector<std::string>{"/setupcab/cabwinks/standins-wave.cab",
                                                         "/setupcab/cabemoticons/map.cab"}));
  auto log = settings.LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "Installer InstallContent " + url);
  EXPECT_EQ(log[1], "Installer Stored " + stored);
  EXPECT_EQ(log[3], "Installer Stored " + folder + "map_.dat");
  DeleteFileA(stored.c_str());
  DeleteFileA((folder + "map_.dat").c_str());
}

TEST_F(MessengerStandin, InstallFailsWithoutStoringWhenSignedOutOrTheServerRefuses) {
  TinyHttpServer server(TinyHttpServer::Bodies{{"/setupcab/cabwinks/present.cab", "package"}});
  std::string account = "st\xE9-" + std::to_string(GetCurrentProcessId());
  settings.SetString("Messenger Account", account);
  uint32_t hash = 0;
  for (unsigned char c : account) hash = hash * 101u + c;
  std::string folder = AppData() + "\\Microsoft\\MSN Messenger\\" + std::to_string(hash) + "\\Winks3\\";

  Ptr<IDispatch> installer;
  ASSERT_EQ(CoCreateInstance(kInstaller, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, installer.out()),
            S_OK);
  DISPID install = IdOf(installer.p, L"InstallContent");
  auto attempt = [&](const std::string& path) {
    std::string url = server.Url(path);
    return Call(installer.p, install, DISPATCH_METHOD, {Text(Wide(url).c_str())});
  };

  settings.SetDword("Messenger Status", 0x200);  // still connecting
  EXPECT_EQ(attempt("/setupcab/cabwinks/present.cab"), E_FAIL);
  EXPECT_TRUE(server.Requests().empty());

  settings.SetDword("Messenger Status", 0);
  EXPECT_EQ(attempt("/setupcab/cabwinks/absent.cab"), E_FAIL);
  EXPECT_FALSE(Exists(folder + "absent.dat"));

  EXPECT_EQ(attempt("/setupcab/cabwinks/present.cab"), S_OK);
  EXPECT_EQ(ReadFile(folder + "present.dat"), "package");

  auto log = settings.LogLines();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1], "Installer Failed not signed in");
  EXPECT_EQ(log[3], "Installer Failed download failed: HTTP 404");
  DeleteFileA((folder + "present.dat").c_str());
  RemoveDirectoryA(folder.c_str());
  RemoveDirectoryA(folder.substr(0, folder.size() - 8).c_str());
}
