// The launcher's own PNG decoder against Qt's reader. On a simple PNG, whichever filters, sizes,
// chunk splits and harmless chunks it has, it gives what Qt's reader gives: the same format, bytes
// and colour space. On anything else it gives nothing, and loadPicture still answers as it did
// when Qt's reader read every picture, without letting a chunk's announced length cost memory.

#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"
#include "pictures/pngdecode.h"
#include "support/finishesintime.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{
enum Filter : char { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

const QByteArray signature("\x89PNG\r\n\x1A\n", 8);

QByteArray bigEndian32(quint32 value)
{
    return QByteArray(1, char(value >> 24)) + char(value >> 16) + char(value >> 8) + char(value);
}

QByteArray bigEndian16(quint16 value)
{
    return QByteArray(1, char(value >> 8)) + char(value);
}

quint32 crcOf(const QByteArray &bytes)
{
    return quint32(
        crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian32(quint32(data.size())) + type + data + bigEndian32(crcOf(type + data));
}

QByteArray headerChunk(quint32 width, quint32 height, int bitDepth, int colourType,
                       int interlace = 0, int compression = 0, int filterMethod = 0)
{
    return chunk("IHDR",
                 bigEndian32(width) + bigEndian32(height) + char(bitDepth) + char(colourType)
                     + char(compression) + char(filterMethod) + char(interlace));
}

const QByteArray endChunk = chunk("IEND", {});

// A zlib stream of `raw`, with the compression level and window size given.
QByteArray deflated(const QByteArray &raw, int level = Z_DEFAULT_COMPRESSION, int windowBits = 15)
{
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        qFatal("deflateInit2 failed");
    }
    QByteArray out(qsizetype(deflateBound(&stream, uLong(raw.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
        qFatal("deflate did not finish");
    }
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Rows of pixels, `channels` bytes each: noise (alpha 0 with colour included, which a decoder that
// premultiplied would lose), runs of one value and steep ramps, so that every filter meets small
// and large differences and sums past 255.
QByteArray pixelRows(int width, int height, int channels, quint32 seed)
{
    QByteArray out;
    out.reserve(qsizetype(width) * height * channels);
    quint32 state = seed;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                state = state * 1664525u + 1013904223u;
                int value = 0;
                switch ((x / 4 + y) % 3) {
                case 0:
                    value = int(state >> 24);
                    break;
                case 1:
                    value = c == 3 ? 255 : 250 - c * 100;
                    break;
                default:
                    value = (x * 61 + y * 29 + c * 97) & 0xFF;
                    break;
                }
                out += char(value);
            }
        }
    }
    return out;
}

// The Paeth predictor exactly as the PNG standard defines it.
int paethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    if (pb <= pc) {
        return b;
    }
    return c;
}

// Each row with its filter byte, row y filtered with filters[y % filters.size()].
QByteArray filtered(const QByteArray &pixels, int width, int channels, const QList<Filter> &filters)
{
    const qsizetype stride = qsizetype(width) * channels;
    const qsizetype height = pixels.size() / stride;
    const auto *data = reinterpret_cast<const uchar *>(pixels.constData());
    QByteArray out;
    for (qsizetype y = 0; y < height; ++y) {
        const Filter filter = filters.at(y % filters.size());
        out += char(filter);
        const uchar *row = data + y * stride;
        const uchar *above = y > 0 ? row - stride : nullptr;
        for (qsizetype i = 0; i < stride; ++i) {
            const int a = i >= channels ? row[i - channels] : 0;
            const int b = above ? above[i] : 0;
            const int c = above && i >= channels ? above[i - channels] : 0;
            int predicted = 0;
            switch (filter) {
            case None:
                break;
            case Sub:
                predicted = a;
                break;
            case Up:
                predicted = b;
                break;
            case Average:
                predicted = (a + b) / 2;
                break;
            case Paeth:
                predicted = paethPredictor(a, b, c);
                break;
            }
            out += char(uchar(row[i] - predicted));
        }
    }
    return out;
}

// Every filter after every other, the first row included.
const QList<Filter> &everyFilter()
{
    static const QList<Filter> filters{Average, Paeth, Up,   Sub, None,   Paeth,
                                       Average, Up,    None, Sub, Average};
    return filters;
}

struct PngPlan {
    int width = 3;
    int height = 5;
    int colourType = 6;
    QList<Filter> filters = everyFilter();
    int level = Z_DEFAULT_COMPRESSION;
    int windowBits = 15;
    int idatPieces = 1;
    QByteArray before; // chunks between IHDR and the image data
    QByteArray after; // chunks between the image data and IEND
    quint32 seed = 1;

    int channels() const { return colourType == 6 ? 4 : 3; }
    QByteArray rows() const
    {
        return filtered(pixelRows(width, height, channels(), seed), width, channels(), filters);
    }
    QByteArray stream() const { return deflated(rows(), level, windowBits); }
};

// The zlib stream in `pieces` IDAT chunks of nearly equal size; more pieces than bytes leaves some
// of them empty.
QByteArray imageDataChunks(const QByteArray &stream, int pieces)
{
    QByteArray out;
    const qsizetype step = (stream.size() + pieces - 1) / pieces;
    for (int i = 0; i < pieces; ++i) {
        const qsizetype from = qMin(stream.size(), i * step);
        out += chunk("IDAT", stream.mid(from, qMin(step, stream.size() - from)));
    }
    return out;
}

QByteArray png(const PngPlan &plan, const QByteArray &stream)
{
    return signature + headerChunk(quint32(plan.width), quint32(plan.height), 8, plan.colourType)
        + plan.before + imageDataChunks(stream, plan.idatPieces) + plan.after + endChunk;
}

QByteArray png(const PngPlan &plan)
{
    return png(plan, plan.stream());
}

QByteArray chromaticities(const QList<quint32> &values)
{
    QByteArray out;
    for (const quint32 value : values) {
        out += bigEndian32(value);
    }
    return chunk("cHRM", out);
}

const QList<quint32> standardPrimaries = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
const QList<quint32> wideGamutPrimaries = {31270, 32900, 68000, 32000, 26500, 69000, 15000, 6000};

QByteArray gammaChunk(quint32 value)
{
    return chunk("gAMA", bigEndian32(value));
}

QByteArray standardRgb(int intent)
{
    return chunk("sRGB", QByteArray(1, char(intent)));
}

QByteArray profile()
{
    return chunk("iCCP",
                 "Display P3\0\0"_ba + deflated(QColorSpace(QColorSpace::DisplayP3).iccProfile()));
}

// Every ancillary chunk the decoder lets through, each once and with valid content for an image
// of `channels` channels. Before the image data, the decoder leaves an ICC profile to Qt.
QList<QPair<QByteArray, QByteArray>> harmlessChunks(int channels, bool withProfile)
{
    QList<QPair<QByteArray, QByteArray>> chunks = {
        {"tEXt", "Title\0Button"_ba},
        {"zTXt", "Comment\0\0"_ba + deflated("A picture for a launch button, twice over.")},
        {"iTXt", "Author\0\0\0en\0Autor\0Kestrel"_ba},
        {"tIME", bigEndian16(2024) + "\x05\x06\x07\x08\x09"_ba},
        {"pHYs", bigEndian32(5905) + bigEndian32(5905) + '\x01'},
        {"gAMA", bigEndian32(45455)},
        {"cHRM", chromaticities(standardPrimaries).mid(8, 32)},
        {"sRGB", "\x00"_ba},
        {"bKGD", bigEndian16(10) + bigEndian16(200) + bigEndian16(30)},
        {"sBIT", QByteArray(channels, '\x08')},
        {"hIST", bigEndian16(1) + bigEndian16(2)},
        {"sPLT", "Suggested\0\x08"_ba + "\x10\x20\x30\xFF"_ba + bigEndian16(7)},
        {"eXIf", "MM\0\x2A\0\0\0\x08\0\0\0\0\0\0"_ba},
    };
    if (withProfile) {
        chunks.append({"iCCP", profile().mid(8, profile().size() - 12)});
    }
    return chunks;
}

QByteArray allChunks(int channels, bool withProfile)
{
    QByteArray out;
    for (const auto &[type, data] : harmlessChunks(channels, withProfile)) {
        out += chunk(type, data);
    }
    return out;
}

QImage readByQt(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

QByteArray encodedByQt(const QImage &image, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "png", quality)) {
        qFatal("QImage::save failed");
    }
    return bytes;
}

QImage pattern(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgba(x * 7, y * 13, (x * y) & 0xFF, (x * 3 + y * 5) & 0xFF));
        }
    }
    return image.convertToFormat(format);
}

qsizetype lengthAt(const QByteArray &png, qsizetype at)
{
    return qsizetype((quint32(uchar(png[at])) << 24) | (quint32(uchar(png[at + 1])) << 16)
                     | (quint32(uchar(png[at + 2])) << 8) | quint32(uchar(png[at + 3])));
}

// Where the chunk of `type` (the n-th of them) starts, or -1.
qsizetype chunkAt(const QByteArray &png, const QByteArray &type, int n = 0)
{
    qsizetype at = signature.size();
    while (at + 8 <= png.size()) {
        if (png.mid(at + 4, 4) == type && n-- == 0) {
            return at;
        }
        at += 12 + lengthAt(png, at);
    }
    return -1;
}

QByteArray withBadCrc(QByteArray png, const QByteArray &type)
{
    const qsizetype at = chunkAt(png, type);
    if (at < 0) {
        qFatal("no such chunk");
    }
    const qsizetype last = at + 8 + lengthAt(png, at) + 3;
    png[last] = char(png[last] ^ 0x01);
    return png;
}

// The same picture with the length of its first chunk of `type` changed, and nothing else.
QByteArray withLength(QByteArray png, const QByteArray &type, quint32 length)
{
    const qsizetype at = chunkAt(png, type);
    if (at < 0) {
        qFatal("no such chunk");
    }
    png.replace(at, 4, bigEndian32(length));
    return png;
}

// The same picture with its IHDR data replaced, the CRC made right.
QByteArray withHeader(const QByteArray &png, const QByteArray &header)
{
    QByteArray out = png;
    out.replace(signature.size(), 25, header);
    return out;
}

bool sameBytes(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.bytesPerLine() != b.bytesPerLine()) {
        return false;
    }
    const qsizetype rowBytes = qsizetype(a.width()) * a.depth() / 8;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(rowBytes)) != 0) {
            return false;
        }
    }
    return true;
}
} // namespace

class TestPngDecode : public QObject
{
    Q_OBJECT

private slots:
    // First, while the peak memory of the process is still small.
    void overlongChunkTakesNoMemory();
    void hugeFileOfZerosRefusedAtOnce();
    void sameAsQt_data();
    void sameAsQt();
    void savedByQt_data();
    void savedByQt();
    void fallback_data();
    void fallback();
    void loadPicture_data();
    void loadPicture();
};

void TestPngDecode::sameAsQt_data()
{
    QTest::addColumn<QByteArray>("png");

    const QList<QPair<const char *, QList<Filter>>> filterSets = {
        {"None", {None}},       {"Sub", {Sub}},     {"Up", {Up}},
        {"Average", {Average}}, {"Paeth", {Paeth}}, {"mixed", everyFilter()},
    };
    const QList<QSize> sizes = {{1, 1}, {3, 5}, {32, 32}, {33, 7}, {300, 2}};
    for (const int colourType : {6, 2}) {
        for (const QSize size : sizes) {
            for (const auto &[name, filters] : filterSets) {
                PngPlan plan;
                plan.colourType = colourType;
                plan.width = size.width();
                plan.height = size.height();
                plan.filters = filters;
                plan.seed = quint32(size.width() * 1000 + size.height());
                QTest::addRow("%s %dx%d %s", colourType == 6 ? "RGBA" : "RGB", size.width(),
                              size.height(), name)
                    << png(plan);
            }
        }
    }

    for (const int colourType : {6, 2}) {
        const char *kind = colourType == 6 ? "RGBA" : "RGB";
        PngPlan plan;
        plan.colourType = colourType;
        plan.width = 33;
        plan.height = 7;
        for (const int pieces : {2, 3, 50, 2000}) {
            PngPlan split = plan;
            split.idatPieces = pieces;
            QTest::addRow("%s image data in %d IDAT chunks", kind, pieces) << png(split);
        }
        for (const auto &[type, data] : harmlessChunks(plan.channels(), false)) {
            PngPlan before = plan;
            before.before = chunk(type, data);
            QTest::addRow("%s %s before IDAT", kind, type.constData()) << png(before);
        }
        for (const auto &[type, data] : harmlessChunks(plan.channels(), true)) {
            PngPlan after = plan;
            after.after = chunk(type, data);
            QTest::addRow("%s %s after IDAT", kind, type.constData()) << png(after);
        }
        PngPlan all = plan;
        all.before = allChunks(plan.channels(), false);
        all.after = allChunks(plan.channels(), true);
        all.idatPieces = 4;
        QTest::addRow("%s every harmless chunk before and after split IDAT", kind) << png(all);
        // Qt's reader warns about these and ignores them; nothing else changes.
        PngPlan odd = plan;
        odd.before = chunk("pHYs", "\x01\x02\x03"_ba) + chunk("eXIf", "not exif"_ba)
            + chunk("tIME", "\0\0\x0D\x20\x20\x61\x61"_ba) + chunk("bKGD", "\x01"_ba)
            + chunk("sBIT", "\0\0\0\0\0"_ba) + chunk("tEXt", QByteArray(100, 'k'))
            + chunk("pHYs", bigEndian32(1) + bigEndian32(2) + '\x07') + chunk("hIST", {});
        QTest::addRow("%s malformed and repeated harmless chunks", kind) << png(odd);
        // After the image data, Qt's reader takes no colour space from any of them.
        odd.before.clear();
        odd.after = gammaChunk(0) + gammaChunk(45455) + standardRgb(9)
            + chromaticities(wideGamutPrimaries)
            + chunk("iCCP", "broken\0\0"_ba + deflated("no profile")) + profile();
        QTest::addRow("%s colour chunks of every kind after IDAT", kind) << png(odd);

        // The colour chunks the usual writers put before the image data, for which the decoder
        // gives Qt's colour space itself.
        const QList<QPair<const char *, QByteArray>> colours = {
            {"gAMA 1/2.2", gammaChunk(45455)},
            {"gAMA 1", gammaChunk(100000)},
            {"gAMA 1/2", gammaChunk(50000)},
            {"gAMA 16", gammaChunk(16)},
            {"gAMA 625000000", gammaChunk(625000000)},
            {"gAMA 1/2.2, sRGB cHRM", gammaChunk(45455) + chromaticities(standardPrimaries)},
            {"sRGB cHRM, gAMA 1/1.8", chromaticities(standardPrimaries) + gammaChunk(55556)},
            {"sRGB cHRM alone", chromaticities(standardPrimaries)},
            {"wide-gamut cHRM alone", chromaticities(wideGamutPrimaries)},
            {"zero cHRM alone", chromaticities({0, 0, 0, 0, 0, 0, 0, 0})},
            {"short cHRM alone", chunk("cHRM", QByteArray(31, '\x01'))},
            {"sRGB perceptual", standardRgb(0)},
            {"sRGB relative", standardRgb(1)},
            {"sRGB saturation", standardRgb(2)},
            {"sRGB absolute", standardRgb(3)},
            {"sRGB, gAMA, cHRM",
             standardRgb(0) + gammaChunk(45455) + chromaticities(standardPrimaries)},
            {"sRGB, cHRM, gAMA",
             standardRgb(0) + chromaticities(standardPrimaries) + gammaChunk(45455)},
            {"gAMA, sRGB, cHRM",
             gammaChunk(45455) + standardRgb(1) + chromaticities(standardPrimaries)},
            {"gAMA, cHRM, sRGB",
             gammaChunk(45455) + chromaticities(standardPrimaries) + standardRgb(2)},
            {"cHRM, sRGB, gAMA",
             chromaticities(standardPrimaries) + standardRgb(3) + gammaChunk(45455)},
            {"cHRM, gAMA, sRGB",
             chromaticities(standardPrimaries) + gammaChunk(45455) + standardRgb(0)},
            {"sRGB, gAMA", standardRgb(0) + gammaChunk(45455)},
            {"cHRM, sRGB", chromaticities(standardPrimaries) + standardRgb(0)},
        };
        for (const auto &[name, chunks] : colours) {
            PngPlan coloured = plan;
            coloured.before = chunk("bKGD", bigEndian16(1) + bigEndian16(2) + bigEndian16(3))
                + chunks + chunk("tEXt", "Software\0test"_ba);
            QTest::addRow("%s %s", kind, name) << png(coloured);
        }

        for (const int level : {0, 1, 9}) {
            PngPlan packed = plan;
            packed.width = 300;
            packed.height = 40;
            packed.level = level;
            QTest::addRow("%s 300x40 compression level %d", kind, level) << png(packed);
        }
        PngPlan narrow = plan;
        narrow.width = 200;
        narrow.height = 60;
        narrow.windowBits = 9;
        QTest::addRow("%s 200x60 with a 512-byte window", kind) << png(narrow);
        PngPlan large = plan;
        large.width = 700;
        large.height = 500;
        QTest::addRow("%s 700x500", kind) << png(large);
    }
}

void TestPngDecode::sameAsQt()
{
    QFETCH(QByteArray, png);
    const QImage expected = readByQt(png);
    QVERIFY2(!expected.isNull(), "Qt's reader does not read the test's own picture");
    const std::optional<QImage> decoded = decodeSimplePng(png);
    QVERIFY2(decoded, "a simple PNG was left to Qt's reader");
    QCOMPARE(decoded->format(), expected.format());
    QCOMPARE(decoded->size(), expected.size());
    QVERIFY(*decoded == expected);
    // operator== ignores the unused byte of RGB32, which must be 0xFF all the same.
    QVERIFY(sameBytes(*decoded, expected));
}

void TestPngDecode::savedByQt_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<bool>("simple"); // whether the decoder is to take it

    QTest::newRow("ARGB32 32x32") << encodedByQt(pattern(32, 32, QImage::Format_ARGB32)) << true;
    QTest::newRow("ARGB32 premultiplied 40x30")
        << encodedByQt(pattern(40, 30, QImage::Format_ARGB32_Premultiplied)) << true;
    QTest::newRow("RGB32 64x48") << encodedByQt(pattern(64, 48, QImage::Format_RGB32)) << true;
    QTest::newRow("RGB888 17x9") << encodedByQt(pattern(17, 9, QImage::Format_RGB888)) << true;
    QTest::newRow("RGBA8888 20x20")
        << encodedByQt(pattern(20, 20, QImage::Format_RGBA8888)) << true;
    QTest::newRow("ARGB32 1x1") << encodedByQt(pattern(1, 1, QImage::Format_ARGB32)) << true;
    QTest::newRow("ARGB32 333x222")
        << encodedByQt(pattern(333, 222, QImage::Format_ARGB32)) << true;
    for (const int quality : {0, 50, 100}) {
        QTest::addRow("ARGB32 quality %d", quality)
            << encodedByQt(pattern(50, 50, QImage::Format_ARGB32), quality) << true;
    }
    QImage described = pattern(24, 24, QImage::Format_ARGB32);
    described.setText(u"Title"_s, u"A button"_s);
    described.setText(u"Description"_s, QString(u"long text "_s).repeated(40));
    described.setDotsPerMeterX(5000);
    described.setDotsPerMeterY(4000);
    QTest::newRow("ARGB32 with text and resolution") << encodedByQt(described) << true;
    QImage profiled = pattern(24, 24, QImage::Format_RGB32);
    profiled.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    QTest::newRow("RGB32 with a colour profile") << encodedByQt(profiled) << false;
    QImage standard = pattern(24, 24, QImage::Format_ARGB32);
    standard.setColorSpace(QColorSpace(QColorSpace::SRgb));
    QTest::newRow("ARGB32 in sRGB") << encodedByQt(standard) << false;

    QTest::newRow("grey") << encodedByQt(pattern(16, 16, QImage::Format_Grayscale8)) << false;
    QTest::newRow("16-bit RGBA") << encodedByQt(pattern(16, 16, QImage::Format_RGBA64)) << false;
    QTest::newRow("palette") << encodedByQt(
        pattern(16, 16, QImage::Format_ARGB32).convertToFormat(QImage::Format_Indexed8))
                             << false;
    QTest::newRow("1-bit") << encodedByQt(pattern(16, 16, QImage::Format_Mono)) << false;
}

void TestPngDecode::savedByQt()
{
    QFETCH(QByteArray, png);
    QFETCH(bool, simple);
    const std::optional<QImage> decoded = decodeSimplePng(png);
    QCOMPARE(decoded.has_value(), simple);
    if (decoded) {
        const QImage expected = readByQt(png);
        QVERIFY(!expected.isNull());
        QCOMPARE(decoded->format(), expected.format());
        QVERIFY(*decoded == expected);
        QVERIFY(sameBytes(*decoded, expected));
    }
}

void TestPngDecode::fallback_data()
{
    QTest::addColumn<QByteArray>("png");

    PngPlan plan;
    plan.width = 5;
    plan.height = 4;
    const QByteArray good = png(plan);
    QVERIFY(decodeSimplePng(good)); // each row below spoils this picture in one way
    const QByteArray rows = plan.rows();
    const QByteArray stream = plan.stream();
    const qsizetype imageData = chunkAt(good, "IDAT");

    QTest::newRow("IHDR CRC") << withBadCrc(good, "IHDR");
    QTest::newRow("IDAT CRC") << withBadCrc(good, "IDAT");
    QTest::newRow("IEND CRC") << withBadCrc(good, "IEND");
    PngPlan described = plan;
    described.before = chunk("tEXt", "Title\0Button"_ba);
    QTest::newRow("ancillary chunk CRC") << withBadCrc(png(described), "tEXt");
    PngPlan split = plan;
    split.idatPieces = 3;
    QByteArray secondPieceBad = png(split);
    secondPieceBad[chunkAt(secondPieceBad, "IDAT", 1) + 9] ^= 0x10;
    QTest::newRow("data of the second IDAT changed") << secondPieceBad;

    QTest::newRow("cut in the middle of IDAT") << good.left(imageData + 8 + stream.size() / 2);
    QTest::newRow("cut in the middle of IEND") << good.chopped(4);
    QTest::newRow("IEND missing") << good.chopped(12);
    QTest::newRow("a byte after IEND") << good + '\0';
    QTest::newRow("a chunk after IEND") << good + chunk("tEXt", "After\0end"_ba);
    QTest::newRow("IEND not empty") << good.chopped(12) + chunk("IEND", "x"_ba);
    QTest::newRow("no IDAT") << signature + good.mid(8, 25) + endChunk;
    QTest::newRow("only empty IDAT") << png(plan, QByteArray());
    QByteArray overlong = good;
    overlong[imageData] = '\x7F';
    QTest::newRow("chunk longer than the file") << overlong;
    overlong[imageData] = '\xFF';
    QTest::newRow("chunk longer than 2^31 - 1") << overlong;

    QTest::newRow("extra data after the zlib stream") << png(plan, stream + "\x03\x00"_ba);
    QTest::newRow("a second zlib stream after the first") << png(plan, stream + stream);
    QTest::newRow("zlib output a byte short") << png(plan, deflated(rows.chopped(1)));
    QTest::newRow("zlib output a byte long") << png(plan, deflated(rows + '\0'));
    QTest::newRow("zlib stream without its end") << png(plan, stream.chopped(4));
    QByteArray badAdler = stream;
    badAdler[badAdler.size() - 1] = char(badAdler.back() ^ 0x01);
    QTest::newRow("bad Adler-32") << png(plan, badAdler);
    QByteArray dictionary = stream;
    dictionary[1] = char(0xBB); // FDICT set, check bits still right
    QTest::newRow("preset dictionary") << png(plan, dictionary);
    QTest::newRow("raw deflate without zlib header") << png(plan, deflated(rows, 6, -15));
    QTest::newRow("gzip wrapper") << png(plan, deflated(rows, 6, 31));
    QByteArray filterFive = rows;
    filterFive[0] = 5;
    QTest::newRow("filter byte 5 in the first row") << png(plan, deflated(filterFive));
    filterFive = rows;
    filterFive[3 * (1 + 5 * 4)] = 5;
    QTest::newRow("filter byte 5 in the last row") << png(plan, deflated(filterFive));
    filterFive[3 * (1 + 5 * 4)] = char(0xFF);
    QTest::newRow("filter byte 255") << png(plan, deflated(filterFive));

    // A 1x1 interlaced picture has the same rows as a plain one: only the header tells.
    PngPlan dot = plan;
    dot.width = 1;
    dot.height = 1;
    QTest::newRow("interlaced") << withHeader(png(dot), headerChunk(1, 1, 8, 6, 1));
    QTest::newRow("16-bit RGBA") << signature + headerChunk(1, 1, 16, 6)
            + chunk("IDAT", deflated(QByteArray(9, '\x40'))) + endChunk;
    QTest::newRow("palette") << signature + headerChunk(2, 1, 8, 3)
            + chunk("PLTE", "\xFF\0\0\0\xFF\0"_ba) + chunk("IDAT", deflated("\0\0\1"_ba))
            + endChunk;
    QTest::newRow("palette in an RGBA picture")
        << png(described).replace(chunk("tEXt", "Title\0Button"_ba), chunk("PLTE", "\xFF\0\0"_ba));
    QTest::newRow("grey") << signature + headerChunk(2, 1, 8, 0)
            + chunk("IDAT", deflated("\0\x10\x80"_ba)) + endChunk;
    QTest::newRow("grey with alpha") << signature + headerChunk(1, 1, 8, 4)
            + chunk("IDAT", deflated("\0\x10\x80"_ba)) + endChunk;
    PngPlan opaque = plan;
    opaque.colourType = 2;
    opaque.before = chunk("tRNS", bigEndian16(0) + bigEndian16(0) + bigEndian16(0));
    QTest::newRow("tRNS") << png(opaque);
    QTest::newRow("colour type 6 with RGB rows")
        << withHeader(png(opaque).replace(opaque.before, {}), headerChunk(5, 4, 8, 6));
    PngPlan unknown = plan;
    unknown.before = chunk("vpAg", QByteArray(9, '\0'));
    QTest::newRow("unknown ancillary chunk") << png(unknown);
    unknown.before = chunk("oFFs", QByteArray(9, '\0'));
    QTest::newRow("oFFs") << png(unknown);
    unknown.before = chunk("ABCD", QByteArray(3, '\0'));
    QTest::newRow("unknown critical chunk") << png(unknown);
    unknown.before = good.mid(8, 25);
    QTest::newRow("second IHDR") << png(unknown);
    QByteArray separated = png(split);
    separated.insert(chunkAt(separated, "IDAT", 2), chunk("tEXt", "Between\0IDATs"_ba));
    QTest::newRow("IDAT chunks not consecutive") << separated;
    QTest::newRow("tEXt before IHDR") << signature + chunk("tEXt", "First\0chunk"_ba) + good.mid(8);

    // Colour chunks whose colour space would need the decoder's checks of colour data redone.
    const QList<QPair<const char *, QByteArray>> colours = {
        {"iCCP", profile()},
        {"iCCP and sRGB", profile() + standardRgb(0)},
        {"two gAMA", gammaChunk(45455) + gammaChunk(45455)},
        {"two cHRM", chromaticities(standardPrimaries) + chromaticities(standardPrimaries)},
        {"two sRGB", standardRgb(0) + standardRgb(0)},
        {"gAMA 0", gammaChunk(0)},
        {"gAMA 15", gammaChunk(15)},
        {"gAMA 625000001", gammaChunk(625000001)},
        {"gAMA of 3 bytes", chunk("gAMA", "\0\xB1\x8F"_ba)},
        {"sRGB intent 4", standardRgb(4)},
        {"sRGB of 2 bytes", chunk("sRGB", "\0\0"_ba)},
        {"sRGB and gAMA 1", standardRgb(0) + gammaChunk(100000)},
        {"gAMA 1 and sRGB", gammaChunk(100000) + standardRgb(0)},
        {"sRGB and wide-gamut cHRM", standardRgb(0) + chromaticities(wideGamutPrimaries)},
        {"gAMA and wide-gamut cHRM", gammaChunk(45455) + chromaticities(wideGamutPrimaries)},
        {"gAMA and zero cHRM", gammaChunk(45455) + chromaticities({0, 0, 0, 0, 0, 0, 0, 0})},
        {"gAMA and short cHRM", gammaChunk(45455) + chunk("cHRM", QByteArray(31, '\x01'))},
    };
    for (const auto &[name, chunks] : colours) {
        PngPlan coloured = plan;
        coloured.before = chunks;
        QTest::newRow(name) << png(coloured);
    }

    // With image data of the rows the header announces: four filter bytes, and nothing.
    QTest::newRow("zero width") << signature + headerChunk(0, 4, 8, 6)
            + chunk("IDAT", deflated(QByteArray(4, '\0'))) + endChunk;
    QTest::newRow("zero height") << signature + headerChunk(5, 0, 8, 6)
            + chunk("IDAT", deflated(QByteArray())) + endChunk;
    QTest::newRow("30000 x 30000") << withHeader(good, headerChunk(30000, 30000, 8, 6));
    QTest::newRow("width 2^32 - 1") << withHeader(good, headerChunk(0xFFFFFFFFu, 1, 8, 6));
    QTest::newRow("height 2^31") << withHeader(good, headerChunk(1, 0x80000000u, 8, 2));
    // Just over 128 MiB of pixels, and a side over the reader's limit with few pixels.
    QTest::newRow("8193 x 4096") << withHeader(good, headerChunk(8193, 4096, 8, 6));
    QTest::newRow("1000001 x 1 with its rows") << signature + headerChunk(1000001, 1, 8, 2)
            + chunk("IDAT", deflated('\0' + QByteArray(3000003, '\x80'))) + endChunk;
    QTest::newRow("compression method 1") << withHeader(good, headerChunk(5, 4, 8, 6, 0, 1));
    QTest::newRow("filter method 1") << withHeader(good, headerChunk(5, 4, 8, 6, 0, 0, 1));
    QTest::newRow("IHDR of 14 bytes")
        << signature + chunk("IHDR", good.mid(16, 13) + '\0') + good.mid(33);
    QTest::newRow("bad signature") << "\x89PNG\r\n\x1A\r"_ba + good.mid(8);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("signature only") << signature;
    QTest::newRow("signature and IHDR only") << good.left(33);
}

void TestPngDecode::fallback()
{
    QFETCH(QByteArray, png);
    QVERIFY(!decodeSimplePng(png));
}

void TestPngDecode::loadPicture_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<bool>("simple");
    // Empty when Qt's reader gives a picture, which loadPicture must give too.
    QTest::addColumn<QString>("reason");

    PngPlan plan;
    plan.width = 32;
    plan.height = 32;
    const QByteArray good = png(plan);
    const QString unreadable = u"Unable to read image data"_s;
    QTest::newRow("simple RGBA") << good << true << QString();
    QTest::newRow("saved by Qt") << encodedByQt(pattern(32, 32, QImage::Format_RGB32)) << true
                                 << QString();
    QTest::newRow("IDAT CRC") << withBadCrc(good, "IDAT") << false << unreadable;
    QTest::newRow("IEND CRC") << withBadCrc(good, "IEND") << false << unreadable;
    QTest::newRow("bad Adler-32") << png(
        plan, plan.stream().chopped(1) + char(plan.stream().back() ^ 0x01))
                                  << false << unreadable;
    QTest::newRow("cut in the middle of IDAT") << good.left(good.size() / 2) << false << unreadable;
    QTest::newRow("1000001 x 1") << signature + headerChunk(1000001, 1, 8, 2)
            + chunk("IDAT", deflated('\0' + QByteArray(3000003, '\x80')))
            + endChunk << false << unreadable;
    QTest::newRow("30000 x 30000") << withHeader(good, headerChunk(30000, 30000, 8, 6)) << false
                                   << u"30000 x 30000 pixels, more than a picture may take"_s;
    // Refused by the decoder, taken by Qt's reader.
    PngPlan described = plan;
    described.before = chunk("tEXt", "Title\0Button"_ba);
    QTest::newRow("ancillary chunk CRC")
        << withBadCrc(png(described), "tEXt") << false << QString();
    QTest::newRow("a byte after IEND") << good + '\0' << false << QString();
    PngPlan opaque = plan;
    opaque.colourType = 2;
    opaque.before = chunk("tRNS", bigEndian16(0) + bigEndian16(0) + bigEndian16(0));
    QTest::newRow("tRNS") << png(opaque) << false << QString();
    QTest::newRow("grey") << encodedByQt(pattern(8, 8, QImage::Format_Grayscale8)) << false
                          << QString();
    // Qt's reader makes up the CRC of IEND when the file ends without it.
    QTest::newRow("IEND without its CRC") << good.chopped(4) << false << QString();

    // Chunks that announce more than the file holds, up to 2 GiB, refused as Qt's reader refuses
    // them but without its reading them.
    const QByteArray text = chunk("tEXt", "Title\0Button"_ba);
    described.before = text;
    const quint32 twoGiB = 0x7FFFFFF0;
    QTest::newRow("tEXt before IDAT announcing 2 GiB")
        << withLength(png(described), "tEXt", twoGiB) << false << unreadable;
    described.before.clear();
    described.after = text;
    QTest::newRow("tEXt after IDAT announcing 2 GiB")
        << withLength(png(described), "tEXt", twoGiB) << false << unreadable;
    QTest::newRow("IHDR announcing 2 GiB")
        << withLength(good, "IHDR", twoGiB) << false << unreadable;
    QTest::newRow("IDAT announcing 2 GiB")
        << withLength(good, "IDAT", twoGiB) << false << unreadable;
    QTest::newRow("IDAT announcing a byte more than the file holds")
        << withLength(good, "IDAT", quint32(good.size() - chunkAt(good, "IDAT") - 8 + 1)) << false
        << unreadable;
    // The size a header declares is still reported first when the image data is too long.
    QTest::newRow("30000 x 30000 with IDAT announcing 2 GiB")
        << withLength(withHeader(good, headerChunk(30000, 30000, 8, 6)), "IDAT", twoGiB) << false
        << u"30000 x 30000 pixels, more than a picture may take"_s;

    // Files of over 1 MiB are not read whole, and never reach the decoder.
    PngPlan large = plan;
    large.width = 800;
    large.height = 400;
    large.level = 0;
    const QByteArray big = png(large);
    QVERIFY(big.size() > 1024 * 1024);
    QTest::newRow("simple RGBA of over 1 MiB") << big << true << QString();
    large.after = text;
    QTest::newRow("over 1 MiB with tEXt after IDAT announcing 2 GiB")
        << withLength(png(large), "tEXt", twoGiB) << false << unreadable;
}

// Writes `bytes` as pic.png into `folder`; the path, or nothing when it could not be written.
static QString writePicture(const QTemporaryDir &folder, const QByteArray &bytes)
{
    const QString path = folder.filePath(QStringLiteral("pic.png"));
    QFile file(path);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly)
        || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

void TestPngDecode::loadPicture()
{
    QFETCH(QByteArray, png);
    QFETCH(bool, simple);
    QFETCH(QString, reason);
    QCOMPARE(decodeSimplePng(png).has_value(), simple);

    QTemporaryDir folder;
    const QString path = writePicture(folder, png);
    QVERIFY(!path.isEmpty());

    std::optional<QImage> loaded;
    std::optional<RuntimeError> error;
    try {
        loaded = ::loadPicture(path);
    } catch (const RuntimeError &thrown) {
        error = thrown;
    }
    if (reason.isEmpty()) {
        QVERIFY2(loaded, error ? qPrintable(error->description()) : "");
        const QImage expected = readByQt(png);
        QCOMPARE(loaded->format(), expected.format());
        QVERIFY(*loaded == expected);
        QVERIFY(sameBytes(*loaded, expected));
    } else {
        QVERIFY2(error, "a broken picture was loaded");
        QCOMPARE(error->number(), int(RuntimeError::InvalidPicture));
        QCOMPARE(error->description(),
                 RuntimeError::withPath(RuntimeError::InvalidPicture, reason, path).description());
    }
}

void TestPngDecode::hugeFileOfZerosRefusedAtOnce()
{
    // A signature followed by 4 GiB of zeros, sparse on the disk: chunks of length 0 and no type
    // every 12 bytes. The file is refused as the decoder refuses it, without being walked.
    QTemporaryDir folder;
    const QString path = writePicture(folder, QByteArray("\x89PNG\r\n\x1A\n", 8));
    QVERIFY(!path.isEmpty());
    QFile file(path);
    if (!file.resize(qint64(4) << 30)) {
        QSKIP("the file system holds no sparse file of 4 GiB");
    }
    bool refused = false;
    QVERIFY(finishesInTime([&path, &refused] {
        try {
            ::loadPicture(path);
        } catch (const RuntimeError &) {
            refused = true;
        }
    }));
    QVERIFY(refused);
}

void TestPngDecode::overlongChunkTakesNoMemory()
{
    // Were the text chunk's announced 2 GiB allocated and cleared, the peak would pass 2 GiB.
    PngPlan plan;
    plan.after = chunk("tEXt", "Title\0Button"_ba);
    const QByteArray hostile = withLength(png(plan), "tEXt", 0x7FFFFFF0);
    QTemporaryDir folder;
    const QString path = writePicture(folder, hostile);
    QVERIFY(!path.isEmpty());

    const auto peakKiB = [] {
        rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        return qint64(usage.ru_maxrss);
    };
    const qint64 before = peakKiB();
    QVERIFY_THROWS_EXCEPTION(RuntimeError, ::loadPicture(path));
    QCOMPARE_LT(peakKiB() - before, 256 * 1024);
}

QTEST_MAIN(TestPngDecode)
#include "tst_pngdecode.moc"
