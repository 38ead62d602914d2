// Errors that belong to the program, not to the skin engine.
//
// The engine swallows its own failures (a drawing that fails leaves the
// ordinary look), but a skinner also hands messages on to the procedure it
// replaced, and what that procedure raises (an event handler of the program
// failing on a locked database, say) must reach the framework's error box
// like any other handler's error. So every call a skinner makes to the
// replaced procedure goes through ForwardCall, which wraps what it raises in
// EForwarded; the engine's catch blocks let EForwarded through, and where the
// skinner's procedure is itself a framework WindowProc the original error is
// raised again for the framework to show; where it is a raw window procedure
// (no exception may leave it) it is shown there.
#pragma once

#include <exception>
#include <utility>

#include "framework/application.h"

namespace skin {

struct EForwarded {
    std::exception_ptr Error;
};

template <class Call>
decltype(auto) ForwardCall(Call&& call)
{
    try {
        return std::forward<Call>(call)();
    } catch (const EForwarded&) {
        throw;
    } catch (...) {
        throw EForwarded{std::current_exception()};
    }
}

// At the end of a raw window procedure: the program's error goes to the
// error box, since nothing may leave the procedure.
inline void ShowForwarded(const EForwarded& forwarded)
{
    if (Application) Application->HandleException(forwarded.Error);
}

}  // namespace skin
