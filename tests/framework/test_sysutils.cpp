// Number parsing, trimming and text conversions that the ledger's totals and
// the store rely on.
#include "framework/sysutils.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(SysUtils, RunsWithTheChineseCodePage)
{
    // Every narrow text of the program is GBK: the test environment must match.
    EXPECT_EQ(GetACP(), 936u);
}

TEST(SysUtils, StrToIntAcceptsOnlyWholeNumbersInRange)
{
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"0", true, 0},          {"-15", true, -15},       {"+7", true, 7},
        {"2147483647", true, 2147483647}, {"-2147483648", true, (int)-2147483648LL},
        {"2147483648", false, 0}, {"-2147483649", false, 0},
        {"", false, 0},          {"12.5", false, 0},       {" 12", false, 0},
        {"12 ", false, 0},       {"1e3", false, 0},        {"-", false, 0},
        {"$FF", true, 255},      {"abc", false, 0},
    };
    for (const Case& c : cases) {
        int v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    try {
        StrToInt("12.5");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12.5' is not a valid integer value");
    }
}

TEST(SysUtils, TrimRemovesBlanksAndControlCharactersOnly)
{
    EXPECT_EQ(Trim("  12\t\r\n"), "12");
    EXPECT_EQ(Trim("\x01" "支出 "), "支出");
    EXPECT_EQ(Trim("a b"), "a b");
    EXPECT_EQ(Trim("   "), "");
}

TEST(SysUtils, TextRoundTripsBetweenGbkUtf16AndUtf8)
{
    const std::string gbk = "编号";
    ASSERT_EQ(gbk, std::string("\xB1\xE0\xBA\xC5"));
    EXPECT_EQ(AnsiToWide(gbk), std::wstring(L"编号"));
    EXPECT_EQ(AnsiToUtf8(gbk), std::string(reinterpret_cast<const char*>(u8"编号")));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8("项目名称 'x'")), "项目名称 'x'");
    EXPECT_EQ(WideToAnsi(L""), "");
}

TEST(SysUtils, ProgramFolderEndsWithSeparatorAndCanBeRedirected)
{
    std::wstring folder = ProgramFolderW();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    SetProgramFolder(L"C:\\账本\\");
    EXPECT_EQ(ProgramFolder(), "C:\\账本\\");
    SetProgramFolder(L"");
    EXPECT_EQ(ProgramFolderW(), folder);
}
