// The error raised by the store: connection, queries and data sources.
// Message() is 8-bit text in the ANSI code page, ready for the error box;
// where the database engine refused something, it carries the engine's own
// words (converted from UTF-8).
#pragma once

#include "framework/sysutils.h"

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};
