// Everyday helpers shared by the whole program: the exception base that the
// error box shows, text conversions between the program's 8-bit text (the
// ANSI code page, GBK on the program's main locale), UTF-16 and UTF-8,
// number and date text, and the program folder.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

// Base of every error the user may see. Message() is 8-bit text in the ANSI
// code page; the application's error box shows it as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A text that is not a number where a number is required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index or argument outside what an object holds.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// ---- text conversions ----------------------------------------------------
// The program's text is 8-bit text in the ANSI code page (CP_ACP). The store
// keeps UTF-8; the wide API takes UTF-16. Invalid bytes become the code page's
// default character rather than failing.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
std::string Utf8ToAnsi(const std::string& text);

// ---- numbers and strings -------------------------------------------------
std::string IntToStr(long long value);
// Parses a signed 32-bit whole number in decimal (an optional sign, digits,
// or "$" followed by hex digits). Anything else, an empty text or a value
// outside the 32-bit range throws EConvertError with the text
// "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);
// Like StrToInt, but returns false instead of throwing.
bool TryStrToInt(const std::string& text, int& value);
// Removes leading and trailing characters at or below the space (control
// characters included), as the ledger's totals expect.
std::string Trim(const std::string& text);
std::string UpperCase(const std::string& text);   // ASCII letters only
std::string LowerCase(const std::string& text);   // ASCII letters only
bool SameText(const std::string& a, const std::string& b);  // ASCII case-insensitive
// printf-style formatting into a std::string.
std::string Format(const char* format, ...);

// ---- dates ---------------------------------------------------------------
// The date part of a local time in the user's short date format (the locale's
// LOCALE_SSHORTDATE, e.g. "2026/12/8" under zh-CN), and the time part in the
// user's time format.
std::string DateToStr(const struct _SYSTEMTIME& time);
std::string TimeToStr(const struct _SYSTEMTIME& time);
std::string DateToStrNow();
std::string TimeToStrNow();

// ---- files and the program folder -----------------------------------------
// The folder of the running executable with a trailing backslash, in 8-bit
// and wide form. Every file the program reads or writes is this folder plus a
// bare file name; the current directory plays no part. Tests may point the
// program at another folder with SetProgramFolder (an empty text restores the
// executable's folder).
std::string ProgramFolder();
std::wstring ProgramFolderW();
void SetProgramFolder(const std::wstring& folderWithTrailingSeparator);

bool FileExists(const std::string& path);              // 8-bit path, ANSI code page
bool FileExistsW(const std::wstring& path);
