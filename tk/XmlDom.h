// The XML document: the system's MSXML DOM through COM, read the way the content lists are read
// (child nodes by index, node names, attributes by position).
#pragma once

#include <windows.h>

#include <string>

#include "tk/Classes.h"

struct IXMLDOMNode;
struct IXMLDOMDocument;

class EXmlError : public Exception {
  using Exception::Exception;
};
// The parser refused the document; Message is its reason.
class EXmlParseError : public EXmlError {
  using EXmlError::EXmlError;
};

// An owned COM interface pointer: released when it goes, added to when copied.
template <class T>
class TComRef {
 public:
  TComRef() = default;
  // Takes over a reference the caller already holds.
  explicit TComRef(T* owned) : FPtr(owned) {}
  TComRef(const TComRef& other) : FPtr(other.FPtr) {
    if (FPtr) FPtr->AddRef();
  }
  TComRef(TComRef&& other) noexcept : FPtr(other.FPtr) { other.FPtr = nullptr; }
  TComRef& operator=(TComRef other) noexcept {
    std::swap(FPtr, other.FPtr);
    return *this;
  }
  ~TComRef() {
    if (FPtr) FPtr->Release();
  }
  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // For out-parameters: drops what is held and hands out the slot.
  T** Put() {
    *this = TComRef();
    return &FPtr;
  }

 private:
  T* FPtr = nullptr;
};

// One node of a loaded document. Every child node the parser delivers counts, whatever its type.
class TXmlNode {
 public:
  TXmlNode() = default;
  explicit TXmlNode(TComRef<IXMLDOMNode> node) : FNode(std::move(node)) {}
  bool Assigned() const { return bool(FNode); }

  std::string NodeName() const;
  int ChildCount() const;
  // Raises EXmlError when index is out of range.
  TXmlNode ChildNode(int index) const;
  // Attributes by position, not by name; 0 for a node that cannot have any.
  int AttributeCount() const;
  // The text of attribute index; raises EXmlError when the node has no such attribute.
  std::string AttributeText(int index) const;
  std::string Text() const;

 private:
  IXMLDOMNode* Checked() const;
  TComRef<IXMLDOMNode> FNode;
};

// Makes one DOM document of the given class; a test seam replaces it to make creation fail.
using TDomCreator = HRESULT (*)(const CLSID& clsid, IXMLDOMDocument** document);
TDomCreator SetDomCreator(TDomCreator creator);
// The document classes tried, newest first: DOMDocument 4.0, 3.0, 2.6, version-independent.
extern const CLSID* const DomDocumentClasses[4];

class TXMLDocument : public TComponent {
 public:
  TK_CLASS(TXMLDocument, TComponent)
  explicit TXMLDocument(TComponent* AOwner);
  ~TXMLDocument() override;

  std::string DOMVendor = "MSXML";

  // The document's bytes; the parser finds the encoding in them.
  void LoadFromXML(const std::string& xml);
  // The whole stream, from its beginning.
  void LoadFromStream(TStream* stream);
  bool Active() const { return bool(FDocument); }
  // Raises EXmlError when nothing is loaded.
  TXmlNode DocumentElement() const;

 private:
  TComRef<IXMLDOMDocument> FDocument;
  bool FComStarted = false;
};

// Makes the document readable from form descriptions.
void RegisterXmlDom();
