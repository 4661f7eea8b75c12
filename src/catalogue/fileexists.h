#pragma once

#include "catalogue/messagesink.h"

#include <QString>

// Matches a file name against a pattern in which "*" stands for any run of characters and "?"
// for any one character; every other character stands for itself.
bool matchesWildcard(QStringView pattern, QStringView name, Qt::CaseSensitivity cs);

// The directory search behind fileExists: the first entry that matches `path`, or an empty
// string. The last element of `path` may hold wildcards, and a path that ends with "/" matches
// any plain file in that folder. A plain file is a regular file (a link to one counts) that is
// not hidden; folders never count. FIFOs, sockets and devices never count and are never opened.
// Raises a RuntimeError for a path that no file name can hold.
QString findFirstEntry(const QString &path);

// Whether a plain file matches `path`. A search that fails
// is reported in its own box, "Error determining file exist --> <path>::<reason>", under the
// application's title, and counts as no file.
bool fileExists(const QString &path, MessageSink &sink);

// The box of a failed search, for a search made ahead of time and reported later.
class RuntimeError;
void reportSearchFailure(MessageSink &sink, const QString &path, const RuntimeError &error);
