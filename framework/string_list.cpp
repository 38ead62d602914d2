// Lists of text lines (see string_list.h).
#include "framework/string_list.h"

#include <algorithm>

#include "framework/streams.h"

IMPLEMENT_CLASS(TStrings)
IMPLEMENT_CLASS(TStringList)

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0, i = 0, n = text.size();
    while (i < n) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.push_back(text.substr(start));
    return lines;
}

// ---- TStrings ----------------------------------------------------------------------

void TStrings::Put(int index, const std::string& value)
{
    TObject* object = GetObjectAt(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, value, object);
    EndUpdate();
}

TObject* TStrings::GetObjectAt(int) const { return nullptr; }
void TStrings::PutObjectAt(int, TObject*) {}

int TStrings::Add(const std::string& value)
{
    int index = Count();
    Insert(index, value);
    return index;
}

int TStrings::AddObject(const std::string& value, TObject* object)
{
    int index = Add(value);
    if (index >= 0) PutObjectAt(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& value, TObject* object)
{
    Insert(index, value);
    PutObjectAt(index, object);
}

void TStrings::AddStrings(const TStrings& other)
{
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.GetObjectAt(i));
    EndUpdate();
}

void TStrings::Move(int from, int to)
{
    if (from == to) return;
    std::string text = Get(from);
    TObject* object = GetObjectAt(from);
    BeginUpdate();
    Delete(from);
    InsertObject(to, text, object);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2)
{
    if (index1 == index2) return;
    std::string text1 = Get(index1), text2 = Get(index2);
    TObject* object1 = GetObjectAt(index1);
    TObject* object2 = GetObjectAt(index2);
    BeginUpdate();
    Put(index1, text2);
    PutObjectAt(index1, object2);
    Put(index2, text1);
    PutObjectAt(index2, object1);
    EndUpdate();
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const
{
    if (FCaseSensitive) return a.compare(b);
    return LowerCase(a).compare(LowerCase(b));
}

int TStrings::IndexOf(const std::string& value) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), value) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObjectAt(i) == object) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        std::string line = Get(i);
        size_t eq = line.find('=');
        if (eq != std::string::npos && CompareStrings(line.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const
{
    std::string line = Get(index);
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const
{
    int i = IndexOfName(name);
    if (i < 0) return {};
    std::string line = Get(i);
    return line.substr(line.find('=') + 1);
}

void TStrings::SetValue(const std::string& name, const std::string& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        Put(i, name + "=" + value);
    }
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text)
{
    BeginUpdate();
    try {
        Clear();
        for (const std::string& line : SplitLines(text)) Add(line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        std::string s = Get(i);
        if (i) text += ',';
        bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos;
        if (!quote) {
            text += s;
            continue;
        }
        text += '"';
        for (char c : s) {
            if (c == '"') text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

void TStrings::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    SetText(bytes);
}

void TStrings::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TStrings::SaveToStream(TStream& stream) const
{
    std::string text = Text();
    if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent& source)
{
    const auto* other = As<TStrings>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(*other);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const
{
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

// ---- TStringList --------------------------------------------------------------------

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
}

void TStringList::Changing()
{
    ++FGeneration;
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return FItems[index].Text;
}

void TStringList::Put(int index, const std::string& value)
{
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    FItems[index].Text = value;
    Changed();
}

TObject* TStringList::GetObjectAt(int index) const
{
    CheckIndex(index);
    return FItems[index].Object;
}

void TStringList::PutObjectAt(int index, TObject* object)
{
    CheckIndex(index);
    Changing();
    FItems[index].Object = object;
    Changed();
}

void TStringList::InsertItem(int index, const std::string& value, TObject* object)
{
    Changing();
    FItems.insert(FItems.begin() + index, Item{value, object});
    Changed();
}

void TStringList::Insert(int index, const std::string& value)
{
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", index));
    InsertItem(index, value, nullptr);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

int TStringList::Add(const std::string& value)
{
    if (!FSorted) {
        InsertItem(Count(), value, nullptr);
        return Count() - 1;
    }
    int index;
    if (Find(value, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, value, nullptr);
    return index;
}

int TStringList::IndexOf(const std::string& value) const
{
    if (!FSorted) return TStrings::IndexOf(value);
    int index;
    return Find(value, index) ? index : -1;
}

bool TStringList::Find(const std::string& value, int& index) const
{
    // Binary search for the first line not below `value`.
    int low = 0, high = Count();
    while (low < high) {
        int mid = (low + high) / 2;
        if (CompareStrings(FItems[mid].Text, value) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    index = low;
    return low < Count() && CompareStrings(FItems[low].Text, value) == 0;
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.Text, b.Text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value)
{
    if (value == FSorted) return;
    if (value) Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (value == CaseSensitive()) return;
    TStrings::SetCaseSensitive(value);
    if (FSorted) Sort();
}
