// The program's command line: `/skin FILE` and where FILE is looked for.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/command_line.h"

TEST(CommandLine, SkinOptionIsReadInItsForms)
{
    const struct {
        const char* Line;
        const char* Skin;
    } cases[] = {
        {"ravelbook.exe", ""},
        {"ravelbook.exe /skin paper.skn", "paper.skn"},
        {"\"C:\\Program Files\\ravelbook.exe\" -SKIN dusk", "dusk"},
        {"ravelbook.exe /skin \"my skins\\warm one.skn\"", "my skins\\warm one.skn"},
        {"ravelbook.exe /skin:dusk.skn", "dusk.skn"},
        {"ravelbook.exe /skin=paper", "paper"},
        {"ravelbook.exe /skin", ""},
        {"ravelbook.exe /skinny x", ""},
        {"/skin.exe", ""},  // the program's own name is no option
    };
    for (const auto& c : cases) EXPECT_EQ(SkinFileArgument(c.Line), c.Skin) << c.Line;
}

TEST(CommandLine, RelativeSkinNamesAreLookedUpInTheSkinsFolder)
{
    EXPECT_EQ(ResolveSkinFile("C:\\skins\\a.skn", "D:\\app\\"), "C:\\skins\\a.skn");
    EXPECT_EQ(ResolveSkinFile("\\\\server\\a.skn", "D:\\app\\"), "\\\\server\\a.skn");
    EXPECT_EQ(ResolveSkinFile("paper.skn", "D:\\app\\"), "D:\\app\\skins\\paper.skn");
    EXPECT_EQ(ResolveSkinFile("paper", "D:\\no_such_folder\\"), "D:\\no_such_folder\\skins\\paper.skn");

    // A bare name that exists as it is keeps its name.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "command_line_test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "skins").c_str(), nullptr);
    const std::string bare = folder + "skins\\plain";
    CloseHandle(CreateFileA(bare.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_EQ(ResolveSkinFile("plain", folder), bare);
    DeleteFileA(bare.c_str());
    RemoveDirectoryA((folder + "skins").c_str());
    RemoveDirectoryA(folder.c_str());
}
