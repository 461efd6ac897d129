#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include "tk/XmlDom.h"

#include "tk/FormReader.h"

namespace {

// Spelled out: the import libraries lack some of these, and what they call CLSID_DOMDocument is the
// older class of the first interfaces (Microsoft.XMLDOM), not the version-independent one.
const CLSID kDOMDocument40 = {0x88d969c0, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDOMDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const CLSID kDOMDocument26 = {0xf5078f1b, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
// Msxml2.DOMDocument: the version-independent class of the 2-and-later interfaces.
const CLSID kDOMDocument = {0xf6d90f11, 0x9c73, 0x11d3, {0xb3, 0x2e, 0x00, 0xc0, 0x4f, 0x99, 0x0b, 0xb4}};
const IID kIID_IXMLDOMDocument = {
    0x2933bf81, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

HRESULT CreateDomByClass(const CLSID& clsid, IXMLDOMDocument** document) {
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIID_IXMLDOMDocument,
                          reinterpret_cast<void**>(document));
}

TDomCreator g_creator = CreateDomByClass;

// Owns a BSTR the DOM handed out.
struct TBstr {
  BSTR Value = nullptr;
  ~TBstr() { SysFreeString(Value); }
};

std::string ToAnsi(BSTR text) {
  int len = int(SysStringLen(text));
  if (len == 0) return "";
  int n = WideCharToMultiByte(CP_ACP, 0, text, len, nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, len, s.data(), n, nullptr, nullptr);
  return s;
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw EXmlError(std::string(what) + " failed (HRESULT " + std::to_string(long(hr)) + ")");
}

}  // namespace

const CLSID* const DomDocumentClasses[4] = {&kDOMDocument40, &kDOMDocument30, &kDOMDocument26, &kDOMDocument};

TDomCreator SetDomCreator(TDomCreator creator) {
  TDomCreator old = g_creator;
  g_creator = creator ? creator : CreateDomByClass;
  return old;
}

// ---- Nodes ---------------------------------------------------------------------------------------

IXMLDOMNode* TXmlNode::Checked() const {
  if (!FNode) throw EXmlError("No XML node");
  return FNode.Get();
}

std::string TXmlNode::NodeName() const {
  TBstr name;
  Check(Checked()->get_nodeName(&name.Value), "Reading a node name");
  return ToAnsi(name.Value);
}

int TXmlNode::ChildCount() const {
  TComRef<IXMLDOMNodeList> children;
  Check(Checked()->get_childNodes(children.Put()), "Reading child nodes");
  long length = 0;
  if (children) Check(children->get_length(&length), "Counting child nodes");
  return int(length);
}

TXmlNode TXmlNode::ChildNode(int index) const {
  TComRef<IXMLDOMNodeList> children;
  Check(Checked()->get_childNodes(children.Put()), "Reading child nodes");
  TComRef<IXMLDOMNode> child;
  if (!children || index < 0 || children->get_item(index, child.Put()) != S_OK || !child)
    throw EXmlError("Child node index out of bounds (" + std::to_string(index) + ")");
  return TXmlNode(std::move(child));
}

int TXmlNode::AttributeCount() const {
  TComRef<IXMLDOMNamedNodeMap> attributes;
  // Nodes that cannot carry attributes answer S_FALSE and no map.
  if (Checked()->get_attributes(attributes.Put()) != S_OK || !attributes) return 0;
  long length = 0;
  Check(attributes->get_length(&length), "Counting attributes");
  return int(length);
}

std::string TXmlNode::AttributeText(int index) const {
  TComRef<IXMLDOMNamedNodeMap> attributes;
  TComRef<IXMLDOMNode> attribute;
  if (Checked()->get_attributes(attributes.Put()) != S_OK || !attributes || index < 0 ||
      attributes->get_item(index, attribute.Put()) != S_OK || !attribute)
    throw EXmlError("Attribute index out of bounds (" + std::to_string(index) + ")");
  return TXmlNode(std::move(attribute)).Text();
}

std::string TXmlNode::Text() const {
  TBstr text;
  Check(Checked()->get_text(&text.Value), "Reading node text");
  return ToAnsi(text.Value);
}

// ---- The document --------------------------------------------------------------------------------

TXMLDocument::TXMLDocument(TComponent* AOwner) : TComponent(AOwner) {
  // Usually the application has started COM already; then this only counts up.
  FComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

TXMLDocument::~TXMLDocument() {
  FDocument = TComRef<IXMLDOMDocument>();
  if (FComStarted) CoUninitialize();
}

void TXMLDocument::LoadFromXML(const std::string& xml) {
  FDocument = TComRef<IXMLDOMDocument>();
  TComRef<IXMLDOMDocument> document;
  for (const CLSID* clsid : DomDocumentClasses)
    if (SUCCEEDED(g_creator(*clsid, document.Put())) && document) break;
  if (!document) throw EXmlError("Microsoft MSXML is not installed");
  Check(document->put_async(VARIANT_FALSE), "Setting up the XML document");
  // The lists come from the network: never let them make the parser fetch other files or URLs
  // (the newest class already refuses; older ones would follow external entities).
  Check(document->put_resolveExternals(VARIANT_FALSE), "Setting up the XML document");

  // The bytes go in as they are, so the parser reads the encoding from the document itself.
  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, ULONG(xml.size()));
  if (!bytes) throw EOutOfResources("Out of memory loading an XML document");
  void* data = nullptr;
  if (SUCCEEDED(SafeArrayAccessData(bytes, &data))) {
    if (!xml.empty()) std::memcpy(data, xml.data(), xml.size());
    SafeArrayUnaccessData(bytes);
  }
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_ARRAY | VT_UI1;
  source.parray = bytes;
  VARIANT_BOOL loaded = VARIANT_FALSE;
  HRESULT hr = document->load(source, &loaded);
  VariantClear(&source);

  if (FAILED(hr) || loaded != VARIANT_TRUE) {
    std::string reason = "The XML document could not be parsed";
    TComRef<IXMLDOMParseError> error;
    TBstr text;
    if (SUCCEEDED(document->get_parseError(error.Put())) && error &&
        SUCCEEDED(error->get_reason(&text.Value)) && SysStringLen(text.Value) > 0) {
      reason = ToAnsi(text.Value);
      while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    }
    throw EXmlParseError(reason);
  }
  FDocument = std::move(document);
}

void TXMLDocument::LoadFromStream(TStream* stream) {
  int64_t size = stream->GetSize();
  std::string xml(size_t(size), '\0');
  stream->SetPosition(0);
  stream->ReadBuffer(xml.data(), int32_t(size));
  LoadFromXML(xml);
}

TXmlNode TXMLDocument::DocumentElement() const {
  if (!FDocument) throw EXmlError("No XML document is loaded");
  TComRef<IXMLDOMElement> element;
  Check(FDocument->get_documentElement(element.Put()), "Reading the document element");
  if (!element) throw EXmlError("The XML document has no document element");
  IXMLDOMNode* node = element.Get();  // an element is a node
  node->AddRef();
  return TXmlNode(TComRef<IXMLDOMNode>(node));
}

void RegisterXmlDom() {
  RegisterComponentClass<TXMLDocument>();
  Published<TXMLDocument>().Property("DOMVendor", &TXMLDocument::DOMVendor);
}
