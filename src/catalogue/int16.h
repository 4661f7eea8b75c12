#pragma once

#include "catalogue/runtimeerror.h"

#include <QtGlobal>

#include <limits>

// Counters, indexes and offsets of the launcher are 16-bit signed. A result outside
// -32768..32767 is the Overflow run-time error, which the nearest error trap reports; these
// helpers are the one place where that rule is applied.
inline qint16 toInt16(qint64 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
        throw RuntimeError::overflow();
    }
    return static_cast<qint16>(value);
}

inline qint16 add16(qint16 a, qint64 b)
{
    return toInt16(qint64(a) + b);
}
