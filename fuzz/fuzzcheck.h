#pragma once

// What the fuzz targets share: their two entry points, and a check that stops the run with a
// message when a property of the code under test does not hold, so that libFuzzer keeps the
// input that broke it and the replay of the seed corpus fails.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

#define KK_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__,        \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The input after `skip` leading bytes as UTF-16 code units, any value included (unpaired
// surrogates and NUL among them), as a text read from anywhere could hold.
inline QString utf16Text(const uint8_t *data, size_t size, size_t skip)
{
    if (size <= skip) {
        return {};
    }
    const auto units = static_cast<qsizetype>((size - skip) / 2);
    QString text(units, Qt::Uninitialized);
    for (qsizetype i = 0; i < units; ++i) {
        const size_t at = skip + size_t(i) * 2;
        text[i] = QChar(char16_t(data[at] | (data[at + 1] << 8)));
    }
    return text;
}

// A private folder for the file the target writes each input into, removed at exit.
QString scratchFile(const char *name);
