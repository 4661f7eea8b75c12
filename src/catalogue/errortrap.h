#pragma once

#include "catalogue/messagesink.h"
#include "catalogue/runtimeerror.h"

#include <functional>
#include <new>
#include <optional>
#include <utility>

// The uniform error trap: a failure anywhere in the trapped body ends it, shows
// "Error::<description>" CR LF under the title "Error::Kestrelkit" with the critical icon, and the
// method goes on as if the body had ended normally. Methods keep whatever they had assigned to
// their result before the failure.
void showErrorBox(MessageSink &sink, const RuntimeError &error);

// Runs `body` and gives what it raised, or nothing when it ran to its end: the one place where a
// failure becomes the run-time error that a box reports. An exhausted allocation is a run-time
// error like any other, Out of memory.
template<typename Body>
std::optional<RuntimeError> captureFailure(Body &&body)
{
    try {
        std::forward<Body>(body)();
    } catch (const RuntimeError &error) {
        return error;
    } catch (const std::bad_alloc &) {
        return RuntimeError::outOfMemory();
    }
    return std::nullopt;
}

// Runs `body` and hands what it raised to `onError`. Returns true when the body ran to its end.
template<typename Body>
bool withErrorTrap(Body &&body, const std::function<void(const RuntimeError &)> &onError)
{
    if (const std::optional<RuntimeError> failure = captureFailure(std::forward<Body>(body))) {
        onError(*failure);
        return false;
    }
    return true;
}

template<typename Body>
bool withErrorTrap(MessageSink &sink, Body &&body)
{
    return withErrorTrap(std::forward<Body>(body),
                         [&sink](const RuntimeError &error) { showErrorBox(sink, error); });
}
