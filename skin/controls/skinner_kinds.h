// The skinner classes control discovery can create, by name.
//
// Discovery asks for a skinner by the name of its class ("TSkinButton",
// "TSkinCheckBox", "TSkinScrollBar", ...). A skinner class becomes available
// with one line in the table of skinner_kinds.cpp:
//
//     X(TSkinCheckBox)
//
// and, in the skinner's own .cpp file,
//
//     DEFINE_SKINNER(TSkinCheckBox, TSkinCheckBox)   // name, class
//
// A name that the table does not list makes no skinner: the control keeps
// its own look.
#pragma once

#include <string>

class TComponent;
class TSkinControl;

using TSkinnerFactory = TSkinControl* (*)(TComponent* owner);

// A new skinner of the named class owned by `owner` (the control, or null
// for a bare window); null when no such skinner is built into the program.
TSkinControl* NewSkinner(const std::string& name, TComponent* owner);
// Whether the named skinner class is built into the program.
bool SkinnerAvailable(const std::string& name);

#define DEFINE_SKINNER(Name, Class) \
    TSkinControl* NewSkinner_##Name(TComponent* owner) { return new Class(owner); }
