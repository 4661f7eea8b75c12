// wrapText with the width from the first two bytes (little-endian, any 16-bit value) and the text
// from the rest as UTF-16 code units.

#include "fuzzcheck.h"

#include "catalogue/runtimeerror.h"
#include "catalogue/wraptext.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

namespace
{
QString withoutLineEnds(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const auto width = static_cast<qint16>(data[0] | (data[1] << 8));
    const QString text = utf16Text(data, size, 2);
    try {
        const QString wrapped = wrapText(width, text);
        KK_FUZZ_CHECK(width != 0 && text.size() < 32767);
        // Only line breaks are added, each before a space, and nothing else changes.
        KK_FUZZ_CHECK(withoutLineEnds(wrapped) == withoutLineEnds(text));
        const qsizetype added = wrapped.size() - text.size();
        KK_FUZZ_CHECK(added >= 0 && added % 2 == 0);
        KK_FUZZ_CHECK(wrapped.count(u' ') == text.count(u' '));
        if (!text.contains(u'\r') && !text.contains(u'\n')) {
            const QStringList lines = wrapped.split(QStringLiteral("\r\n"));
            KK_FUZZ_CHECK(lines.size() - 1 == added / 2);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                KK_FUZZ_CHECK(lines.at(i).startsWith(u' '));
            }
        }
    } catch (const RuntimeError &error) {
        KK_FUZZ_CHECK((error.number() == RuntimeError::DivisionByZero && width == 0)
                      || (error.number() == RuntimeError::Overflow && text.size() >= 32767));
    }
    return 0;
}
