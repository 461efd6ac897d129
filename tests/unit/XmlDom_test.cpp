// The XML document over the system's DOM: the sample content lists read the way the previewer reads
// them, encodings found in the document, failures raised, and the choice of DOM class.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "tk/XmlDom.h"

namespace {

std::string ContentFile(const std::string& path) {
  std::ifstream in(std::string("Z:") + VELLORAN_SOURCE_DIR + "/content/" + path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ChildNames(const TXmlNode& node) {
  std::vector<std::string> names;
  for (int i = 0, n = node.ChildCount(); i < n; ++i) names.push_back(node.ChildNode(i).NodeName());
  return names;
}

// The item's first three attributes, by position.
std::vector<std::string> Item(const TXmlNode& item) {
  return {item.AttributeText(0), item.AttributeText(1), item.AttributeText(2)};
}

std::string Ansi(const wchar_t* text) {
  char buf[64] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
  return buf;
}

std::string GuidText(const CLSID& clsid) {
  wchar_t wide[40];
  StringFromGUID2(clsid, wide, 40);
  return Ansi(wide);
}

std::vector<std::string> g_tried;

HRESULT FailingCreator(const CLSID& clsid, IXMLDOMDocument** document) {
  g_tried.push_back(GuidText(clsid));
  *document = nullptr;
  return REGDB_E_CLASSNOTREG;
}

TDomCreator g_realCreator = nullptr;

// Only the version-independent class can be made.
HRESULT OnlyOldestCreator(const CLSID& clsid, IXMLDOMDocument** document) {
  g_tried.push_back(GuidText(clsid));
  if (clsid != *DomDocumentClasses[3]) {
    *document = nullptr;
    return REGDB_E_CLASSNOTREG;
  }
  return g_realCreator(clsid, document);
}

HRESULT RecordingCreator(const CLSID& clsid, IXMLDOMDocument** document) {
  g_tried.push_back(GuidText(clsid));
  return g_realCreator(clsid, document);
}

// Puts the real creator back whatever the test did.
struct CreatorScope {
  explicit CreatorScope(TDomCreator creator) {
    g_tried.clear();
    g_realCreator = SetDomCreator(creator);
  }
  ~CreatorScope() { SetDomCreator(g_realCreator); }
};

const std::vector<std::string> kNewestFirst = {
    "{88D969C0-F192-11D4-A65F-0040963251E5}",  // DOMDocument 4.0
    "{F5078F32-C551-11D3-89B9-0000F81FE221}",  // 3.0
    "{F5078F1B-C551-11D3-89B9-0000F81FE221}",  // 2.6
    "{F6D90F11-9C73-11D3-B32E-00C04F990BB4}",  // version-independent
};

}  // namespace

// ---- The sample lists ------------------------------------------------------------------------------

TEST(XmlDomLists, WinksListHasItsCategoriesAndItemsInDocumentOrder) {
  TXMLDocument doc(nullptr);
  EXPECT_EQ(doc.DOMVendor, "MSXML");
  doc.LoadFromXML(ContentFile("contentlist/winkscontent.xml"));
  TXmlNode root = doc.DocumentElement();
  EXPECT_EQ(root.NodeName(), "winks");
  EXPECT_EQ(ChildNames(root),
            (std::vector<std::string>{"Love", "Fun", "Celebrate", "Weather", "ComingSoon"}));
  TXmlNode love = root.ChildNode(0);
  ASSERT_EQ(love.ChildCount(), 3);
  EXPECT_EQ(Item(love.ChildNode(0)), (std::vector<std::string>{"Big Hug", "bighug.swf", "bighug.cab"}));
  EXPECT_EQ(Item(love.ChildNode(2)),
            (std::vector<std::string>{"Heart Balloon", "heartballoon.swf", "heartballoon.cab"}));
  // A fourth attribute is there but only the first three are read.
  TXmlNode fireworks = root.ChildNode(2).ChildNode(0);
  EXPECT_EQ(fireworks.AttributeCount(), 4);
  EXPECT_EQ(Item(fireworks), (std::vector<std::string>{"Fireworks", "fireworks.swf", "fireworks.cab"}));
  EXPECT_EQ(root.ChildNode(4).ChildCount(), 0);  // a category without items
}

TEST(XmlDomLists, EmoticonsListNamesPreviewFolders) {
  TXMLDocument doc(nullptr);
  doc.LoadFromXML(ContentFile("contentlist/emoticonscontent.xml"));
  TXmlNode root = doc.DocumentElement();
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Faces", "Animals", "Food"}));
  EXPECT_EQ(Item(root.ChildNode(1).ChildNode(0)),
            (std::vector<std::string>{"Sleepy Cat", "sleepycat", "sleepycat.cab"}));
  EXPECT_EQ(root.ChildNode(2).ChildCount(), 1);
}

// ---- How nodes are delivered -------------------------------------------------------------------------

TEST(XmlDomNodes, AttributesCountByPositionNotName) {
  TXMLDocument doc(nullptr);
  doc.LoadFromXML("<r><c><i cab=\"x.cab\" caption=\"X\" preview=\"x.swf\"/><i only=\"one\"/></c></r>");
  TXmlNode c = doc.DocumentElement().ChildNode(0);
  EXPECT_EQ(Item(c.ChildNode(0)), (std::vector<std::string>{"x.cab", "X", "x.swf"}));
  EXPECT_EQ(c.ChildNode(1).AttributeText(0), "one");
  EXPECT_THROW(c.ChildNode(1).AttributeText(1), EXmlError);
  EXPECT_THROW(c.ChildNode(1).AttributeText(-1), EXmlError);
  EXPECT_THROW(c.ChildNode(2), EXmlError);
}

TEST(XmlDomNodes, WhitespaceIsDroppedButOtherNodesOfAnyTypeCount) {
  TXMLDocument doc(nullptr);
  doc.LoadFromXML("<r>\n  <a/>\n  <!-- note -->\n  <b>text</b>\n</r>");
  TXmlNode root = doc.DocumentElement();
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"a", "#comment", "b"}));
  TXmlNode comment = root.ChildNode(1);
  EXPECT_EQ(comment.AttributeCount(), 0);
  EXPECT_THROW(comment.AttributeText(0), EXmlError);
  EXPECT_EQ(ChildNames(root.ChildNode(2)), (std::vector<std::string>{"#text"}));
}

TEST(XmlDomNodes, TheEncodingIsTakenFromTheDocument) {
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><c n=\"caf\xE9\"/></r>";
  const std::string utf8 = "<?xml version=\"1.0\" encoding=\"utf-8\"?><r><c n=\"caf\xC3\xA9\"/></r>";
  const wchar_t wide[] = L"\xFEFF<r><c n=\"caf\xE9\"/></r>";
  const std::string utf16(reinterpret_cast<const char*>(wide), sizeof wide - sizeof(wchar_t));
  for (const std::string& bytes : {latin1, utf8, utf16}) {
    TXMLDocument doc(nullptr);
    doc.LoadFromXML(bytes);
    EXPECT_EQ(doc.DocumentElement().ChildNode(0).AttributeText(0), Ansi(L"caf\xE9"));
  }
}

TEST(XmlDomNodes, AStreamLoadsWholeWhereverItStands) {
  TMemoryStream stream;
  std::string xml = ContentFile("contentlist/winkscontent.xml");
  stream.WriteBuffer(xml.data(), int32_t(xml.size()));  // left at its end, as after a download
  TXMLDocument doc(nullptr);
  doc.LoadFromStream(&stream);
  EXPECT_EQ(doc.DocumentElement().ChildCount(), 5);
}

// ---- Failures ------------------------------------------------------------------------------------------

TEST(XmlDomFailures, MalformedDocumentsAndMissingDocumentsRaise) {
  TXMLDocument doc(nullptr);
  EXPECT_FALSE(doc.Active());
  EXPECT_THROW(doc.DocumentElement(), EXmlError);
  EXPECT_THROW(doc.LoadFromXML("<r><unclosed></r>"), EXmlParseError);
  EXPECT_THROW(doc.LoadFromXML(""), EXmlParseError);
  EXPECT_FALSE(doc.Active());
  doc.LoadFromXML("<r/>");
  EXPECT_TRUE(doc.Active());
  EXPECT_EQ(doc.DocumentElement().ChildCount(), 0);
  EXPECT_THROW(TXmlNode().NodeName(), EXmlError);
}

TEST(XmlDomClasses, NoCreatableDomMeansNotInstalled) {
  CreatorScope scope(FailingCreator);
  TXMLDocument doc(nullptr);
  try {
    doc.LoadFromXML("<r/>");
    FAIL() << "loading must fail without a DOM";
  } catch (const EXmlParseError&) {
    FAIL() << "not a parse failure";
  } catch (const EXmlError& e) {
    EXPECT_EQ(e.Message, "Microsoft MSXML is not installed");
  }
  EXPECT_EQ(g_tried, kNewestFirst);
  EXPECT_FALSE(doc.Active());
}

TEST(XmlDomClasses, OlderClassesAreTriedInTurn) {
  CreatorScope scope(OnlyOldestCreator);
  TXMLDocument doc(nullptr);
  doc.LoadFromXML("<r><a/></r>");
  EXPECT_EQ(g_tried, kNewestFirst);
  EXPECT_EQ(ChildNames(doc.DocumentElement()), std::vector<std::string>{"a"});
}

TEST(XmlDomClasses, TheNewestThatCanBeCreatedIsUsed) {
  CreatorScope scope(RecordingCreator);
  TXMLDocument doc(nullptr);
  doc.LoadFromXML("<r/>");
  EXPECT_EQ(g_tried, std::vector<std::string>{kNewestFirst[0]});
}
