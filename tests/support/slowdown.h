#pragma once

#include <QtGlobal>

// A wait's limit of `ms` milliseconds, times KK_TEST_SLOWDOWN: sanitizer builds run several times
// slower, and set it.
inline int slowed(int ms)
{
    return ms * qMax(1, qEnvironmentVariableIntValue("KK_TEST_SLOWDOWN"));
}
