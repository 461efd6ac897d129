// Fill time of a content tree and the icon update per selection change, for lists of 1,000, 10,000
// and 50,000 items, each beside its reference: at 50,000 items a fill in at most 2.5 s and an
// update in at most 20 ms, both growing linearly (no faster than 5 times the 10,000 figure). The
// fill is broken down into the download, the parse, the walk through the DOM alone (the same calls
// the fill makes) and the rest: the tree's inserts and our own bookkeeping. The first icon update
// (the first selection, as the window comes up) is shown apart from the later ones.
//
// Run by hand, with a content server up:
//   python3 tools/contentserver/contentserver.py start --content content --state /tmp/cs
//   export VELLORAN_CONTENTSERVER_STATE=/tmp/cs
//   xvfb-run -a scripts/with-wine build/win64 build/win64/wine-run build/win64/bin/Velloran_bench.exe
//   (build/win32 likewise, where the host runs 32-bit programs)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "velloran/Uni_Main.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
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

// The DOM calls of a fill, in its order, with nothing put into a tree.
void WalkLikeTheFill(TXMLDocument* doc) {
  TXmlNode list = doc->DocumentElement();
  int categories = list.ChildCount();
  for (int c = 0; c < categories; ++c) {
    TXmlNode category = list.ChildNode(c);
    category.NodeName();
    int items = category.ChildCount();
    for (int i = 0; i < items; ++i) {
      TXmlNode item = category.ChildNode(i);
      for (int a : {0, 1, 2}) item.AttributeText(a);
    }
  }
}

struct TFigures {
  double Get = 0, Parse = 0, Walk = 0, Fill = 0, FirstSelect = 0, Select = 0, Close = 0;
  bool Whole = false;
};

// As the program does it: a main window made, its tree filled before it is shown, then shown.
TFigures Measure(const std::string& dir, int port, int items) {
  TFigures f;
  std::unique_ptr<Tfrm_Main> form(TCustomForm::Create<Tfrm_Main>(Application));
  std::string name = "bench-" + std::to_string(items) + ".xml";
  std::ofstream(dir + "/files/" + name, std::ios::binary) << MakeList(items);
  std::string url =
      "http://127.0.0.1:" + std::to_string(port) + "/~file=" + name + "/contentlist/winkscontent.xml";

  // Once untimed, so the server has the file at hand as it has for the fill.
  TMemoryStream body;
  form->msnhttp->Get(url, &body);
  body.Clear();
  auto t = Clock::now();
  form->msnhttp->Get(url, &body);
  f.Get = Ms(t);
  TXMLDocument doc(nullptr);
  t = Clock::now();
  doc.LoadFromStream(&body);
  f.Parse = Ms(t);
  t = Clock::now();
  WalkLikeTheFill(&doc);
  f.Walk = Ms(t);

  t = Clock::now();
  f.Whole = form->FillContentTree(form->tvWinks, url, "MSN Winks");
  f.Fill = Ms(t);
  // The first icon update, the nodes' first images: as the window comes up, the tree takes the
  // focus and selects its first node.
  t = Clock::now();
  form->tvWinks->SetSelected(form->tvWinks->Items().GetFirstNode());
  f.FirstSelect = Ms(t);
  form->Show();
  Application->ProcessMessages();

  // Then selections spread over the list; each one updates every node's icons.
  const int selections = 20;
  TTreeNode* root = form->tvWinks->Items().GetFirstNode();
  TTreeNode* category = root ? root->getFirstChild() : nullptr;
  for (int s = 0; s < selections && category; ++s) {
    TTreeNode* item = category->getFirstChild();
    t = Clock::now();
    form->tvWinks->SetSelected(item ? item : category);
    f.Select += Ms(t);
    for (int skip = 0; skip < items / 100 / selections + 1 && category; ++skip)
      category = category->getNextSibling();
  }
  f.Select /= selections;
  t = Clock::now();
  form.reset();
  f.Close = Ms(t);
  return f;
}

}  // namespace

int main() {
  PrintBenchTarget();
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

  std::printf("%7s | %9s %9s %9s %9s %9s | %14s %9s | %9s\n", "items", "fill (ms)", "download", "parse",
              "DOM walk", "the rest", "first select", "select", "close");
  TFigures tenThousand;
  for (int items : {1000, 10000, 50000}) {
    TFigures f = Measure(dir, port, items);
    std::printf("%7d | %9.1f %9.1f %9.1f %9.1f %9.1f | %14.2f %9.2f | %9.1f%s\n", items, f.Fill, f.Get,
                f.Parse, f.Walk, f.Fill - f.Get - f.Parse - f.Walk, f.FirstSelect, f.Select, f.Close,
                f.Whole ? "" : "  (list not read whole)");
    std::fflush(stdout);
    if (items == 10000) tenThousand = f;
  }
  std::printf("%7s | %9.1f %39s | %14.2f %9.2f |   goal at 50,000\n", "", 2500.0, "", 20.0, 20.0);
  std::printf("%7s | %9.1f %39s | %14.2f %9.2f |   linear: 5 x the 10,000 figures\n", "",
              5 * tenThousand.Fill, "", 5 * tenThousand.FirstSelect, 5 * tenThousand.Select);
  return 0;
}
