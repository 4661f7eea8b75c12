#include "platform/readloop.h"

FileProblem readWhole(qint64 size, qint64 maxBytes, QByteArray &bytes,
                      const std::function<qint64(char *, qint64)> &read)
{
    bytes.clear();
    if (size > maxBytes) {
        return FileProblem::TooLarge;
    }
    // One byte more than the file holds: a read that comes back short at the size the status
    // gave has found the end, and a file that grows meanwhile is read on until it passes the
    // limit.
    QByteArray buffer(qsizetype(qMin(size, maxBytes) + 1), Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == buffer.size()) {
            if (filled > maxBytes) {
                return FileProblem::TooLarge;
            }
            buffer.resize(qsizetype(qMin(maxBytes + 1, filled * 2)));
        }
        const qint64 wanted = buffer.size() - filled;
        const qint64 got = read(buffer.data() + filled, wanted);
        if (got < 0) {
            return FileProblem::ReadFailed;
        }
        filled += got;
        if (got == 0 || (got < wanted && filled == size)) {
            break;
        }
    }
    if (filled > maxBytes) {
        return FileProblem::TooLarge;
    }
    buffer.truncate(qsizetype(filled));
    bytes = std::move(buffer);
    return FileProblem::None;
}
