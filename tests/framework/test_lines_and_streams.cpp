// Line lists read from and written to files, and streams that must not read
// short.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/streams.h"
#include "framework/string_list.h"

namespace {

// A file in the temporary folder, removed at the end of the test.
class TempFile {
public:
    explicit TempFile(const char* name)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        FPath = std::string(folder) + name;
    }
    ~TempFile() { DeleteFileA(FPath.c_str()); }
    const std::string& Path() const { return FPath; }
    void Write(const std::string& bytes) const
    {
        TFileStream file(FPath, fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    }
    std::string Read() const
    {
        TMemoryStream memory;
        memory.LoadFromFile(FPath);
        return std::string(static_cast<const char*>(memory.Memory()), static_cast<size_t>(memory.Size()));
    }

private:
    std::string FPath;
};

TEST(StringList, ReadsLinesEndingAtCrLfLfOrCr)
{
    struct Case {
        const char* Name;
        std::string Bytes;
        std::vector<std::string> Lines;
    } cases[] = {
        {"CR LF", "工资\r\n奖金\r\n", {"工资", "奖金"}},
        {"LF", "工资\n奖金\n", {"工资", "奖金"}},
        {"CR", "工资\r奖金\r", {"工资", "奖金"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"no break after the last line", "a\r\nb", {"a", "b"}},
        {"empty lines kept", "a\r\n\r\n\nb\r\n\r\n", {"a", "", "", "b", ""}},
        {"CR CR is two breaks", "a\r\rb", {"a", "", "b"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"blanks and duplicates kept", "  x \r\n\tx\r\n  x \r\n", {"  x ", "\tx", "  x "}},
        {"a lone break is one empty line", "\r\n", {""}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFile file("rb_lines.txt");
        file.Write(c.Bytes);
        TStringList list;
        list.Add("left over");
        list.LoadFromFile(file.Path());
        ASSERT_EQ(list.Count(), static_cast<int>(c.Lines.size()));
        for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list[i], c.Lines[i]) << "line " << i;
    }
}

TEST(StringList, WritesCrLfAfterEveryLineIncludingTheLast)
{
    struct Case {
        std::vector<std::string> Lines;
        std::string Bytes;
    } cases[] = {
        {{"工资", "奖金"}, "工资\r\n奖金\r\n"},
        {{"only"}, "only\r\n"},
        {{"", ""}, "\r\n\r\n"},
        {{" a ", "a"}, " a \r\na\r\n"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TempFile file("rb_lines_out.txt");
        TStringList list;
        for (const auto& line : c.Lines) list.Add(line);
        list.SaveToFile(file.Path());
        EXPECT_EQ(file.Read(), c.Bytes);
        EXPECT_EQ(list.Text(), c.Bytes);
        TStringList back;
        back.LoadFromFile(file.Path());
        EXPECT_TRUE(back.Equals(list)) << "written lines read back unchanged";
    }
}

TEST(StringList, MissingFileIsAnError)
{
    TStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile("Z:\\no\\such\\folder\\XMLB.txt"), EFOpenError);
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, SortedListsAndChangeEvents)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.SetText("pear\nApple\nfig");
    EXPECT_EQ(changes, 1) << "one notification for a whole new text";
    list.SetSorted(true);
    EXPECT_EQ(list.Text(), "Apple\r\nfig\r\npear\r\n");
    EXPECT_EQ(list.Add("apple"), 0) << "a duplicate is ignored by default";
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("FIG"), EListError);
    list.SetDuplicates(dupAccept);
    list.Add("banana");
    EXPECT_EQ(list.IndexOf("banana"), 1);
    EXPECT_THROW(list.Insert(0, "x"), EListError);
    EXPECT_THROW(list.Get(9), EListError);

    TStringList table;
    table.SetText("tlmdedit=edit\nTRzButton=button");
    EXPECT_EQ(table.Values("TRZBUTTON"), "button");
    EXPECT_EQ(table.IndexOfName("tlmdedit"), 0);
    EXPECT_EQ(table.Values("TEdit"), "");
}

TEST(Streams, BufferReadsInsistOnTheFullCount)
{
    TMemoryStream memory;
    const char bytes[] = "0123456789";
    memory.WriteBuffer(bytes, 10);
    EXPECT_EQ(memory.Size(), 10);
    memory.SetPosition(4);
    char buffer[16] = {};
    EXPECT_EQ(memory.Read(buffer, 16), 6) << "Read says how many it got";
    memory.SetPosition(4);
    EXPECT_THROW(memory.ReadBuffer(buffer, 7), EReadError);
    memory.SetPosition(4);
    memory.ReadBuffer(buffer, 6);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_THROW(memory.Seek(-1, soBeginning), EStreamError);

    // Writing past the end fills the gap with zeros.
    memory.Seek(2, soEnd);
    memory.WriteBuffer("x", 1);
    ASSERT_EQ(memory.Size(), 13);
    EXPECT_EQ(static_cast<const char*>(memory.Memory())[10], '\0');
    EXPECT_EQ(static_cast<const char*>(memory.Memory())[12], 'x');

    // A file stream that ends early fails the same way.
    TempFile file("rb_short.bin");
    file.Write("abc");
    TFileStream in(file.Path(), fmOpenRead);
    EXPECT_EQ(in.Size(), 3);
    EXPECT_THROW(in.ReadBuffer(buffer, 4), EReadError);
    EXPECT_THROW(TFileStream("Z:\\no\\such\\folder\\x.bin", fmOpenRead), EFOpenError);

    // CopyFrom refuses a source shorter than asked for.
    TMemoryStream target;
    TMemoryStream source;
    source.WriteBuffer("ab", 2);
    source.SetPosition(0);
    EXPECT_THROW(target.CopyFrom(source, 3), EReadError);

    EXPECT_THROW(TResourceStream(GetModuleHandleA(nullptr), "NOSUCHSKIN"), EResNotFound);
}

TEST(Streams, FilesWithChineseNamesRoundTrip)
{
    // The program's paths are GBK text; the file must be found by its real
    // name, not by a mangled one.
    TempFile file("账本 备份.txt");
    TStringList lines;
    lines.Add("工资");
    lines.Add("");
    lines.SaveToFile(file.Path());
    EXPECT_TRUE(FileExistsW(AnsiToWide(file.Path())));
    {
        TFileStream in(file.Path(), fmOpenRead);
        EXPECT_EQ(in.Size(), 8);
        EXPECT_THROW(TFileStream(file.Path(), fmOpenWrite), EFOpenError) << "readers keep writers out";
    }
    TFileStream out(file.Path(), fmOpenReadWrite);
    out.Seek(0, soEnd);
    out.WriteBuffer("x", 1);
    out.SetSize(5);
    EXPECT_EQ(out.Size(), 5);
}

TEST(StringList, EditingKeepsObjectsWithTheirLines)
{
    TStringList list;
    TStringList marker;
    list.SetText("a\nb\nc");
    list.PutObjectAt(2, &marker);
    list.Move(2, 0);
    EXPECT_EQ(list.Text(), "c\r\na\r\nb\r\n");
    EXPECT_EQ(list.Objects(0), &marker);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Text(), "b\r\na\r\nc\r\n");
    EXPECT_EQ(list.Objects(2), &marker);
    EXPECT_EQ(list.IndexOfObject(&marker), 2);
    list.Add("with space");
    list.Add("say \"hi\"");
    EXPECT_EQ(list.CommaText(), "b,a,c,\"with space\",\"say \"\"hi\"\"\"");

    TStringList copy;
    copy.Assign(list);
    EXPECT_TRUE(copy.Equals(list));
    EXPECT_EQ(copy.Objects(2), &marker);
    copy.SetValue("key", "v");
    EXPECT_EQ(copy.Values("KEY"), "v");
    copy.SetValue("key", "");
    EXPECT_EQ(copy.IndexOfName("key"), -1);
}
}  // namespace
