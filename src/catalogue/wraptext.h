#pragma once

#include <QString>

// Breaks a one-line text for the description box: a CR LF goes immediately before the first
// space at or after each multiple of `width`, counted in the input text. The space stays at the
// start of the new line and no character is removed. Positions are 16-bit counters, so a text of
// 32,767 characters or more raises Overflow.
QString wrapText(qint16 width, const QString &text);
