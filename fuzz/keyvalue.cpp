// splitKeyValue with a separator of 0 to 3 characters (its length from the first byte, its
// characters from the next ones) and the line from the rest, all as UTF-16 code units.

#include "fuzzcheck.h"

#include "catalogue/keyvalue.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    const qsizetype separatorLength = data[0] % 4;
    const QString all = utf16Text(data, size, 1);
    if (all.size() < separatorLength) {
        return 0;
    }
    const QString separator = all.left(separatorLength);
    const QString original = all.mid(separatorLength);

    QString line = original;
    const QString value = splitKeyValue(line, separator);
    const qsizetype at = original.indexOf(separator);
    if (at < 0) {
        KK_FUZZ_CHECK(line == original && value.isEmpty());
    } else {
        // The key is what comes before the first separator, the value everything after it.
        KK_FUZZ_CHECK(line.size() == at);
        KK_FUZZ_CHECK(line + separator + value == original);
    }
    return 0;
}
