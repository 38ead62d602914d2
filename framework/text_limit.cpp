// Byte limits on typed text (see text_limit.h).
#include "framework/text_limit.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// Byte offsets where the characters of `text` start, plus its length.
std::vector<size_t> CharStarts(const std::string& text)
{
    std::vector<size_t> starts;
    size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size();
        i += lead ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

bool IsBoundary(const std::vector<size_t>& starts, size_t offset)
{
    return std::binary_search(starts.begin(), starts.end(), offset);
}

}  // namespace

size_t CharBoundaryAtOrBefore(const std::string& text, size_t bytes)
{
    if (bytes >= text.size()) return text.size();
    std::vector<size_t> starts = CharStarts(text);
    auto it = std::upper_bound(starts.begin(), starts.end(), bytes);
    return *(it - 1);
}

bool LimitInsertion(const std::string& before, const std::string& after, size_t maxBytes, std::string& result,
                    size_t& caret)
{
    if (after.size() <= maxBytes) return false;
    std::vector<size_t> oldStarts = CharStarts(before), newStarts = CharStarts(after);
    // Common leading characters.
    size_t prefix = 0;
    for (size_t k = 0; k + 1 < oldStarts.size() && k + 1 < newStarts.size(); ++k) {
        size_t oldEnd = oldStarts[k + 1], newEnd = newStarts[k + 1];
        if (oldEnd != newEnd || before.compare(prefix, oldEnd - prefix, after, prefix, newEnd - prefix) != 0) break;
        prefix = oldEnd;
    }
    // Common trailing bytes, ending on a character boundary in both texts
    // and not reaching into the common prefix.
    size_t suffix = 0;
    size_t room = std::min(before.size(), after.size()) - prefix;
    while (suffix < room && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
    while (suffix > 0 && !(IsBoundary(oldStarts, before.size() - suffix) && IsBoundary(newStarts, after.size() - suffix)))
        --suffix;
    std::string inserted = after.substr(prefix, after.size() - suffix - prefix);
    size_t kept = prefix + suffix;
    size_t allowed = kept >= maxBytes ? 0 : maxBytes - kept;
    inserted.resize(CharBoundaryAtOrBefore(inserted, allowed));
    result = after.substr(0, prefix) + inserted + after.substr(after.size() - suffix);
    caret = prefix + inserted.size();
    return true;
}

int EditPosition(HWND edit, const std::string& text, size_t byteOffset)
{
    byteOffset = CharBoundaryAtOrBefore(text, byteOffset);
    DWORD end = 0;
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    if (end == text.size()) return static_cast<int>(byteOffset);
    std::vector<size_t> starts = CharStarts(text);
    return static_cast<int>(std::lower_bound(starts.begin(), starts.end(), byteOffset) - starts.begin());
}
