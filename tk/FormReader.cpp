#include "tk/FormReader.h"

#include <windows.h>

#include <cctype>

namespace {
[[noreturn]] void InvalidValue() { throw EReadError("Invalid property value"); }

std::string LineText(int line) { return "Line " + std::to_string(line) + ": "; }

// Character classes of the description, which is ASCII: inline, as the hex of a stored picture or
// skin is tens of thousands of characters.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0; }
// The value of a hex digit, -1 for any other character.
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}
}  // namespace

// ---- Values ------------------------------------------------------------------------------------

int32_t TValue::AsInteger() const {
  if (Kind != vaInteger || Int < INT32_MIN || Int > int64_t(UINT32_MAX)) InvalidValue();
  return static_cast<int32_t>(static_cast<uint32_t>(Int));
}

bool TValue::AsBoolean() const {
  if (Kind != vaTrue && Kind != vaFalse) InvalidValue();
  return Kind == vaTrue;
}

const std::string& TValue::AsString() const {
  if (Kind != vaString) InvalidValue();
  return Str;
}

const std::string& TValue::AsIdent() const {
  if (Kind != vaIdent) InvalidValue();
  return Str;
}

const std::vector<std::string>& TValue::AsSet() const {
  if (Kind != vaSet) InvalidValue();
  return Items;
}

const std::vector<std::string>& TValue::AsList() const {
  if (Kind != vaList) InvalidValue();
  return Items;
}

const std::string& TValue::AsBinary() const {
  if (Kind != vaBinary) InvalidValue();
  return Str;
}

const std::vector<std::vector<TValueProp>>& TValue::AsCollection() const {
  if (Kind != vaCollection) InvalidValue();
  return Collection;
}

namespace {
const int32_t* FindIdent(const TIdentMap& idents, const std::string& name) {
  for (const auto& [n, v] : idents)
    if (SameText(n, name)) return &v;
  return nullptr;
}
}  // namespace

int32_t ValueToInt(const TValue& Value, const TIdentMap& Idents) {
  if (Value.Kind == TValue::vaIdent) {
    if (const int32_t* v = FindIdent(Idents, Value.Str)) return *v;
    InvalidValue();
  }
  return Value.AsInteger();
}

std::string IdentOf(int32_t Value, const TIdentMap& Idents, bool Boolean) {
  if (Boolean) return Value ? "True" : "False";
  for (const auto& [n, v] : Idents)
    if (v == Value) return n;
  return std::to_string(Value);
}

uint32_t ValueToSet(const TValue& Value, const TIdentMap& Elements) {
  uint32_t bits = 0;
  for (const std::string& e : Value.AsSet()) {
    const int32_t* v = FindIdent(Elements, e);
    if (!v || *v < 0 || *v > 31) InvalidValue();
    bits |= 1u << *v;
  }
  return bits;
}

// ---- Registries --------------------------------------------------------------------------------

bool TCaseLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

namespace {
std::map<std::string, TComponentFactory, TCaseLess>& Factories() {
  static std::map<std::string, TComponentFactory, TCaseLess> factories;
  return factories;
}

std::map<TClass, TClassTable>& Tables() {
  static std::map<TClass, TClassTable> tables;
  return tables;
}

// The entry of Name in the nearest table of Class or its ancestors that has one.
template <class Entry>
const Entry* FindInTables(TClass Class, const std::string& Name,
                          const std::map<std::string, Entry, TCaseLess> TClassTable::*Member) {
  for (TClass c = Class; c; c = c->Parent) {
    auto t = Tables().find(c);
    if (t == Tables().end()) continue;
    const auto& entries = t->second.*Member;
    auto e = entries.find(Name);
    if (e != entries.end()) return &e->second;
  }
  return nullptr;
}
}  // namespace

void RegisterComponentClass(const std::string& Name, TComponentFactory Factory) {
  Factories()[Name] = std::move(Factory);
}

const TComponentFactory* FindComponentClass(const std::string& Name) {
  auto it = Factories().find(Name);
  return it == Factories().end() ? nullptr : &it->second;
}

TClassTable& ClassTable(TClass Class) { return Tables()[Class]; }

const TPropertySetter* FindPropertySetter(TClass Class, const std::string& Name) {
  return FindInTables(Class, Name, &TClassTable::Setters);
}
const TPropertyGetter* FindPropertyGetter(TClass Class, const std::string& Name) {
  return FindInTables(Class, Name, &TClassTable::Objects);
}
const TPropertyReader* FindPropertyReader(TClass Class, const std::string& Name) {
  return FindInTables(Class, Name, &TClassTable::Readers);
}

bool GetEnumProp(TPersistent* Instance, const std::string& Name, std::string& Value) {
  const TPropertyReader* read = Instance ? FindPropertyReader(Instance->ClassType(), Name) : nullptr;
  if (!read) return false;
  Value = (*read)(Instance);
  return true;
}
const TMethodMaker* FindMethodMaker(TClass Class, const std::string& Name) {
  return FindInTables(Class, Name, &TClassTable::Methods);
}
const TFieldBinder* FindFieldBinder(TClass Class, const std::string& Name) {
  return FindInTables(Class, Name, &TClassTable::Fields);
}

// ---- The description's syntax ------------------------------------------------------------------

struct TReader::TNode {
  using TProp = TValueProp;
  std::string Name, ClassName;
  int Line = 0;
  std::vector<TProp> Props;
  std::vector<TNode> Children;
};

struct TReader::TFixup {
  std::string ComponentName;
  std::function<void(TComponent*)> Resolve;
  std::string Context;  // "Line N: Error reading X.Y: ", for its errors
};

namespace {
// A hand-written recursive-descent reader of the text; it builds the node tree and knows nothing
// of components, so a syntax error creates nothing.
class TParser {
 public:
  explicit TParser(const std::string& text) : s(text) {}

  template <class Node>
  void ParseRoot(Node& root) {
    SkipBlanks();
    ParseObject(root);
    SkipBlanks();
    if (p < s.size()) Error("End of file expected");
  }

 private:
  [[noreturn]] void Error(const std::string& message) const { throw EReadError(LineText(line) + message); }

  void SkipBlanks() {
    while (p < s.size() && IsBlank(s[p])) {
      if (s[p] == '\n') ++line;
      ++p;
    }
  }
  bool At(char c) {
    SkipBlanks();
    return p < s.size() && s[p] == c;
  }
  void Expect(char c) {
    if (!At(c)) Error(std::string("'") + c + "' expected");
    ++p;
  }
  static bool IdentStart(char c) { return IsAlpha(c) || c == '_'; }
  static bool IdentChar(char c) { return IsAlpha(c) || IsDigit(c) || c == '_'; }
  bool AtIdent() {
    SkipBlanks();
    return p < s.size() && IdentStart(s[p]);
  }
  std::string Ident() {
    if (!AtIdent()) Error("Identifier expected");
    size_t b = p;
    while (p < s.size() && IdentChar(s[p])) ++p;
    return s.substr(b, p - b);
  }
  bool AtKeyword(const char* word) {
    if (!AtIdent()) return false;
    size_t n = std::strlen(word), e = p;
    while (e < s.size() && IdentChar(s[e])) ++e;
    return e - p == n && SameText(s.substr(p, n), word);
  }

  template <class Node>
  void ParseObject(Node& node) {
    if (!AtKeyword("object")) Error("'object' expected");
    node.Line = line;
    Ident();
    node.Name = Ident();
    Expect(':');
    node.ClassName = Ident();
    for (;;) {
      SkipBlanks();
      if (p >= s.size()) Error("'end' expected");
      if (AtKeyword("end")) {
        Ident();
        return;
      }
      if (AtKeyword("object")) {
        node.Children.emplace_back();
        ParseObject(node.Children.back());
        continue;
      }
      node.Props.push_back(ParseProp());
    }
  }

  TValueProp ParseProp() {
    TValueProp prop;
    prop.Value.Line = line;
    prop.Path = Ident();
    while (At('.')) {
      ++p;
      prop.Path += '.';
      prop.Path += Ident();
    }
    Expect('=');
    ParseValue(prop.Value);
    return prop;
  }

  // `< item Prop = value ... end ... >`
  void ParseCollection(TValue& v) {
    v.Kind = TValue::vaCollection;
    for (;;) {
      SkipBlanks();
      if (p >= s.size()) Error("'>' expected");
      if (s[p] == '>') {
        ++p;
        return;
      }
      if (!AtKeyword("item")) Error("'item' expected");
      Ident();
      auto& item = v.Collection.emplace_back();
      for (;;) {
        SkipBlanks();
        if (p >= s.size()) Error("'end' expected");
        if (AtKeyword("end")) {
          Ident();
          break;
        }
        item.push_back(ParseProp());
      }
    }
  }

  void ParseValue(TValue& v) {
    SkipBlanks();
    if (p >= s.size()) Error("Property value expected");
    char c = s[p];
    if (c == '-' || c == '$' || IsDigit(c)) {
      v.Kind = TValue::vaInteger;
      v.Int = Integer();
    } else if (c == '\'' || c == '#') {
      v.Kind = TValue::vaString;
      v.Str = StringExpr();
    } else if (IdentStart(c)) {
      v.Str = Ident();
      v.Kind = SameText(v.Str, "True")    ? TValue::vaTrue
               : SameText(v.Str, "False") ? TValue::vaFalse
                                          : TValue::vaIdent;
    } else if (c == '[') {
      ++p;
      v.Kind = TValue::vaSet;
      if (!At(']')) {
        v.Items.push_back(Ident());
        while (At(',')) {
          ++p;
          v.Items.push_back(Ident());
        }
      }
      Expect(']');
    } else if (c == '(') {
      ++p;
      v.Kind = TValue::vaList;
      while (!At(')')) {
        if (p >= s.size()) Error("')' expected");
        if (s[p] != '\'' && s[p] != '#') Error("String expected");
        v.Items.push_back(StringExpr());
      }
      ++p;
    } else if (c == '<') {
      ++p;
      ParseCollection(v);
    } else if (c == '{') {
      ++p;
      v.Kind = TValue::vaBinary;
      v.Str = Binary();
    } else {
      Error("Invalid property value");
    }
  }

  int64_t Integer() {
    bool negative = s[p] == '-';
    if (negative) ++p;
    int base = 10;
    if (p < s.size() && s[p] == '$') {
      base = 16;
      ++p;
    }
    size_t b = p;
    int64_t n = 0;
    while (p < s.size() && HexValue(s[p]) >= 0) {
      int d = HexValue(s[p]);
      if (d >= base) break;
      n = n * base + d;
      if (n > int64_t(UINT32_MAX) + 1) Error("Integer out of range");
      ++p;
    }
    if (p == b) Error("Integer expected");
    if (p < s.size() && (IdentChar(s[p]) || s[p] == '.')) Error("Invalid property value");
    return negative ? -n : n;
  }

  // 'quoted' pieces ('' for a quote) and #nnn / #$hh characters, joined; + continues across lines.
  std::string StringExpr() {
    std::string out;
    for (;;) {
      StringPieces(out);
      if (!At('+')) return out;
      ++p;
      SkipBlanks();
      if (p >= s.size() || (s[p] != '\'' && s[p] != '#')) Error("String expected");
    }
  }
  void StringPieces(std::string& out) {
    while (p < s.size()) {
      if (s[p] == '\'') {
        ++p;
        for (;;) {
          if (p >= s.size() || s[p] == '\n' || s[p] == '\r') Error("Unterminated string");
          if (s[p] == '\'') {
            if (p + 1 < s.size() && s[p + 1] == '\'') {
              out += '\'';
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          out += s[p++];
        }
      } else if (s[p] == '#') {
        ++p;
        int64_t code = Integer();
        if (code < 0 || code > 255) Error("Character code out of range");
        out += char(code);
      } else {
        return;
      }
    }
  }

  std::string Binary() {
    std::string out;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (p >= s.size()) Error("'}' expected");
      char c = s[p++];
      if (c == '}') break;
      int d = HexValue(c);
      if (d < 0) Error("Invalid binary value");
      if (high < 0) {
        high = d;
      } else {
        out += char(high << 4 | d);
        high = -1;
      }
    }
    if (high >= 0) Error("Invalid binary value");
    return out;
  }

  const std::string& s;
  size_t p = 0;
  int line = 1;
};

// The reader's own tables for the library classes it reads itself.
void RegisterBuiltins() {
  Published<TStrings>().Custom("Strings", [](TStrings* list, const TValue& v, TReader&) {
    const auto& items = v.AsList();
    list->Clear();
    for (const std::string& s : items) list->Add(s);
  });
}
}  // namespace

// ---- The reader --------------------------------------------------------------------------------

TReader::TReader(TComponent* Root) : FRoot(Root) {
  static const bool builtins = (RegisterBuiltins(), true);
  (void)builtins;
}

TReader::~TReader() = default;

void TReader::ReadRootComponent(const std::string& Text) {
  TNode root;
  TParser(Text).ParseRoot(root);
  if (!SameText(root.ClassName, FRoot->ClassName()))
    throw EReadError(LineText(root.Line) + "The description is of class " + root.ClassName + ", not " +
                     FRoot->ClassName());
  FRoot->SetState(csLoading | csReading);
  FRoot->SetName(root.Name);
  FLoaded.push_back(FRoot);
  ReadProperties(FRoot, root);
  ReadChildren(FRoot, root);
  FRoot->ClearState(csReading);

  for (const TFixup& f : FFixups) {
    try {
      TComponent* c =
          SameText(f.ComponentName, FRoot->Name()) ? FRoot : FRoot->FindComponent(f.ComponentName);
      if (!c) throw EReadError("Component " + f.ComponentName + " not found");
      f.Resolve(c);
    } catch (Exception& e) {
      e.Message = f.Context + e.Message;
      throw;
    }
  }
  FFixups.clear();

  // Copy: a Loaded step must not see the list change under it.
  std::vector<TComponent*> loaded;
  loaded.swap(FLoaded);
  for (TComponent* c : loaded) {
    c->Loaded();
    c->ClearState(csLoading);
  }
}

void TReader::ReadProperties(TComponent* Component, const TNode& Node) {
  for (const TNode::TProp& prop : Node.Props) {
    FLine = prop.Value.Line;
    std::string context = LineText(FLine) + "Error reading " + Component->Name() + "." + prop.Path + ": ";
    size_t fixups = FFixups.size();
    try {
      ReadProperty(Component, prop.Path, prop.Value);
    } catch (Exception& e) {
      e.Message = context + e.Message;
      throw;
    }
    for (size_t i = fixups; i < FFixups.size(); ++i) FFixups[i].Context = context;
  }
}

void TReader::ReadItemProperties(TPersistent* Item, const std::vector<TValueProp>& Props) {
  for (const TValueProp& prop : Props) {
    FLine = prop.Value.Line;
    ReadProperty(Item, prop.Path, prop.Value);
  }
}

void TReader::ReadProperty(TPersistent* Instance, const std::string& Path, const TValue& Value) {
  size_t b = 0, dot;
  while ((dot = Path.find('.', b)) != std::string::npos) {
    std::string part = Path.substr(b, dot - b);
    const TPropertyGetter* get = FindPropertyGetter(Instance->ClassType(), part);
    if (!get) throw EReadError("Property " + part + " does not exist");
    Instance = (*get)(Instance);
    if (!Instance) throw EReadError("Property " + part + " holds no object");
    b = dot + 1;
  }
  std::string name = Path.substr(b);
  if (const TPropertySetter* set = FindPropertySetter(Instance->ClassType(), name)) {
    (*set)(Instance, Value, *this);
    return;
  }
  FPropName = name;
  FPropValue = &Value;
  FPropFound = false;
  Instance->DefineProperties(this);
  FPropValue = nullptr;
  if (!FPropFound) throw EReadError("Property " + name + " does not exist");
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc /*WriteData*/,
                                   bool /*HasData*/) {
  if (FPropFound || !FPropValue || !SameText(Name, FPropName)) return;
  FPropFound = true;
  const std::string& bytes = FPropValue->AsBinary();
  if (!ReadData) return;
  TMemoryStream data;
  data.WriteBuffer(bytes.data(), int32_t(bytes.size()));
  data.SetPosition(0);
  ReadData(&data);
}

void TReader::ReadChildren(TComponent* Parent, const TNode& Node) {
  for (const TNode& child : Node.Children) {
    FLine = child.Line;
    const TComponentFactory* factory = FindComponentClass(child.ClassName);
    if (!factory) throw EReadError(LineText(child.Line) + "Class " + child.ClassName + " not found");
    if (SameText(child.Name, FRoot->Name()) || FRoot->FindComponent(child.Name))
      throw EReadError(LineText(child.Line) + "A component named " + child.Name + " already exists");
    TComponent* c = (*factory)(FRoot);
    c->SetState(csLoading | csReading);
    c->SetName(child.Name);
    FLoaded.push_back(c);
    if (const TFieldBinder* bind = FindFieldBinder(FRoot->ClassType(), child.Name)) {
      try {
        (*bind)(FRoot, c);
      } catch (Exception& e) {
        e.Message = LineText(child.Line) + "Field " + child.Name + ": " + e.Message;
        throw;
      }
    }
    c->SetParentComponent(Parent);
    ReadProperties(c, child);
    ReadChildren(c, child);
    c->ClearState(csReading);
  }
}

std::any TReader::MakeMethod(const std::string& Name) const {
  const TMethodMaker* make = FindMethodMaker(FRoot->ClassType(), Name);
  if (!make) throw EReadError("Method " + Name + " not found");
  return (*make)(FRoot);
}

void TReader::AddFixup(const std::string& ComponentName, std::function<void(TComponent*)> Resolve) {
  FFixups.push_back(TFixup{ComponentName, std::move(Resolve), LineText(FLine)});
}

// ---- Entry points ------------------------------------------------------------------------------

void ReadComponentText(TComponent* Root, const std::string& Text) {
  TReader reader(Root);
  reader.ReadRootComponent(Text);
}

void ReadComponentRes(TComponent* Root, void* Instance) {
  HMODULE module = Instance ? static_cast<HMODULE>(Instance) : GetModuleHandleA(nullptr);
  std::string name = Root->ClassName();
  for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL data = res ? LoadResource(module, res) : nullptr;
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw EResNotFound("Resource " + name + " not found");
  ReadComponentText(Root, std::string(bytes, SizeofResource(module, res)));
}
