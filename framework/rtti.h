// Run-time class information and published properties.
//
// Every framework class has one TClassInfo: its name, its parent's class
// information and the table of the properties it publishes. Code that knows
// nothing of a class beyond its name (the skin engine, streaming code) reads
// and writes these properties by name and kind:
//
//     if (FindPropInfo(control, "ParentBackground"))
//         SetEnumProp(*control, "ParentBackground", "False");
//     TFont* font = static_cast<TFont*>(GetObjectProp(*control, "Font", &TFont::StaticClassInfo()));
//
// Declaring a class: put DECLARE_CLASS(TSelf, TParent) first in the class body
// and IMPLEMENT_CLASS(TSelf, <property list>) in its .cpp file; a class that
// publishes nothing new may use DECLARE_CLASS_INLINE instead of the pair.
// The property list is built with TPropBuilder<TSelf>:
//
//     using P = TPropBuilder<TControl>;
//     IMPLEMENT_CLASS(TControl,
//         P::Integer("Left", &TControl::Left, &TControl::SetLeft),
//         P::Enum("Align", AlignEnum, &TControl::Align, &TControl::SetAlign),
//         P::Bool("Visible", &TControl::Visible, &TControl::SetVisible),
//         P::String("Caption", &TControl::Caption, &TControl::SetCaption),
//         P::Object("Font", &TControl::Font, &TControl::SetFont))
//
// Errors: the Get*/Set* functions throw EPropertyError when the property does
// not exist, is of a kind the function cannot handle, is read-only, or when a
// value does not fit (an unknown enumeration name, an object of the wrong
// class). FindPropInfo never throws; it answers null for a missing property
// or a null object, so callers that treat a missing property as "use the
// default" test it first.
//
// Names of classes, properties and enumeration values are compared without
// regard to ASCII case.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/sysutils.h"

class TObject;
struct TClassInfo;

// A property access that cannot be done: missing property, wrong kind,
// read-only property or a value that does not fit.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// The kinds of published properties.
enum class TTypeKind {
    tkInteger,      // a 32-bit whole number (colours, sizes, Tag)
    tkEnumeration,  // one named value of an enumeration (Boolean is one)
    tkSet,          // a set of enumeration values, a bit mask (bit i = value i)
    tkString,       // 8-bit text in the ANSI code page
    tkWString,      // UTF-16 text
    tkClass         // an object reference (Font, Glyph, ...)
};

// The named values of an enumeration in order: value i is called Names[i].
struct TEnumInfo {
    std::string TypeName;
    std::vector<std::string> Names;

    // The value whose name is `name` (case-insensitive), or -1.
    int ValueOf(const std::string& name) const;
    // The name of `value`, or an empty text when it is out of range.
    std::string NameOf(int value) const;
};

// The enumeration of bool: False = 0, True = 1.
extern const TEnumInfo BooleanEnum;

// One published property. Exactly the accessors of its kind are set:
// GetOrd/SetOrd for integer, enumeration and set kinds, GetStr/SetStr for
// string, GetWStr/SetWStr for wide string, GetObj/SetObj for class. A
// property whose setter is empty is read-only.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    const TEnumInfo* EnumType = nullptr;               // enumeration values, or set members
    const TClassInfo& (*ObjectClass)() = nullptr;      // the class an object property holds
    std::function<int(const TObject&)> GetOrd;
    std::function<void(TObject&, int)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<std::wstring(const TObject&)> GetWStr;
    std::function<void(TObject&, const std::wstring&)> SetWStr;
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;

    bool ReadOnly() const;
};

// Class information: name, parent and the properties the class publishes
// itself. Invariant: the chain of Parent pointers ends at TObject's record,
// whose Parent is null.
struct TClassInfo {
    const char* Name;
    const TClassInfo* Parent;
    std::vector<TPropInfo> Properties;

    bool InheritsFrom(const TClassInfo& ancestor) const;
    // The property `name` of this class or its nearest ancestor that
    // publishes one of that name; null when none does.
    const TPropInfo* FindProperty(const std::string& name) const;
};

// Root of every framework class.
class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    std::string ClassName() const { return ClassInfo().Name; }
    bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
    template <class T>
    bool Is() const
    {
        return InheritsFrom(T::StaticClassInfo());
    }
};

// `object` as a T when it is one (by class information), else null.
template <class T>
T* As(TObject* object)
{
    return object && object->Is<T>() ? static_cast<T*>(object) : nullptr;
}

#define DECLARE_CLASS(Self, Parent)                                        \
public:                                                                    \
    using inherited = Parent;                                              \
    static const TClassInfo& StaticClassInfo();                            \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

#define IMPLEMENT_CLASS(Self, ...)                                                  \
    const TClassInfo& Self::StaticClassInfo()                                       \
    {                                                                               \
        static const TClassInfo info{#Self, &inherited::StaticClassInfo(),          \
                                     std::vector<TPropInfo>{__VA_ARGS__}};          \
        return info;                                                                \
    }

// A class that adds no published property (application forms, test classes).
#define DECLARE_CLASS_INLINE(Self, Parent)                                        \
public:                                                                           \
    using inherited = Parent;                                                     \
    static const TClassInfo& StaticClassInfo()                                    \
    {                                                                             \
        static const TClassInfo info{#Self, &inherited::StaticClassInfo(), {}};   \
        return info;                                                              \
    }                                                                             \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

// ---- access by name ------------------------------------------------------
const TPropInfo* FindPropInfo(const TObject* object, const std::string& name);
const TPropInfo& GetPropInfo(const TObject& object, const std::string& name);  // throws
bool IsPublishedProp(const TObject* object, const std::string& name);
// Every published property of the object's class, the root class's first.
std::vector<const TPropInfo*> GetPropList(const TObject& object);

// Integer, enumeration and set kinds as their number.
int GetOrdProp(const TObject& object, const std::string& name);
void SetOrdProp(TObject& object, const std::string& name, int value);
// Enumeration kind by value name ("alClient", "True").
std::string GetEnumProp(const TObject& object, const std::string& name);
void SetEnumProp(TObject& object, const std::string& name, const std::string& value);
// Set kind as text: "[fsBold,fsItalic]", "[]" for the empty set.
std::string GetSetProp(const TObject& object, const std::string& name);
void SetSetProp(TObject& object, const std::string& name, const std::string& value);
// String and wide-string kinds; the other form is converted through the ANSI
// code page.
std::string GetStrProp(const TObject& object, const std::string& name);
void SetStrProp(TObject& object, const std::string& name, const std::string& value);
std::wstring GetWideStrProp(const TObject& object, const std::string& name);
void SetWideStrProp(TObject& object, const std::string& name, const std::wstring& value);
// Class kind. GetObjectProp answers null when the property holds no object or
// one that is not of `minClass` (when given). SetObjectProp refuses an object
// that is not of the property's class.
TObject* GetObjectProp(const TObject& object, const std::string& name, const TClassInfo* minClass = nullptr);
void SetObjectProp(TObject& object, const std::string& name, TObject* value);
// Any non-object kind as text and from text: integers in decimal (StrToInt
// rules), enumerations by name, sets as for GetSetProp, strings as they are.
std::string GetPropValue(const TObject& object, const std::string& name);
void SetPropValue(TObject& object, const std::string& name, const std::string& value);

// ---- declaring properties ------------------------------------------------
// Builds TPropInfo records for class C from its member functions (or any
// callables taking `const C&` / `C&, value`). Pass nullptr as the setter of a
// read-only property.
template <class C>
struct TPropBuilder {
    static TPropInfo NewProp(const char* name, TTypeKind kind)
    {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        return p;
    }

    template <class G, class S>
    static TPropInfo Integer(const char* name, G get, S set)
    {
        TPropInfo p = NewProp(name, TTypeKind::tkInteger);
        p.GetOrd = [get](const TObject& o) { return static_cast<int>(std::invoke(get, static_cast<const C&>(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int v) { std::invoke(set, static_cast<C&>(o), v); };
        return p;
    }

    // An enumeration property; the getter returns the enumeration type.
    template <class G, class S>
    static TPropInfo Enum(const char* name, const TEnumInfo& type, G get, S set)
    {
        using E = std::decay_t<std::invoke_result_t<G, const C&>>;
        TPropInfo p = NewProp(name, TTypeKind::tkEnumeration);
        p.EnumType = &type;
        p.GetOrd = [get](const TObject& o) { return static_cast<int>(std::invoke(get, static_cast<const C&>(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int v) { std::invoke(set, static_cast<C&>(o), static_cast<E>(v)); };
        return p;
    }

    template <class G, class S>
    static TPropInfo Bool(const char* name, G get, S set)
    {
        return Enum(name, BooleanEnum, get, set);
    }

    // A set property; the getter returns the bit mask as an unsigned number
    // (bit i = member i of `members`).
    template <class G, class S>
    static TPropInfo Set(const char* name, const TEnumInfo& members, G get, S set)
    {
        using V = std::decay_t<std::invoke_result_t<G, const C&>>;
        TPropInfo p = NewProp(name, TTypeKind::tkSet);
        p.EnumType = &members;
        p.GetOrd = [get](const TObject& o) { return static_cast<int>(std::invoke(get, static_cast<const C&>(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int v) { std::invoke(set, static_cast<C&>(o), static_cast<V>(v)); };
        return p;
    }

    template <class G, class S>
    static TPropInfo String(const char* name, G get, S set)
    {
        TPropInfo p = NewProp(name, TTypeKind::tkString);
        p.GetStr = [get](const TObject& o) { return std::string(std::invoke(get, static_cast<const C&>(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject& o, const std::string& v) { std::invoke(set, static_cast<C&>(o), v); };
        return p;
    }

    template <class G, class S>
    static TPropInfo WideString(const char* name, G get, S set)
    {
        TPropInfo p = NewProp(name, TTypeKind::tkWString);
        p.GetWStr = [get](const TObject& o) { return std::wstring(std::invoke(get, static_cast<const C&>(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetWStr = [set](TObject& o, const std::wstring& v) { std::invoke(set, static_cast<C&>(o), v); };
        return p;
    }

    // An object property; the getter returns a pointer to the property's
    // class, whose class information limits what may be assigned.
    template <class G, class S>
    static TPropInfo Object(const char* name, G get, S set)
    {
        using T = std::remove_pointer_t<std::decay_t<std::invoke_result_t<G, const C&>>>;
        TPropInfo p = NewProp(name, TTypeKind::tkClass);
        p.ObjectClass = &T::StaticClassInfo;
        p.GetObj = [get](const TObject& o) -> TObject* { return std::invoke(get, static_cast<const C&>(o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetObj = [set](TObject& o, TObject* v) { std::invoke(set, static_cast<C&>(o), static_cast<T*>(v)); };
        return p;
    }
};
