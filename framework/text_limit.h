// Byte limits on 8-bit text typed into edit windows.
//
// The program's text is GBK: a character is one byte or two (a lead byte
// and a trail byte). A limit in bytes must never cut a character in half.
// Edit windows on some systems count their limit in characters rather than
// bytes, so controls with a byte limit check what the user typed themselves:
// they compare the text before and after a change, and shorten what was
// inserted until the whole fits.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The largest character boundary of `text` at or before byte `bytes`.
size_t CharBoundaryAtOrBefore(const std::string& text, size_t bytes);

// The change from `before` to `after`, with the inserted part shortened (at a
// character boundary) so that the result has at most `maxBytes` bytes; the
// parts of the text that were there before are kept even when they alone
// exceed the limit. Returns false, leaving `result` and `caret` alone, when
// `after` already fits. `caret` is the byte offset just after what remains of
// the insertion.
bool LimitInsertion(const std::string& before, const std::string& after, size_t maxBytes, std::string& result,
                    size_t& caret);

// The position in edit window `edit`, whose text is `text`, of the byte
// offset `byteOffset`. Edit windows count positions in bytes on some systems
// and in characters on others; the window's own length tells which.
int EditPosition(HWND edit, const std::string& text, size_t byteOffset);
