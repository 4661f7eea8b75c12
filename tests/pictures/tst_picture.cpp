// Button pictures: every kind of PNG gives the pixels Qt's reader gives, of a large picture only
// the centre a button shows is kept, and a PNG that Qt's reader refuses is refused with the message
// it gives, without costing the memory a hostile file announces.

#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"
#include "support/finishesintime.h"
#include "support/platformsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <spng.h>
#include <zlib.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace
{
// What a launch button shows of its picture at 100 % and at 150 %.
const QSize area100(123, 51);
const QSize area150(180, 72);

// A picture whose every pixel differs from its neighbours, with some transparency, so that a pixel
// taken from the wrong place or blended shows.
QImage pattern(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = (x + y) % 7 == 0 ? 0 : ((x * y) % 5 == 0 ? 128 : 255);
            line[x] = qRgba((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255, alpha);
        }
    }
    return format == QImage::Format_Indexed8
        ? image.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither)
        : image.convertToFormat(format);
}

QByteArray savedByQt(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        qFatal("cannot encode a PNG of format %d", int(image.format()));
    }
    return bytes;
}

// A PNG of the kind Qt's writer never makes: interlaced, or with a transparent colour, written by
// libspng from the pattern's samples.
QByteArray savedBySpng(int width, int height, int colourType, int bitDepth, bool interlaced,
                       bool transparentColour)
{
    const int channels = colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ? 4
        : colourType == SPNG_COLOR_TYPE_TRUECOLOR                      ? 3
        : colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA                ? 2
                                                                       : 1;
    const QImage source = pattern(width, height, QImage::Format_ARGB32);
    QByteArray samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = source.pixel(x, y);
            const int values[4] = {qRed(pixel), qGreen(pixel), qBlue(pixel), qAlpha(pixel)};
            const int grey[2] = {qRed(pixel), qAlpha(pixel)};
            for (int c = 0; c < channels; ++c) {
                const int value = channels <= 2 ? grey[c] : values[c];
                if (bitDepth == 16) {
                    samples += char(value);
                    samples += char((value * 31 + x) & 255);
                } else {
                    samples += char(value);
                }
            }
        }
    }
    spng_ctx *context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header = {uint32_t(width),
                        uint32_t(height),
                        uint8_t(bitDepth),
                        uint8_t(colourType),
                        0,
                        0,
                        uint8_t(interlaced ? 1 : 0)};
    spng_set_ihdr(context, &header);
    if (transparentColour) {
        spng_trns transparency = {};
        transparency.gray = 0;
        transparency.red = 0;
        transparency.green = 0;
        transparency.blue = 0;
        spng_set_trns(context, &transparency);
    }
    int error = spng_encode_image(context, samples.constData(), size_t(samples.size()),
                                  SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t length = 0;
    void *png = error == 0 ? spng_get_png_buffer(context, &length, &error) : nullptr;
    spng_ctx_free(context);
    if (!png) {
        qFatal("libspng could not encode: %s", spng_strerror(error));
    }
    QByteArray bytes(static_cast<const char *>(png), qsizetype(length));
    free(png);
    return bytes;
}

QImage readByQt(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImage image = QImageReader(&buffer, "png").read();
    // Painting takes no notice of the colour space Qt's reader attaches.
    image.setColorSpace(QColorSpace());
    return image;
}

// The pixels of `image` in one format that holds every kind exactly.
QImage samplesOf(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGBA64);
}

struct Written {
    QTemporaryDir folder;
    QString path;
};

// `bytes` as the file pic.png of a temporary folder.
std::unique_ptr<Written> written(const QByteArray &bytes)
{
    auto file = std::make_unique<Written>();
    file->path = file->folder.filePath(u"pic.png"_s);
    QFile out(file->path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(file->path));
    }
    return file;
}

// What loading the picture raised, or nothing.
std::optional<RuntimeError> refusal(const QString &path)
{
    try {
        Picture::load(path, area100);
    } catch (const RuntimeError &error) {
        return error;
    }
    return std::nullopt;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray body = type + data;
    const auto crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
    return bigEndian32(quint32(data.size())) + body + bigEndian32(crc);
}

qsizetype chunkAt(const QByteArray &png, const QByteArray &type)
{
    return png.indexOf(type) - 4;
}

// The PNG with the chunk `type` inserted before the chunk `before`.
QByteArray inserted(const QByteArray &png, const QByteArray &before, const QByteArray &added)
{
    QByteArray bytes = png;
    bytes.insert(chunkAt(png, before), added);
    return bytes;
}

QByteArray withLength(QByteArray png, const QByteArray &type, quint32 length)
{
    qToBigEndian(length, png.data() + chunkAt(png, type));
    return png;
}

QByteArray withBadCrc(QByteArray png, const QByteArray &type)
{
    const qsizetype at = chunkAt(png, type);
    const qsizetype crcAt = at + 8 + qFromBigEndian<quint32>(png.constData() + at);
    png[crcAt] = char(png.at(crcAt) ^ 0x55);
    return png;
}

// Eight by six RGBA pixels as PNG rows, each with the filter type given.
QByteArray rows(char filter)
{
    QByteArray bytes;
    for (int y = 0; y < 6; ++y) {
        bytes += filter;
        for (int x = 0; x < 8; ++x) {
            bytes += char(x * 31 + y * 7);
            bytes += char(x * 5);
            bytes += char(y * 40);
            bytes += char(255);
        }
    }
    return bytes;
}

QByteArray deflated(const QByteArray &raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress(reinterpret_cast<Bytef *>(out.data()), &size,
                 reinterpret_cast<const Bytef *>(raw.constData()), uLong(raw.size()))
        != Z_OK) {
        qFatal("compress failed");
    }
    out.truncate(qsizetype(size));
    return out;
}

// An 8 x 6 RGBA PNG of `raw` rows, or of the compressed `data` given, with `after` behind its IDAT.
QByteArray imagePng(const QByteArray &raw, const QByteArray &data = {},
                    const QByteArray &after = {})
{
    return QByteArray("\x89PNG\r\n\x1A\n", 8)
        + chunk("IHDR", bigEndian32(8) + bigEndian32(6) + "\x08\x06\0\0\0"_ba)
        + chunk("IDAT", data.isEmpty() ? deflated(raw) : data) + after + chunk("IEND", {});
}

// A PNG whose image data is one chunk of more than 4 MiB, as some writers make.
QByteArray oneLargeIdat()
{
    constexpr int width = 1100;
    constexpr int height = 1000;
    QByteArray raw;
    raw.reserve(height * (1 + width * 4));
    QRandomGenerator random(3);
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        QByteArray row(width * 4, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(row.data()), width);
        raw += row;
    }
    return QByteArray("\x89PNG\r\n\x1A\n", 8)
        + chunk("IHDR", bigEndian32(width) + bigEndian32(height) + "\x08\x06\0\0\0"_ba)
        + chunk("IDAT", deflated(raw)) + chunk("IEND", {});
}

QByteArray withHeader(const QByteArray &png, quint32 width, quint32 height, int bitDepth,
                      int colourType)
{
    QByteArray bytes = png;
    const QByteArray header = chunk("IHDR",
                                    bigEndian32(width) + bigEndian32(height) + char(bitDepth)
                                        + char(colourType) + '\0' + '\0' + '\0');
    bytes.replace(chunkAt(png, "IHDR"), header.size(), header);
    return bytes;
}
} // namespace

class TestPicture final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First, while the peak memory of the process is still small.
    void overlongChunkTakesNoMemory();
    void hugeFileOfZerosRefusedAtOnce();
    void everyKindAsQtReadsIt_data();
    void everyKindAsQtReadsIt();
    void centreOfALargePicture_data();
    void centreOfALargePicture();
    void refusedAsQtRefuses_data();
    void refusedAsQtRefuses();
    void sourceForTheScale_data();
    void sourceForTheScale();
    void missingPictureWithASharperOneBeside();
    void svgDrawnForTheScreen_data();
    void svgDrawnForTheScreen();
};

void TestPicture::everyKindAsQtReadsIt_data()
{
    QTest::addColumn<QByteArray>("png");
    // Small pictures are kept whole; large ones are cut to the button's part.
    for (const QSize size : {QSize(40, 30), QSize(301, 157)}) {
        const auto row = [size](const char *kind) -> QTestData & {
            return QTest::addRow("%s, %d x %d", kind, size.width(), size.height());
        };
        const int w = size.width();
        const int h = size.height();
        row("RGBA") << savedByQt(pattern(w, h, QImage::Format_ARGB32));
        row("RGB") << savedByQt(pattern(w, h, QImage::Format_RGB32));
        row("palette with transparency") << savedByQt(pattern(w, h, QImage::Format_Indexed8));
        row("grey") << savedByQt(pattern(w, h, QImage::Format_Grayscale8));
        row("16-bit grey") << savedByQt(pattern(w, h, QImage::Format_Grayscale16));
        row("16-bit RGBA") << savedByQt(pattern(w, h, QImage::Format_RGBA64));
        row("16-bit RGB") << savedByQt(pattern(w, h, QImage::Format_RGBX64));
        row("1-bit") << savedByQt(pattern(w, h, QImage::Format_Mono));
        row("interlaced RGBA") << savedBySpng(w, h, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, true,
                                              false);
        row("interlaced 16-bit grey with alpha")
            << savedBySpng(w, h, SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 16, true, false);
        row("RGB with a transparent colour")
            << savedBySpng(w, h, SPNG_COLOR_TYPE_TRUECOLOR, 8, false, true);
        row("interlaced grey with a transparent colour")
            << savedBySpng(w, h, SPNG_COLOR_TYPE_GRAYSCALE, 8, true, true);
    }
}

void TestPicture::everyKindAsQtReadsIt()
{
    QFETCH(QByteArray, png);
    const QImage expected = readByQt(png);
    QVERIFY(!expected.isNull());
    const auto file = written(png);
    const Picture picture = Picture::load(file->path, area100);
    QCOMPARE(picture.size(), expected.size());
    for (const QSize area : {area100, area150}) {
        const PicturePart part = picture.part(area);
        const QRect region(part.offset, part.image.size());
        QCOMPARE(region, centredRegion(expected.size(), area));
        QCOMPARE(samplesOf(part.image), samplesOf(expected.copy(region)));
    }
}

void TestPicture::centreOfALargePicture_data()
{
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QRect>("region");
    // 2400 x 1600 pixels: the part is the centre, whole device pixels from the middle.
    QTest::newRow("100 %") << area100 << QRect(1138, 774, 123, 51);
    QTest::newRow("150 %") << area150 << QRect(1110, 764, 180, 72);
}

void TestPicture::centreOfALargePicture()
{
    QFETCH(QSize, area);
    QFETCH(QRect, region);
    static const QByteArray png = savedByQt(pattern(2400, 1600, QImage::Format_ARGB32));
    const QImage whole = readByQt(png);
    const auto file = written(png);
    const Picture picture = Picture::load(file->path, area100);
    QCOMPARE(picture.size(), QSize(2400, 1600));
    const PicturePart part = picture.part(area);
    QCOMPARE(QRect(part.offset, part.image.size()), region);
    QCOMPARE(samplesOf(part.image), samplesOf(whole.copy(region)));
    // The part kept for the area loaded with, and one decoded again from the file for another,
    // are the same pixels whether or not the file is still there.
    QVERIFY(QFile::remove(file->path));
    for (const QSize smaller : {area100, QSize(60, 20)}) {
        QCOMPARE(samplesOf(picture.part(smaller).image),
                 samplesOf(whole.copy(centredRegion(whole.size(), smaller))));
    }
}

void TestPicture::refusedAsQtRefuses_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<QString>("reason"); // empty for a picture that is shown
    QTest::addColumn<bool>("asQt"); // whether Qt's reader says the same
    const auto row
        = [](const char *name, const QByteArray &png, const QString &reason, bool asQt = true) {
              QTest::newRow(name) << png << reason << asQt;
          };

    const QByteArray good = savedByQt(pattern(40, 30, QImage::Format_ARGB32));
    const QString unreadable = u"Unable to read image data"_s;
    const QByteArray text = chunk("tEXt", "Title\0Button"_ba);
    const quint32 twoGiB = 0x7FFFFFF0;
    row("IDAT CRC", withBadCrc(good, "IDAT"), unreadable);
    row("cut in the middle of IDAT", good.left(good.size() / 2), unreadable);
    row("bad Adler-32",
        withBadCrc(
            [&] {
                // The last byte of the zlib stream, which ends the IDAT data, is its checksum's.
                QByteArray bytes = good;
                const qsizetype at = chunkAt(bytes, "IDAT");
                const qsizetype last = at + 8 + qFromBigEndian<quint32>(bytes.constData() + at) - 1;
                bytes[last] = char(bytes.at(last) ^ 0x01);
                const QByteArray data = bytes.mid(at + 8, last - at - 7);
                return bytes.replace(at, data.size() + 12, chunk("IDAT", data));
            }(),
            "IEND"),
        unreadable);
    row("1000001 x 1", withHeader(good, 1000001, 1, 8, 6), unreadable);
    row("30000 x 30000", withHeader(good, 30000, 30000, 8, 6),
        u"30000 x 30000 pixels, more than a picture may take"_s);
    // Qt's reader would take more than its limit for the 16-bit samples of these.
    row("16-bit RGBA of 5000 x 4000", withHeader(good, 5000, 4000, 16, 6), unreadable);
    row("tEXt before IDAT announcing 2 GiB",
        withLength(inserted(good, "IDAT", text), "tEXt", twoGiB), unreadable);
    row("tEXt after IDAT announcing 2 GiB",
        withLength(inserted(good, "IEND", text), "tEXt", twoGiB), unreadable);
    row("IHDR announcing 2 GiB", withLength(good, "IHDR", twoGiB), unreadable);
    row("IDAT announcing 2 GiB", withLength(good, "IDAT", twoGiB), unreadable);
    // The size a header declares is reported first, whatever follows.
    row("30000 x 30000 with IDAT announcing 2 GiB",
        withLength(withHeader(good, 30000, 30000, 8, 6), "IDAT", twoGiB),
        u"30000 x 30000 pixels, more than a picture may take"_s);
    // A file of over 1 MiB is read from the disk as it is decoded, and checked to its end all
    // the same.
    QImage noise(800, 400, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32 *>(noise.bits()), noise.width() * noise.height());
    const QByteArray large = savedByQt(noise);
    QVERIFY(large.size() > 1024 * 1024);
    row("over 1 MiB with tEXt after IDAT announcing 2 GiB",
        withLength(inserted(large, "IEND", text), "tEXt", twoGiB), unreadable);
    row("over 1 MiB, good", large, QString());
    // Qt's reader takes these, and so does the launcher.
    row("ancillary chunk CRC", withBadCrc(inserted(good, "IDAT", text), "tEXt"), QString());
    row("a byte after IEND", good + '\0', QString());
    row("a chunk after IEND", good + text, QString());
    row("an unknown ancillary chunk", inserted(good, "IDAT", chunk("anCl", "x")), QString());
    row("a palette in an RGBA picture", inserted(good, "IDAT", chunk("PLTE", QByteArray(9, '\0'))),
        QString());
    row("sRGB of a wrong length", inserted(good, "IDAT", chunk("sRGB", QByteArray(2, '\0'))),
        QString());
    row("an empty IDAT first", inserted(good, "IDAT", chunk("IDAT", {})), QString());
    row("pixels a byte long", imagePng(rows(0) + '\0'), QString());
    row("data after the zlib stream", imagePng({}, deflated(rows(0)) + "junk"), QString());
    row("one IDAT over the ancillary chunk limit", oneLargeIdat(), QString());
    // Qt's reader refuses these, and so does the launcher.
    row("no IEND", good.chopped(12), unreadable);
    row("a second IHDR", inserted(good, "IDAT", good.mid(chunkAt(good, "IHDR"), 25)), unreadable);
    row("an unknown critical chunk", inserted(good, "IDAT", chunk("CRIT", "x")), unreadable);
    row("filter type 5", imagePng(rows(5)), unreadable);
    row("pixels a byte short", imagePng(rows(0).chopped(1)), unreadable);
    row("no IDAT", good.left(chunkAt(good, "IDAT")) + chunk("IEND", {}), unreadable);
    row(
        "a text chunk between two IDAT",
        [&] {
            const QByteArray data = deflated(rows(0));
            return imagePng({}, data.left(10),
                            chunk("tEXt", "a\0b"_ba) + chunk("IDAT", data.mid(10)));
        }(),
        unreadable);
    // The one PNG Qt's reader refuses that the launcher shows: every row is there, but the
    // compressed data stops without its end (libspng reads no further than the last row).
    row("zlib stream a byte short", imagePng({}, deflated(rows(0)).chopped(1)), QString(), false);
}

void TestPicture::refusedAsQtRefuses()
{
    QFETCH(QByteArray, png);
    QFETCH(QString, reason);
    QFETCH(bool, asQt);
    const auto file = written(png);
    const std::optional<RuntimeError> error = refusal(file->path);
    if (reason.isEmpty()) {
        QVERIFY2(!error, error ? qPrintable(error->description()) : "");
        QCOMPARE(!readByQt(png).isNull(), asQt);
        return;
    }
    QVERIFY2(error, "a picture Qt's reader refuses was loaded");
    QCOMPARE(
        error->description(),
        RuntimeError::withPath(RuntimeError::InvalidPicture, reason, file->path).description());
    // Qt's reader would allocate and clear the gigabytes that a text chunk announces.
    if (reason == u"Unable to read image data" && !png.contains("tEXt")) {
        QVERIFY(readByQt(png).isNull());
    }
}

void TestPicture::hugeFileOfZerosRefusedAtOnce()
{
    // A signature followed by 4 GiB of zeros, sparse on the disk, is refused without being walked.
    const auto file = written(QByteArray("\x89PNG\r\n\x1A\n", 8));
    QFile resized(file->path);
    if (!resized.resize(qint64(4) << 30)) {
        QSKIP("the file system holds no sparse file of 4 GiB");
    }
    finishesInTime([path = file->path] { (void)refusal(path); });
    QVERIFY(refusal(file->path));
}

void TestPicture::overlongChunkTakesNoMemory()
{
    // Were the text chunk's announced 2 GiB allocated and cleared, the peak would pass 2 GiB.
    const QByteArray good = savedByQt(pattern(40, 30, QImage::Format_ARGB32));
    const auto file = written(
        withLength(inserted(good, "IEND", chunk("tEXt", "Title\0Button"_ba)), "tEXt", 0x7FFFFFF0));
    const qint64 before = peakMemoryKiB();
    if (before < 0) {
        QSKIP("this system does not tell a process's peak memory");
    }
    QVERIFY(refusal(file->path));
    QCOMPARE_LT(peakMemoryKiB() - before, 64 * 1024);
}

void TestPicture::sourceForTheScale_data()
{
    // The files beside "pic.png" (90 x 30 pixels) by their suffix, each a plain colour; which of
    // them a button shows at a device pixel ratio, and how many device pixels its part then has.
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QStringList>("sharper");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QSize>("pixels");
    const QStringList both{u"@2x"_s, u"@3x"_s};
    QTest::newRow("100 %, @2x beside") << 1.0 << QStringList{u"@2x"_s} << u""_s << QSize(90, 30);
    QTest::newRow("150 %, @2x beside")
        << 1.5 << QStringList{u"@2x"_s} << u"@2x"_s << QSize(180, 60);
    QTest::newRow("200 %, nothing beside") << 2.0 << QStringList() << u""_s << QSize(90, 30);
    QTest::newRow("200 %, @2x and @3x beside") << 2.0 << both << u"@2x"_s << QSize(180, 60);
    QTest::newRow("300 %, @2x and @3x beside") << 3.0 << both << u"@3x"_s << QSize(270, 90);
    QTest::newRow("300 %, @2x beside")
        << 3.0 << QStringList{u"@2x"_s} << u"@2x"_s << QSize(180, 60);
    // A sharper file that is no picture is passed over.
    QTest::newRow("200 %, a broken @2x beside")
        << 2.0 << QStringList{u"@2x broken"_s} << u""_s << QSize(90, 30);
}

void TestPicture::sourceForTheScale()
{
    QFETCH(qreal, ratio);
    QFETCH(QStringList, sharper);
    QFETCH(QString, shown);
    QFETCH(QSize, pixels);
    QTemporaryDir folder;
    const auto colourOf = [](const QString &suffix) {
        return QColor::fromHsv(int(qHash(suffix) % 360), 200, 200).rgb();
    };
    const auto save = [&](const QString &suffix, int scale) {
        QImage image(QSize(90, 30) * scale, QImage::Format_RGB32);
        image.fill(colourOf(suffix));
        return image.save(folder.filePath(u"pic"_s + suffix + u".png"_s));
    };
    QVERIFY(save(u""_s, 1));
    for (const QString &suffix : sharper) {
        if (suffix.endsWith(u" broken"_s)) {
            QFile file(folder.filePath(u"pic"_s + suffix.section(u' ', 0, 0) + u".png"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x89PNG\r\n\x1A\n") > 0);
        } else {
            QVERIFY(save(suffix, suffix.mid(1, 1).toInt()));
        }
    }
    const Picture picture = Picture::load(folder.filePath(u"pic.png"_s), area100, ratio);
    QCOMPARE(picture.size(), QSize(90, 30));
    const PicturePart part = picture.shownPart();
    QCOMPARE(part.image.size(), pixels);
    QCOMPARE(part.scale, qreal(pixels.width() / 90));
    QCOMPARE(part.image.pixel(5, 5), colourOf(shown));
}

void TestPicture::missingPictureWithASharperOneBeside()
{
    // The descriptor names the picture; a sharper file alone does not stand in for it.
    QTemporaryDir folder;
    QImage image(180, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(folder.filePath(u"pic@2x.png"_s)));
    QVERIFY_THROWS_EXCEPTION(RuntimeError,
                             Picture::load(folder.filePath(u"pic.png"_s), area100, 2.0));
}

void TestPicture::svgDrawnForTheScreen_data()
{
    // The SVG's own size, the device pixel ratio, and the device pixels drawn.
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("90 x 30 at 100 %") << QSize(90, 30) << 1.0 << QSize(90, 30);
    QTest::newRow("90 x 30 at 150 %") << QSize(90, 30) << 1.5 << QSize(135, 45);
    QTest::newRow("90 x 30 at 200 %") << QSize(90, 30) << 2.0 << QSize(180, 60);
    // Only the centre the button shows is drawn.
    QTest::newRow("30000 x 30000 at 200 %") << QSize(30000, 30000) << 2.0 << area100 * 2;
}

void TestPicture::svgDrawnForTheScreen()
{
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    const QString svg = u"<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2'>"
                        "<rect width='%1' height='%2' fill='#ff0000'/></svg>"_s.arg(size.width())
                            .arg(size.height());
    const auto file = written(svg.toUtf8());
    const Picture picture = Picture::load(file->path, area100, ratio);
    QCOMPARE(picture.size(), size);
    const PicturePart part = picture.shownPart();
    QCOMPARE(part.image.size(), pixels);
    QCOMPARE(part.scale, ratio);
    QCOMPARE(part.image.pixel(pixels.width() / 2, pixels.height() / 2), qRgb(255, 0, 0));
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
