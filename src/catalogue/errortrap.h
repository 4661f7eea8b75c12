#pragma once

#include "messagesink.h"
#include "runtimeerror.h"

#include <functional>
#include <new>
#include <utility>

// The uniform error trap: a failure anywhere in the trapped body ends it, shows
// "Error::<description>" CR LF under the title "Error::Kestrelkit" with the critical icon, and the
// method goes on as if the body had ended normally. Methods keep whatever they had assigned to
// their result before the failure.
void showErrorBox(MessageSink &sink, const RuntimeError &error);

// Runs `body` and catches what it raises. Returns true when the body ran to its end.
// An exhausted allocation is reported like any other run-time error, as Out of memory.
template<typename Body>
bool withErrorTrap(Body &&body, const std::function<void(const RuntimeError &)> &onError)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const RuntimeError &error) {
        onError(error);
    } catch (const std::bad_alloc &) {
        onError(RuntimeError(RuntimeError::OutOfMemory, QStringLiteral("Out of memory")));
    }
    return false;
}

template<typename Body>
bool withErrorTrap(MessageSink &sink, Body &&body)
{
    return withErrorTrap(std::forward<Body>(body),
                         [&sink](const RuntimeError &error) { showErrorBox(sink, error); });
}
