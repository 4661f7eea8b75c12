#pragma once

#include "platform/fileproblem.h"

#include <QByteArray>

#include <functional>

// The reading of a whole plain file that both implementations share; each gives only its own read.
// `size` is the file's size as its status gave it, `read` reads at most the count it is given into
// the buffer it is given and returns how many bytes it read, 0 at the end, or -1 on failure. A
// file larger than `maxBytes` (also one that grows past it while being read) gives TooLarge and no
// bytes; a failed read gives ReadFailed.
FileProblem readWhole(qint64 size, qint64 maxBytes, QByteArray &bytes,
                      const std::function<qint64(char *, qint64)> &read);
