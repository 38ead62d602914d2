// The program's command line (see command_line.h).
#include "app/command_line.h"

#include <vector>

#include "framework/sysutils.h"

namespace {

// The words of a command line: blanks separate them, double quotes group
// blanks into a word and are dropped.
std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

bool IsAbsolute(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

bool HasExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t separator = path.find_last_of("\\/");
    return dot != std::string::npos && (separator == std::string::npos || dot > separator);
}

}  // namespace

std::string SkinFileArgument(const std::string& commandLine)
{
    const std::vector<std::string> words = SplitWords(commandLine);
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 5 || (word[0] != '/' && word[0] != '-') || !SameText(word.substr(1, 4), "skin")) continue;
        if (word.size() == 5) return i + 1 < words.size() ? words[i + 1] : std::string();
        if (word[5] == ':' || word[5] == '=') return word.substr(6);
    }
    return std::string();
}

std::string ResolveSkinFile(const std::string& name, const std::string& programFolder)
{
    if (name.empty() || IsAbsolute(name)) return name;
    const std::string path = programFolder + "skins\\" + name;
    if (!HasExtension(name) && !FileExists(path)) return path + ".skn";
    return path;
}
