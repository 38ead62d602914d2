// Lists of text lines: TStrings (what every list of lines offers) and
// TStringList (lines kept in memory).
//
// Line rules, used by Text, LoadFromStream/File and SaveToStream/File:
// reading splits at CR LF, at a lone LF and at a lone CR; a final line break
// does not start another (empty) line; lines are kept exactly as they are
// (no trimming, empty lines and duplicates kept, order kept). Writing puts
// CR LF after every line, the last one included.
//
// Text is 8-bit text in the ANSI code page; files are read and written as
// bytes, without conversion.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "framework/classes.h"

class TStream;

class TStrings : public TPersistent {
    DECLARE_CLASS(TStrings, TPersistent)
public:
    virtual int Count() const = 0;
    // The line at `index`; throws EListError when out of range.
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& value);
    virtual TObject* GetObjectAt(int index) const;
    virtual void PutObjectAt(int index, TObject* object);
    virtual void Insert(int index, const std::string& value) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObjectAt(index); }

    // Appends a line; returns its index (its sorted place in a sorted list,
    // or -1 when a sorted list ignores a duplicate).
    virtual int Add(const std::string& value);
    int AddObject(const std::string& value, TObject* object);
    void InsertObject(int index, const std::string& value, TObject* object);
    void AddStrings(const TStrings& other);
    void Move(int from, int to);
    void Exchange(int index1, int index2);
    // The first line equal to `value` (ASCII case ignored unless the list
    // is case-sensitive), or -1.
    virtual int IndexOf(const std::string& value) const;
    int IndexOfObject(const TObject* object) const;

    // "name=value" lines: the index of the first line whose name is `name`,
    // its value, and setting it (adding a line when there is none; an empty
    // value deletes the line).
    int IndexOfName(const std::string& name) const;
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the lines with those of `text` (line rules above).
    void SetText(const std::string& text);
    // The lines separated by commas; lines with spaces, commas or quotes in
    // double quotes.
    std::string CommaText() const;

    void LoadFromStream(TStream& stream);
    // Throws EFOpenError when the file cannot be opened.
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TStream& stream) const;
    // Throws EFOpenError when the file cannot be created.
    void SaveToFile(const std::string& fileName) const;

    // Between BeginUpdate and the matching EndUpdate, change notifications
    // are held back; EndUpdate sends one.
    void BeginUpdate();
    void EndUpdate();
    void Assign(const TPersistent& source) override;
    bool Equals(const TStrings& other) const;

    bool CaseSensitive() const { return FCaseSensitive; }
    virtual void SetCaseSensitive(bool value) { FCaseSensitive = value; }

protected:
    // Called after a change and when the last EndUpdate runs; the base does
    // nothing.
    virtual void SetUpdateState(bool updating) {}
    int CompareStrings(const std::string& a, const std::string& b) const;
    int UpdateCount() const { return FUpdateCount; }

private:
    int FUpdateCount = 0;
    bool FCaseSensitive = false;
};

// Splits `text` into lines by the rules in the file comment.
std::vector<std::string> SplitLines(const std::string& text);

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Lines held in memory, each with an optional object (not owned).
class TStringList : public TStrings {
    DECLARE_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& value) override;
    TObject* GetObjectAt(int index) const override;
    void PutObjectAt(int index, TObject* object) override;
    void Insert(int index, const std::string& value) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& value) override;
    int IndexOf(const std::string& value) const override;
    // Makes room for `count` lines in all, so that adding up to that many
    // places each line once.
    void Reserve(int count) { FItems.reserve(static_cast<size_t>(std::max(count, 0))); }

    // Keeps the list sorted (by CompareStrings); Insert is refused then.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    // What Add does with a line already in a sorted list.
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    void Sort();
    // In a sorted list: whether `value` is there, and where it is or would go.
    bool Find(const std::string& value, int& index) const;
    void SetCaseSensitive(bool value) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    // Goes up with every change of the lines or their objects (inside
    // BeginUpdate too): what was worked out from the lines is still right
    // while it stays the same.
    unsigned Generation() const { return FGeneration; }

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    void Changing();
    void Changed();
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::string& value, TObject* object);

    std::vector<Item> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    unsigned FGeneration = 0;
};
