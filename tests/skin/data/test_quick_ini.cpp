// The quick ini reader: line splitting, section and key lookup rules and the
// number conversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/quick_ini.h"

namespace {

TQuickIni Ini(const std::string& text) {
    TQuickIni ini;
    ini.LoadFromBuffer(text.data(), text.size());
    return ini;
}

const std::string SAMPLE =
    "; a skin\r\n"
    "[Buttons]\r\n"
    "  Key = Value with  inner  spaces \r\n"
    "Margins=0 0 0\r\n"
    "\r\n"
    "; LeftWidth=99\r\n"
    "Twice=\r\n"
    "twice=second\r\n"
    "=orphan\r\n"
    "NoEquals\r\n"
    "Eq=a=b\r\n"
    "LeftWidth=3\r\n"
    "[Tabs]\n"
    "LeftWidth=7\n"
    "Hex=0x1F\r"
    "Dollar=$1F\r"
    "Bad=1F\r"
    "Three=0 0 0\r"
    "Neg=-12\r"
    "Big=2147483648\r"
    "Min=-2147483648\r"
    "Upper=0XfF\r"
    "Short=0x\r"
    "[buttons]\r\n"
    "Late=1\r\n"
    "[  Spaced  ]\r\n"
    "In=1\r\n";

TEST(QuickIni, ReadsStringsByTheFirstMatchingKeyOfTheSection) {
    const TQuickIni ini = Ini(SAMPLE);
    const struct {
        const char* Section;
        const char* Key;
        const char* Expected;
    } cases[] = {
        {"Buttons", "key", "Value with  inner  spaces"},
        {"BUTTONS", "KEY", "Value with  inner  spaces"},
        {"Buttons", "Margins", "0 0 0"},
        {"Buttons", "Twice", "dflt"},         // the first, empty, one counts
        {"Buttons", "Eq", "a=b"},
        {"Buttons", "LeftWidth", "3"},        // comment lines never match
        {"Buttons", "orphan", "dflt"},        // "=orphan" has an empty key name
        {"Buttons", "NoEquals", "dflt"},
        {"Buttons", "Late", "dflt"},          // a repeated header: the first wins
        {"Tabs", "LeftWidth", "7"},
        {"Tabs", "Key", "dflt"},              // never from another section
        {"Missing", "Key", "dflt"},
        {"Spaced", "In", "dflt"},             // the header is "[  Spaced  ]"
        {"  Spaced  ", "In", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Section) + "/" + c.Key);
        std::string value = "stale";
        ini.ReadString(c.Section, c.Key, value, "dflt");
        EXPECT_EQ(value, c.Expected);
    }
}

TEST(QuickIni, ReadsIntegers) {
    const TQuickIni ini = Ini(SAMPLE);
    const struct {
        const char* Key;
        int Expected;
    } cases[] = {
        {"Hex", 31}, {"Dollar", 31}, {"Bad", -1}, {"Three", -1}, {"Neg", -12},
        {"Big", -1}, {"Min", -2147483647 - 1}, {"Upper", 255}, {"Short", -1},
        {"LeftWidth", 7}, {"Nothing", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        EXPECT_EQ(ini.ReadInteger("Tabs", c.Key, -1), c.Expected);
    }
}

TEST(QuickIni, ConvertsNumbers) {
    const struct {
        const char* Text;
        bool Ok;
        std::int32_t Value;
    } cases[] = {
        {"0", true, 0}, {"+5", true, 5}, {"-5", true, -5}, {"2147483647", true, 2147483647},
        {"$FFFFFFFF", true, -1}, {"$7fffffff", true, 2147483647}, {"-$10", true, -16},
        {"$100000000", false, 0}, {"", false, 0}, {"-", false, 0}, {"$", false, 0},
        {"1 2", false, 0}, {"12a", false, 0}, {" 1", false, 0}, {"-2147483649", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        std::int32_t value = 0;
        EXPECT_EQ(SkinTryStrToInt(c.Text, value), c.Ok);
        if (c.Ok) {
            EXPECT_EQ(value, c.Value);
        }
    }
}

TEST(QuickIni, SplitsLinesAndFindsSections) {
    const TQuickIni ini = Ini(std::string("[A]\r\nx=1\n\n\r[B]\r\r\n  ;c\r\n\t y = 2 \t\r\n[C]\0[D]\r\n", 44));
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "x=1", "[B]", "y = 2", "[C]"}));
    EXPECT_EQ(ini.SectionIndex("a"), 0);
    EXPECT_EQ(ini.SectionIndex("B"), 2);
    EXPECT_EQ(ini.SectionIndex("C"), 4);
    EXPECT_EQ(ini.SectionIndex("D"), -1);   // after the NUL
    EXPECT_EQ(ini.ReadString("b", "Y", ""), "2");

    std::vector<std::string> names = {"stale"};
    Ini("[ One ]\r\n[Two]\r\n[]\r\nk=v\r\n[Two]\r\n").ReadSections(&names);
    EXPECT_EQ(names, (std::vector<std::string>{"One", "Two", "", "Two"}));
}

TEST(QuickIni, NullArgumentsAndEmptyText) {
    TQuickIni ini = Ini("[A]\r\nk=v\r\n");
    ini.LoadFromBuffer(nullptr, 10);          // does nothing
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");

    try {
        ini.ReadSections(nullptr);
        FAIL() << "no assertion";
    } catch (const EIniAssertion& e) {
        EXPECT_EQ(e.Message().rfind("The parameter Strings is unassigned! (quick_ini.cpp, line ", 0), 0u)
            << e.Message();
    }

    ini.LoadFromBuffer("", 0);
    EXPECT_TRUE(ini.Lines().empty());
    EXPECT_EQ(ini.ReadInteger("A", "k", 42), 42);

    const std::vector<std::uint8_t> stream = {'x', 'x', '[', 'S', ']', '\n', 'k', '=', '9'};
    ini.LoadFromStream(&stream, 2);
    EXPECT_EQ(ini.ReadInteger("S", "K", 0), 9);
}

TEST(QuickIni, TextHelpers) {
    EXPECT_EQ(SkinTrim(" \t\r\nab c\x01 "), "ab c");
    EXPECT_EQ(SkinTrim("\xB0\xA1 "), "\xB0\xA1");   // GBK bytes are not blanks
    EXPECT_EQ(SkinLowerCase("AbC\x81\x41Z"), "abc\x81\x41z");
    EXPECT_EQ(SkinLowerCase("\x81"), "\x81");       // a lone lead byte at the end
    EXPECT_TRUE(SkinSameText("Buttons", "bUTTONS"));
    EXPECT_FALSE(SkinSameText("\x81\x41", "\x81\x61"));
}

}  // namespace
