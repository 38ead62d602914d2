// Class information and access to published properties by name (see rtti.h).
#include "framework/rtti.h"

namespace {

const char* KindName(TTypeKind kind)
{
    switch (kind) {
    case TTypeKind::tkInteger: return "integer";
    case TTypeKind::tkEnumeration: return "enumeration";
    case TTypeKind::tkSet: return "set";
    case TTypeKind::tkString: return "string";
    case TTypeKind::tkWString: return "wide string";
    case TTypeKind::tkClass: return "class";
    }
    return "unknown";
}

[[noreturn]] void WrongKind(const TPropInfo& p, const char* wanted)
{
    throw EPropertyError(Format("Property %s is of kind %s, not %s", p.Name.c_str(), KindName(p.Kind), wanted));
}

void CheckWritable(const TPropInfo& p)
{
    if (p.ReadOnly())
        throw EPropertyError(Format("Property %s is read-only", p.Name.c_str()));
}

bool IsOrdinal(TTypeKind kind)
{
    return kind == TTypeKind::tkInteger || kind == TTypeKind::tkEnumeration || kind == TTypeKind::tkSet;
}

bool IsText(TTypeKind kind) { return kind == TTypeKind::tkString || kind == TTypeKind::tkWString; }

std::string SetToText(const TEnumInfo& members, unsigned bits)
{
    std::string text = "[";
    for (size_t i = 0; i < members.Names.size() && i < 32; ++i) {
        if (bits & (1u << i)) {
            if (text.size() > 1) text += ',';
            text += members.Names[i];
        }
    }
    return text + "]";
}

unsigned TextToSet(const TPropInfo& p, const std::string& text)
{
    std::string body = Trim(text);
    if (!body.empty() && body.front() == '[') body.erase(0, 1);
    if (!body.empty() && body.back() == ']') body.pop_back();
    unsigned bits = 0;
    size_t start = 0;
    while (start <= body.size()) {
        size_t comma = body.find(',', start);
        std::string item = Trim(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty()) {
            int v = p.EnumType->ValueOf(item);
            if (v < 0 || v >= 32)
                throw EPropertyError(Format("'%s' is not a member of property %s", item.c_str(), p.Name.c_str()));
            bits |= 1u << v;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return bits;
}

}  // namespace

const TEnumInfo BooleanEnum{"Boolean", {"False", "True"}};

int TEnumInfo::ValueOf(const std::string& name) const
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name)) return static_cast<int>(i);
    return -1;
}

std::string TEnumInfo::NameOf(int value) const
{
    if (value < 0 || static_cast<size_t>(value) >= Names.size()) return {};
    return Names[value];
}

bool TPropInfo::ReadOnly() const
{
    switch (Kind) {
    case TTypeKind::tkString: return !SetStr;
    case TTypeKind::tkWString: return !SetWStr;
    case TTypeKind::tkClass: return !SetObj;
    default: return !SetOrd;
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &ancestor) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Properties)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TClassInfo& TObject::StaticClassInfo()
{
    static const TClassInfo info{"TObject", nullptr, {}};
    return info;
}

const TPropInfo* FindPropInfo(const TObject* object, const std::string& name)
{
    return object ? object->ClassInfo().FindProperty(name) : nullptr;
}

const TPropInfo& GetPropInfo(const TObject& object, const std::string& name)
{
    if (const TPropInfo* p = FindPropInfo(&object, name)) return *p;
    throw EPropertyError(Format("Class %s has no published property %s", object.ClassName().c_str(), name.c_str()));
}

bool IsPublishedProp(const TObject* object, const std::string& name) { return FindPropInfo(object, name) != nullptr; }

std::vector<const TPropInfo*> GetPropList(const TObject& object)
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = &object.ClassInfo(); c; c = c->Parent) chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->Properties) list.push_back(&p);
    return list;
}

int GetOrdProp(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (!IsOrdinal(p.Kind)) WrongKind(p, "ordinal");
    return p.GetOrd(object);
}

void SetOrdProp(TObject& object, const std::string& name, int value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (!IsOrdinal(p.Kind)) WrongKind(p, "ordinal");
    CheckWritable(p);
    if (p.Kind == TTypeKind::tkEnumeration && (value < 0 || static_cast<size_t>(value) >= p.EnumType->Names.size()))
        throw EPropertyError(Format("%d is out of range for property %s", value, p.Name.c_str()));
    p.SetOrd(object, value);
}

std::string GetEnumProp(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkEnumeration) WrongKind(p, "enumeration");
    return p.EnumType->NameOf(p.GetOrd(object));
}

void SetEnumProp(TObject& object, const std::string& name, const std::string& value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkEnumeration) WrongKind(p, "enumeration");
    CheckWritable(p);
    int v = p.EnumType->ValueOf(Trim(value));
    if (v < 0)
        throw EPropertyError(Format("'%s' is not a value of property %s", value.c_str(), p.Name.c_str()));
    p.SetOrd(object, v);
}

std::string GetSetProp(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkSet) WrongKind(p, "set");
    return SetToText(*p.EnumType, static_cast<unsigned>(p.GetOrd(object)));
}

void SetSetProp(TObject& object, const std::string& name, const std::string& value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkSet) WrongKind(p, "set");
    CheckWritable(p);
    p.SetOrd(object, static_cast<int>(TextToSet(p, value)));
}

std::string GetStrProp(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind == TTypeKind::tkString) return p.GetStr(object);
    if (p.Kind == TTypeKind::tkWString) return WideToAnsi(p.GetWStr(object));
    WrongKind(p, "string");
}

void SetStrProp(TObject& object, const std::string& name, const std::string& value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (!IsText(p.Kind)) WrongKind(p, "string");
    CheckWritable(p);
    if (p.Kind == TTypeKind::tkString)
        p.SetStr(object, value);
    else
        p.SetWStr(object, AnsiToWide(value));
}

std::wstring GetWideStrProp(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind == TTypeKind::tkWString) return p.GetWStr(object);
    if (p.Kind == TTypeKind::tkString) return AnsiToWide(p.GetStr(object));
    WrongKind(p, "wide string");
}

void SetWideStrProp(TObject& object, const std::string& name, const std::wstring& value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (!IsText(p.Kind)) WrongKind(p, "wide string");
    CheckWritable(p);
    if (p.Kind == TTypeKind::tkWString)
        p.SetWStr(object, value);
    else
        p.SetStr(object, WideToAnsi(value));
}

TObject* GetObjectProp(const TObject& object, const std::string& name, const TClassInfo* minClass)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkClass) WrongKind(p, "class");
    TObject* value = p.GetObj(object);
    if (value && minClass && !value->InheritsFrom(*minClass)) return nullptr;
    return value;
}

void SetObjectProp(TObject& object, const std::string& name, TObject* value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    if (p.Kind != TTypeKind::tkClass) WrongKind(p, "class");
    CheckWritable(p);
    if (value && !value->InheritsFrom(p.ObjectClass()))
        throw EPropertyError(Format("Property %s takes a %s, not a %s", p.Name.c_str(), p.ObjectClass().Name,
                                    value->ClassName().c_str()));
    p.SetObj(object, value);
}

std::string GetPropValue(const TObject& object, const std::string& name)
{
    const TPropInfo& p = GetPropInfo(object, name);
    switch (p.Kind) {
    case TTypeKind::tkInteger: return IntToStr(p.GetOrd(object));
    case TTypeKind::tkEnumeration: return p.EnumType->NameOf(p.GetOrd(object));
    case TTypeKind::tkSet: return SetToText(*p.EnumType, static_cast<unsigned>(p.GetOrd(object)));
    case TTypeKind::tkString: return p.GetStr(object);
    case TTypeKind::tkWString: return WideToAnsi(p.GetWStr(object));
    case TTypeKind::tkClass: break;
    }
    WrongKind(p, "a kind with a text form");
}

void SetPropValue(TObject& object, const std::string& name, const std::string& value)
{
    const TPropInfo& p = GetPropInfo(object, name);
    switch (p.Kind) {
    case TTypeKind::tkInteger:
        CheckWritable(p);
        p.SetOrd(object, StrToInt(value));
        return;
    case TTypeKind::tkEnumeration: SetEnumProp(object, name, value); return;
    case TTypeKind::tkSet: SetSetProp(object, name, value); return;
    case TTypeKind::tkString:
    case TTypeKind::tkWString: SetStrProp(object, name, value); return;
    case TTypeKind::tkClass: break;
    }
    WrongKind(p, "a kind with a text form");
}
