// The form reader: builds a form's components from its text description.
//
// A description is `object Name: TClass` ... `end`, holding `Prop = value` lines and nested
// objects. Components are made by registered class name, owned by the root and handed their
// enclosing object through TComponent::SetParentComponent. Properties are set through the
// per-class tables below; names the table lacks go to DefineProperties (binary properties).
// Events name methods of the root's class. Once everything is read, references are resolved
// and Loaded runs on every component in read order, the root first.
//
// A unit makes its classes readable once, from a registration function its users call (static
// initialisers in a static library are dropped when nothing else in their object file is used):
//
//   RegisterComponentClass<TButton>();
//   Published<TControl>()
//       .Property("Left", &TControl::SetLeft)
//       .Property("Align", &TControl::SetAlign, {{"alNone", alNone}, {"alTop", alTop}})
//       .Object("Font", &TControl::Font)
//       .Event("OnClick", &TControl::OnClick);
//   Published<Tfrm_Main>().Field("btnOK", &Tfrm_Main::btnOK).Method("btnOKClick", &Tfrm_Main::btnOKClick);
//
// A form reads itself from the body of its most-derived constructor (only there is its class
// the one the description names, and its fields constructed): ReadComponentRes(this).
#pragma once

#include <any>
#include <map>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "tk/Classes.h"

// ---- Values ------------------------------------------------------------------------------------

struct TValueProp;

// One property value as the description spells it.
struct TValue {
  enum TKind { vaInteger, vaString, vaIdent, vaFalse, vaTrue, vaSet, vaList, vaBinary, vaCollection };
  TKind Kind = vaInteger;
  int64_t Int = 0;
  std::string Str;                 // the string, the identifier, or the binary bytes
  std::vector<std::string> Items;  // the set's identifiers or the list's strings
  // A collection's items (`< item ... end ... >`), each the properties it sets, in order.
  std::vector<std::vector<TValueProp>> Collection;
  int Line = 0;

  // Each raises EReadError "Invalid property value" when the value is of another kind.
  int32_t AsInteger() const;  // -2147483648 .. 4294967295, the upper half as its bit pattern
  bool AsBoolean() const;
  const std::string& AsString() const;
  const std::string& AsIdent() const;
  const std::vector<std::string>& AsSet() const;
  const std::vector<std::string>& AsList() const;
  const std::string& AsBinary() const;
  const std::vector<std::vector<TValueProp>>& AsCollection() const;
};

// A property path (dotted: Font.Name) and the value it is given.
struct TValueProp {
  std::string Path;
  TValue Value;
};

// Identifiers of an enumeration, a colour or a set's elements, with their values.
using TIdentMap = std::vector<std::pair<std::string, int32_t>>;

// An integer, or an identifier of idents (case-insensitive).
int32_t ValueToInt(const TValue& Value, const TIdentMap& Idents);
// A set: bit v for each element whose value in Elements is v.
uint32_t ValueToSet(const TValue& Value, const TIdentMap& Elements);

// The value converted for a setter or field of type V: integral and enumeration types take
// integers or the map's identifiers, bool takes True/False, std::string a string.
template <class V>
std::remove_cvref_t<V> ValueAs(const TValue& Value, const TIdentMap& Idents = {}) {
  using D = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<D, bool>)
    return Value.AsBoolean();
  else if constexpr (std::is_same_v<D, std::string>)
    return Value.AsString();
  else if constexpr (std::is_enum_v<D> || std::is_integral_v<D>)
    return static_cast<D>(ValueToInt(Value, Idents));
  else
    static_assert(sizeof(D) == 0, "no conversion from a form value to this type");
}

// ---- Class registry and per-class tables -------------------------------------------------------

struct TCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

class TReader;

using TComponentFactory = std::function<TComponent*(TComponent* Owner)>;
using TPropertySetter = std::function<void(TPersistent* Instance, const TValue& Value, TReader& Reader)>;
using TPropertyGetter = std::function<TPersistent*(TPersistent* Instance)>;
// Reads an enumeration (or Boolean) property back as the identifier of its value.
using TPropertyReader = std::function<std::string(TPersistent* Instance)>;
// Makes a method of the root, bound to it, as a std::function held in the std::any.
using TMethodMaker = std::function<std::any(TComponent* Root)>;
using TFieldBinder = std::function<void(TComponent* Root, TComponent* Component)>;

// Registers (or replaces) the factory the reader uses for a class name (case-insensitive).
void RegisterComponentClass(const std::string& Name, TComponentFactory Factory);
template <class T>
void RegisterComponentClass() {
  RegisterComponentClass(T::StaticClass()->Name,
                         [](TComponent* Owner) -> TComponent* { return new T(Owner); });
}
// The factory registered for Name, or nullptr.
const TComponentFactory* FindComponentClass(const std::string& Name);

// What one class adds to its ancestors' published surface. Lookups walk the ancestors.
struct TClassTable {
  std::map<std::string, TPropertySetter, TCaseLess> Setters;
  std::map<std::string, TPropertyGetter, TCaseLess> Objects;  // properties that hold an object
  std::map<std::string, TPropertyReader, TCaseLess> Readers;  // enumerations that can be read back
  std::map<std::string, TMethodMaker, TCaseLess> Methods;
  std::map<std::string, TFieldBinder, TCaseLess> Fields;
};
TClassTable& ClassTable(TClass Class);
const TPropertySetter* FindPropertySetter(TClass Class, const std::string& Name);
const TPropertyGetter* FindPropertyGetter(TClass Class, const std::string& Name);
const TPropertyReader* FindPropertyReader(TClass Class, const std::string& Name);
// The identifier of the value of Instance's published enumeration (or Boolean) property Name;
// false when its class publishes no such property to read.
bool GetEnumProp(TPersistent* Instance, const std::string& Name, std::string& Value);
const TMethodMaker* FindMethodMaker(TClass Class, const std::string& Name);
const TFieldBinder* FindFieldBinder(TClass Class, const std::string& Name);

// ---- The reader --------------------------------------------------------------------------------

class TReader : public TFiler {
 public:
  TK_CLASS(TReader, TFiler)
  explicit TReader(TComponent* Root);
  ~TReader() override;
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  // Reads the description into the root. Errors are EReadError (or what a setter raised), their
  // message beginning "Line N: "; components read so far stay owned by the root.
  void ReadRootComponent(const std::string& Text);

  TComponent* Root() const { return FRoot; }
  // The line of the property being read.
  int Line() const { return FLine; }

  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // The root's method Name as an event of type E; raises when the root's class has no such
  // method or its parameters differ from E's.
  template <class E>
  E FindMethod(const std::string& Name) const {
    std::any m = MakeMethod(Name);
    if (const E* e = std::any_cast<E>(&m)) return *e;
    throw EReadError("Method " + Name + " does not fit the event's parameters");
  }
  // Sets the properties of a collection item as the description gives them.
  void ReadItemProperties(TPersistent* Item, const std::vector<TValueProp>& Props);
  // Calls Resolve with the form's component of that name once the whole form is read; raises
  // then when there is none.
  void AddFixup(const std::string& ComponentName, std::function<void(TComponent*)> Resolve);

 private:
  struct TNode;
  struct TFixup;
  std::any MakeMethod(const std::string& Name) const;
  void ReadProperties(TComponent* Component, const TNode& Node);
  void ReadProperty(TPersistent* Instance, const std::string& Path, const TValue& Value);
  void ReadChildren(TComponent* Parent, const TNode& Node);

  TComponent* FRoot;
  int FLine = 0;
  // The defined property being looked for, with its value, while DefineProperties runs.
  std::string FPropName;
  const TValue* FPropValue = nullptr;
  bool FPropFound = false;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
};

// Reads a description given as text into Root.
void ReadComponentText(TComponent* Root, const std::string& Text);
// Reads the RCDATA resource named after Root's class in upper case (TFRM_MAIN for Tfrm_Main)
// from the module Instance (the program's own when null); EResNotFound when it is missing.
void ReadComponentRes(TComponent* Root, void* Instance = nullptr);

// ---- Typed registration ------------------------------------------------------------------------

// The identifier of Value: True/False for a Boolean, else its name in Idents (its number when it
// has none).
std::string IdentOf(int32_t Value, const TIdentMap& Idents, bool Boolean);

// Fills the table of class T; every call returns the builder for chaining.
template <class T>
class TPublished {
 public:
  TPublished() : FTable(ClassTable(T::StaticClass())) {}

  // Any property, with its own conversion (ValueAs, ValueToSet, Reader.FindMethod...).
  TPublished& Custom(const std::string& Name, std::function<void(T*, const TValue&, TReader&)> Set) {
    FTable.Setters[Name] = [Set](TPersistent* i, const TValue& v, TReader& r) {
      Set(static_cast<T*>(i), v, r);
    };
    return *this;
  }
  // A setter method or a field of a type ValueAs converts; Idents names enumeration values.
  template <class B, class V>
  TPublished& Property(const std::string& Name, void (B::*Set)(V), const TIdentMap& Idents = {}) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Set, Idents](T* i, const TValue& v, TReader&) { (i->*Set)(ValueAs<V>(v, Idents)); });
  }
  // The same, read back by Get as the identifier of its value (True/False, or Idents' name).
  template <class B, class V>
  TPublished& Property(const std::string& Name, V (B::*Get)() const, void (B::*Set)(V),
                       const TIdentMap& Idents = {}) {
    static_assert(std::is_base_of_v<B, T> && (std::is_enum_v<V> || std::is_same_v<V, bool>));
    FTable.Readers[Name] = [Get, Idents](TPersistent* i) {
      return IdentOf(int32_t((static_cast<T*>(i)->*Get)()), Idents, std::is_same_v<V, bool>);
    };
    return Property(Name, Set, Idents);
  }
  template <class B, class V>
  TPublished& Property(const std::string& Name, V B::*Field, const TIdentMap& Idents = {}) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name,
                  [Field, Idents](T* i, const TValue& v, TReader&) { i->*Field = ValueAs<V>(v, Idents); });
  }
  // A set `[a, b]`: bit Elements[x] for each element x.
  template <class B, class V>
  TPublished& Set(const std::string& Name, void (B::*Setter)(V), const TIdentMap& Elements) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Setter, Elements](T* i, const TValue& v, TReader&) {
      (i->*Setter)(static_cast<std::remove_cvref_t<V>>(ValueToSet(v, Elements)));
    });
  }
  template <class B, class V>
  TPublished& Set(const std::string& Name, V B::*Field, const TIdentMap& Elements) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Field, Elements](T* i, const TValue& v, TReader&) {
      i->*Field = static_cast<V>(ValueToSet(v, Elements));
    });
  }
  // A property holding an object whose own properties follow a dot: `Font.Name`, `Items.Strings`.
  TPublished& Object(const std::string& Name, std::function<TPersistent*(T*)> Get) {
    FTable.Objects[Name] = [Get](TPersistent* i) { return Get(static_cast<T*>(i)); };
    return *this;
  }
  template <class B, class P>
  TPublished& Object(const std::string& Name, P* B::*Field) {
    static_assert(std::is_base_of_v<B, T> && std::is_base_of_v<TPersistent, P>);
    return Object(Name, std::function<TPersistent*(T*)>([Field](T* i) -> TPersistent* { return i->*Field; }));
  }
  // A collection `< item ... end >`: emptied, then one item added per entry and its properties read.
  TPublished& Collection(const std::string& Name, std::function<void(T*)> Clear,
                         std::function<TPersistent*(T*)> Add) {
    return Custom(Name, [Clear, Add](T* i, const TValue& v, TReader& r) {
      const auto& items = v.AsCollection();
      Clear(i);
      for (const auto& props : items) r.ReadItemProperties(Add(i), props);
    });
  }
  // An event: the value names a method of the root's class, of the event's type E.
  template <class B, class E>
  TPublished& Event(const std::string& Name, E B::*Field) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Field](T* i, const TValue& v, TReader& r) {
      i->*Field = r.template FindMethod<E>(v.AsIdent());
    });
  }
  // A reference to another component of the form, by name, resolved after the whole form is read.
  template <class B, class C>
  TPublished& Reference(const std::string& Name, void (B::*Set)(C*)) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Set](T* i, const TValue& v, TReader& r) {
      r.AddFixup(v.AsIdent(), [i, Set](TComponent* c) { (i->*Set)(CastComponent<C>(c)); });
    });
  }
  template <class B, class C>
  TPublished& Reference(const std::string& Name, C* B::*Field) {
    static_assert(std::is_base_of_v<B, T>);
    return Custom(Name, [Field](T* i, const TValue& v, TReader& r) {
      r.AddFixup(v.AsIdent(), [i, Field](TComponent* c) { i->*Field = CastComponent<C>(c); });
    });
  }

  // For a root class: a method that events of its form may name.
  template <class B, class R, class... A>
  TPublished& Method(const std::string& Name, R (B::*M)(A...)) {
    static_assert(std::is_base_of_v<B, T>);
    FTable.Methods[Name] = [M](TComponent* root) -> std::any {
      T* self = static_cast<T*>(root);
      return std::function<R(A...)>([self, M](A... a) -> R { return (self->*M)(std::forward<A>(a)...); });
    };
    return *this;
  }
  // For a root class: a field that receives the form's component of that name when it is made.
  template <class B, class C>
  TPublished& Field(const std::string& Name, C* B::*F) {
    static_assert(std::is_base_of_v<B, T>);
    FTable.Fields[Name] = [F](TComponent* root, TComponent* c) {
      static_cast<T*>(root)->*F = CastComponent<C>(c);
    };
    return *this;
  }

  // c as a C, or EReadError naming both classes.
  template <class C>
  static C* CastComponent(TComponent* c) {
    if (C* p = ObjectAs<C>(c)) return p;
    throw EReadError(c->Name() + " is a " + c->ClassName() + ", not a " + C::StaticClass()->Name);
  }

 private:
  TClassTable& FTable;
};

template <class T>
TPublished<T> Published() {
  return TPublished<T>();
}
