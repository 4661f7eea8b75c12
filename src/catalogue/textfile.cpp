#include "catalogue/textfile.h"

#include "catalogue/plainfilereading.h"
#include "catalogue/runtimeerror.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <array>

namespace
{
// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five unassigned bytes map to the C1
// control of the same value, as Windows itself converts them.
constexpr std::array<char16_t, 32> cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(cp1252High[byte - 0x80])
                                                : QChar(char16_t(byte));
    }
    return text;
}
} // namespace

QString decodeText(const QByteArray &bytes)
{
    // Stateless, so that a sequence cut off at the end of the file counts as invalid instead of
    // being held back for more input that never comes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return decodeWindows1252(bytes);
}

namespace
{
RuntimeError tooLarge(const QString &path, qint64 maxBytes)
{
    return RuntimeError::forFile(
        FileProblem::TooLarge, path,
        QCoreApplication::translate("RuntimeError", "file larger than %1 bytes").arg(maxBytes));
}
} // namespace

QString readTextFile(const QString &path, qint64 maxBytes)
{
    QByteArray bytes;
    if (!readWholePlainFile(path, maxBytes, bytes)) {
        throw tooLarge(path, maxBytes);
    }
    return decodeText(bytes);
}

void forEachLine(QStringView text, const std::function<void(QStringView)> &onLine)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        onLine(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        onLine(text.sliced(start));
    }
}
