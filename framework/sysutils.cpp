// Implementation of the everyday helpers (see sysutils.h).
#include "framework/sysutils.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {

std::wstring MultiToWide(UINT codePage, const std::string& text)
{
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), out.data(), n);
    return out;
}

std::string WideToMulti(UINT codePage, const std::wstring& text)
{
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring& ProgramFolderOverride()
{
    static std::wstring folder;
    return folder;
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) { return MultiToWide(CP_ACP, text); }
std::string WideToAnsi(const std::wstring& text) { return WideToMulti(CP_ACP, text); }
std::string WideToUtf8(const std::wstring& text) { return WideToMulti(CP_UTF8, text); }
std::wstring Utf8ToWide(const std::string& text) { return MultiToWide(CP_UTF8, text); }
std::string AnsiToUtf8(const std::string& text) { return WideToUtf8(AnsiToWide(text)); }
std::string Utf8ToAnsi(const std::string& text) { return WideToAnsi(Utf8ToWide(text)); }

std::string IntToStr(long long value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", value);
    return buf;
}

bool TryStrToInt(const std::string& text, int& value)
{
    // Leading and trailing blanks are not part of a number.
    size_t i = 0, n = text.size();
    if (n == 0) return false;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    long long acc = 0;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    for (; i < n; ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        acc = acc * (hex ? 16 : 10) + digit;
        if (!hex && acc > limit) return false;
        if (hex && acc > 0xFFFFFFFFLL) return false;
    }
    if (hex) {
        // A hex literal names the 32-bit pattern, as "$FFFFFFFF" is -1.
        value = (int)(uint32_t)acc;
        if (negative) value = -value;
        return true;
    }
    value = (int)(negative ? -acc : acc);
    return true;
}

int StrToInt(const std::string& text)
{
    int value;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

std::string Trim(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && (unsigned char)text[b] <= ' ') ++b;
    while (e > b && (unsigned char)text[e - 1] <= ' ') --e;
    return text.substr(b, e - b);
}

std::string UpperCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

std::string LowerCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), n + 1, format, args);
    va_end(args);
    return out;
}

std::string DateToStr(const SYSTEMTIME& time)
{
    char buf[128];
    int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}

std::string TimeToStr(const SYSTEMTIME& time)
{
    char buf[128];
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}

std::string DateToStrNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DateToStr(now);
}

std::string TimeToStrNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeToStr(now);
}

std::wstring ProgramFolderW()
{
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::string ProgramFolder() { return WideToAnsi(ProgramFolderW()); }

void SetProgramFolder(const std::wstring& folderWithTrailingSeparator)
{
    ProgramFolderOverride() = folderWithTrailingSeparator;
}

bool FileExistsW(const std::wstring& path)
{
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) { return FileExistsW(AnsiToWide(path)); }
