// Fill time of a content tree and the icon update per selection change, for lists of 1,000, 10,000
// and 50,000 items: both must grow linearly with the list.
//
// Run by hand, with a content server up:
//   python3 tools/contentserver/contentserver.py start --content content --state /tmp/cs
//   export VELLORAN_CONTENTSERVER_STATE=/tmp/cs
//   xvfb-run -a scripts/with-wine build/win/wineprefix build/win/wine-run build/win/bin/Velloran_bench.exe
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "velloran/Uni_Main.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string MakeList(int items) {
  std::string xml = "<?xml version=\"1.0\"?><winks>";
  const int perCategory = 100;
  for (int i = 0; i < items; ++i) {
    if (i % perCategory == 0) xml += "<C" + std::to_string(i / perCategory) + ">";
    std::string n = std::to_string(i);
    xml += "<w caption=\"Wink " + n + "\" preview=\"w" + n + ".swf\" cab=\"w" + n + ".cab\"/>";
    if (i % perCategory == perCategory - 1 || i == items - 1)
      xml += "</C" + std::to_string(i / perCategory) + ">";
  }
  return xml + "</winks>";
}

}  // namespace

int main() {
  const char* state = std::getenv("VELLORAN_CONTENTSERVER_STATE");
  if (!state || !*state) {
    std::fprintf(stderr, "VELLORAN_CONTENTSERVER_STATE must name a running content server's state folder\n");
    return 2;
  }
  std::string dir = std::string("Z:") + state;
  std::ifstream portFile(dir + "/port");
  int port = 0;
  portFile >> port;
  CreateDirectoryA((dir + "/files").c_str(), nullptr);
  RegisterVelloranClasses();
  // The probe and lists come from the sample content; each measured list is a file of its own.
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", ("http://127.0.0.1:" + std::to_string(port) + "/").c_str());
  std::unique_ptr<Tfrm_Main> form(TCustomForm::Create<Tfrm_Main>(Application));
  form->Show();

  std::printf("%8s %12s %16s\n", "items", "fill (ms)", "icons/select (ms)");
  for (int items : {1000, 10000, 50000}) {
    std::string name = "bench-" + std::to_string(items) + ".xml";
    std::ofstream(dir + "/files/" + name, std::ios::binary) << MakeList(items);
    std::string url =
        "http://127.0.0.1:" + std::to_string(port) + "/~file=" + name + "/contentlist/winkscontent.xml";

    auto t0 = std::chrono::steady_clock::now();
    bool whole = form->FillContentTree(form->tvWinks, url, "MSN Winks");
    double fill = Seconds(t0);

    // Selections spread over the list; each one updates every node's icons.
    const int selections = 20;
    TTreeNode* root = form->tvWinks->Items().GetFirstNode();
    TTreeNode* category = root ? root->getFirstChild() : nullptr;
    double select = 0;
    for (int s = 0; s < selections && category; ++s) {
      TTreeNode* item = category->getFirstChild();
      auto t1 = std::chrono::steady_clock::now();
      form->tvWinks->SetSelected(item ? item : category);
      select += Seconds(t1);
      for (int skip = 0; skip < items / 100 / selections + 1 && category; ++skip)
        category = category->getNextSibling();
    }
    std::printf("%8d %12.1f %16.2f%s\n", items, fill * 1000, select * 1000 / selections,
                whole ? "" : "  (list not read whole)");
  }
  return 0;
}
