#pragma once

#include <QString>

// Cuts `line` at the first occurrence of `separator`: on return `line` holds what came before it
// (the key) and the result is everything after it, further separators included. Without a
// separator `line` stays whole and the value is empty. Nothing is trimmed.
QString splitKeyValue(QString &line, const QString &separator);
