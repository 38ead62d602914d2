// The program's command line. Ravelbook takes one option:
//
//   ravelbook.exe /skin FILE
//
// which draws the program with the skin file FILE in place of the skin its
// main window stores. A relative FILE is looked up in the "skins" folder
// beside the program (where the build puts ravelbook.skn, paper.skn and
// dusk.skn), with ".skn" added when it has no extension; "-skin" and
// "/skin:FILE" are read the same way.
#pragma once

#include <string>

// The FILE of the first /skin option of `commandLine` (the whole command
// line, program name first, as GetCommandLineA gives it; double quotes group
// words), or empty when there is none.
std::string SkinFileArgument(const std::string& commandLine);

// Where the program looks for the skin file `name`: an absolute name as it
// stands; otherwise `programFolder` (with its trailing separator) + "skins\"
// + name, with ".skn" added when `name` has no extension and the file
// without it does not exist.
std::string ResolveSkinFile(const std::string& name, const std::string& programFolder);
