// The input as the bytes of a kk.cfg: decoded, cut into lines, read into a record for a user with
// a language of its own and composed into the description the box shows.

#include "fuzzcheck.h"

#include "catalogue/description.h"
#include "catalogue/descriptor.h"
#include "catalogue/runtimeerror.h"
#include "catalogue/textfile.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Lines never hold a line end, and together with their ends they cover the whole text.
    const QString text = decodeText(bytes);
    qsizetype covered = 0;
    forEachLine(text, [&covered](QStringView line) {
        KK_FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        covered += line.size();
    });
    KK_FUZZ_CHECK(covered <= text.size());

    static const QString path = scratchFile("kk.cfg");
    QFile file(path);
    KK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    KK_FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();

    ComponentInfo record;
    record.index = 3;
    record.folder = QStringLiteral("Fuzz");
    try {
        // As a reader in Austria reads it, so that lines with a language tag are taken too.
        static const QStringList languages = descriptorLanguages({QStringLiteral("de-AT")});
        readDescriptor(path, record, languages);
        const QString block = composeDescription(record);
        KK_FUZZ_CHECK(block.contains(record.exe) && block.contains(record.img)
                      && block.contains(record.desc));
    } catch (const RuntimeError &error) {
        // Only a description too long for the 16-bit counter stops a descriptor under the size
        // limit; a larger one is refused whole.
        KK_FUZZ_CHECK(
            error.number() == RuntimeError::Overflow
            || (error.number() == RuntimeError::PathFileAccessError && size > 1024 * 1024));
    }
    KK_FUZZ_CHECK(record.index == 3 && record.folder == QStringLiteral("Fuzz"));
    return 0;
}
