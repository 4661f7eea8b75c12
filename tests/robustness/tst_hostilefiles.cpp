// Hostile descriptors and pictures beside a good component. Each start-up runs in a process of
// its own (robustness.h): it must end by itself, list what is good, report each bad file in one
// box that names it, open no special file, and stay within a few megabytes of the memory an empty
// suite takes.

#include "robustness.h"
#include "support/suitebuilder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
enum class Special { None, Fifo, Socket, LinkToZeroDevice, Folder, LinkToFifo, LinkLoop };

const QByteArray hostileDescriptor
    = "NAME:Hostile\r\nIMG:pic.png\r\nEXE:run\r\nDESC:A component.\r\n";

QByteArray garbage(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &byte : bytes) {
        byte = char(random.bounded(256));
    }
    return bytes;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) {
        qFatal("cannot encode %s", format);
    }
    return bytes;
}

QImage sample()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
        }
    }
    return image;
}

// An 8 x 8 GIF with its trailer; Qt writes no GIF.
const QByteArray smallGif = QByteArray::fromHex("47494638396108000800f00000ff00000000ff21f904000000"
                                                "00002c0000000008000800000208847f81cbed8fd42b003b");

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray bigEndian32(quint32 value)
{
    return QByteArray(1, char(value >> 24)) + char(value >> 16) + char(value >> 8) + char(value);
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian32(quint32(data.size())) + type + data + bigEndian32(crc32(type + data));
}

// A PNG whose header claims 30000 x 30000 RGBA pixels (3.6 GB), with a few bytes of data.
QByteArray pngBombHeader()
{
    const QByteArray header
        = bigEndian32(30000) + bigEndian32(30000) + QByteArray::fromHex("0806000000");
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray::fromHex("789c63000000010001")) + pngChunk("IEND", {});
}

// A complete, valid PNG of 30000 x 30000 one-bit pixels: 110 KB on disk, gigabytes once shown.
QByteArray pngBombComplete()
{
    QImage image(30000, 30000, QImage::Format_Mono);
    image.fill(0);
    return encoded(image, "PNG");
}

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i) {
        out += char(value >> (8 * i));
    }
    return out;
}

// A BMP of 30000 x 30000 pixels: `bitsPerPixel` 32 with a few bytes of pixels, or 8 with
// run-length coding, whose two bytes of data ("end of bitmap") make a complete file.
QByteArray bmpBomb(int bitsPerPixel)
{
    const bool coded = bitsPerPixel == 8;
    const QByteArray palette = coded ? QByteArray(256 * 4, '\0') : QByteArray();
    const QByteArray pixels = coded ? QByteArray("\0\1", 2) : QByteArray(16, '\x7f');
    const quint32 pixelsAt = 54 + quint32(palette.size());
    return "BM" + littleEndian(pixelsAt + quint32(pixels.size()), 4) + littleEndian(0, 4)
        + littleEndian(pixelsAt, 4) + littleEndian(40, 4) + littleEndian(30000, 4)
        + littleEndian(30000, 4) + littleEndian(1, 2) + littleEndian(quint32(bitsPerPixel), 2)
        + littleEndian(coded ? 1 : 0, 4) + littleEndian(quint32(pixels.size()), 4)
        + QByteArray(16, '\0') + palette + pixels;
}

// A real JPEG with the frame header changed to 30000 x 30000.
QByteArray jpegBombHeader()
{
    QByteArray bytes = encoded(sample(), "JPEG");
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    if (frame < 0) {
        qFatal("no baseline frame header");
    }
    bytes.replace(frame + 5, 4, QByteArray::fromHex("75307530"));
    return bytes;
}

QByteArray gifBombHeader()
{
    QByteArray bytes = smallGif;
    bytes.replace(6, 4, littleEndian(30000, 2) + littleEndian(30000, 2));
    const qsizetype image = bytes.indexOf(',');
    bytes.replace(image + 5, 4, littleEndian(30000, 2) + littleEndian(30000, 2));
    return bytes;
}

// An SVG of the button's size around `inside`.
QByteArray svg(const QByteArray &inside, const QByteArray &prolog = {})
{
    return prolog
        + "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'"
          " width='90' height='30'>"
        + inside + "</svg>";
}

// Ten entities, each ten of the one before: a billion copies of one word.
QByteArray svgLaughs()
{
    QByteArray prolog = "<!DOCTYPE svg [<!ENTITY l0 'lol'>";
    for (int i = 1; i < 10; ++i) {
        prolog += "<!ENTITY l" + QByteArray::number(i) + " '"
            + QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    }
    return svg("<text>&l9;</text>", prolog + "]>");
}

// Groups that each draw the one before ten times: ten billion rectangles.
QByteArray svgUses()
{
    QByteArray defs = "<defs><g id='g0'><rect width='1' height='1'/></g>";
    for (int i = 1; i < 10; ++i) {
        defs += "<g id='g" + QByteArray::number(i) + "'>"
            + QByteArray("<use xlink:href='#g" + QByteArray::number(i - 1) + "'/>").repeated(10)
            + "</g>";
    }
    return svg(defs + "</defs><use xlink:href='#g9'/>");
}

// A good component and the one under test, "Hostile", whose files the rows spoil.
void writeSuite(SuiteBuilder &suite)
{
    suite.addComponent(u"Good"_s, Qt::green);
    suite.writeDescriptor(u"Hostile"_s, hostileDescriptor);
    suite.writePicture(u"Hostile/pic.png"_s, Qt::red);
    suite.writeMarkerScript(u"Hostile/run"_s, {}, {});
}

// What every row asks of the start-up besides its own expectations.
void verifyBounded(const LoadReport &report)
{
    QVERIFY2(report.finished, qPrintable(report.failure));
    const LoadReport::Component *good = report.component(u"Good"_s);
    QVERIFY2(good, "the good component is not listed");
    QVERIFY(good->visible);
    QVERIFY(good->enabled);
    QVERIFY2(good->described, "hovering the good component does not show its description");
    QVERIFY2(!report.laterBoxes, "boxes came while the window was used after start-up");
    const qint64 empty = emptySuitePeakKb();
    QVERIFY(empty > 0);
    qInfo("peak memory %lld KiB, empty suite %lld KiB", report.peakKb, empty);
    if (!memoryFiguresMeaningful()) {
        return;
    }
    QVERIFY2(report.peakKb <= empty + memoryAllowanceKb,
             qPrintable(
                 u"peak %1 KiB against %2 KiB for an empty suite"_s.arg(report.peakKb).arg(empty)));
}

QString boxesText(const LoadReport &report)
{
    QStringList texts;
    for (const RecordingServices::Message &box : report.boxes) {
        texts.append(box.title + u": "_s + box.text.left(300));
    }
    return texts.join(u" | "_s);
}
} // namespace

class TestHostileFiles final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void descriptorThatIsNoPlainFile_data();
    void descriptorThatIsNoPlainFile();
    void descriptorContents_data();
    void descriptorContents();
    void pictures_data();
    void pictures();
};

void TestHostileFiles::initTestCase()
{
    QVERIFY2(emptySuitePeakKb() > 0, "the start-up on an empty suite gave no report");
    qInfo("empty suite: peak memory %lld KiB", emptySuitePeakKb());
}

void TestHostileFiles::descriptorThatIsNoPlainFile_data()
{
    QTest::addColumn<Special>("special");
    QTest::newRow("FIFO") << Special::Fifo;
    QTest::newRow("listening socket") << Special::Socket;
    QTest::newRow("link to /dev/zero") << Special::LinkToZeroDevice;
    QTest::newRow("folder") << Special::Folder;
    QTest::newRow("link to a FIFO elsewhere") << Special::LinkToFifo;
    QTest::newRow("link to itself") << Special::LinkLoop;
}

void TestHostileFiles::descriptorThatIsNoPlainFile()
{
    QFETCH(Special, special);
    SuiteBuilder suite;
    writeSuite(suite);
    const QString descriptor = suite.filePath(u"Hostile/kk.cfg"_s);
    QVERIFY(QFile::remove(descriptor));
    const QString elsewhere = suite.filePath(u"elsewhere"_s);
    QVERIFY(QDir().mkpath(elsewhere));
    QStringList watched{suite.filePath(u"Hostile"_s)};
    int socket = -1;
    switch (special) {
    case Special::Fifo:
        QVERIFY(makeFifo(descriptor));
        break;
    case Special::Socket:
        socket = makeListeningSocket(descriptor);
        QVERIFY(socket >= 0);
        break;
    case Special::LinkToZeroDevice:
        QVERIFY(QFile::link(u"/dev/zero"_s, descriptor));
        break;
    case Special::Folder:
        QVERIFY(QDir().mkpath(descriptor));
        watched << descriptor;
        break;
    case Special::LinkToFifo:
        QVERIFY(makeFifo(elsewhere + u"/fifo"_s));
        QVERIFY(QFile::link(elsewhere + u"/fifo"_s, descriptor));
        watched << elsewhere;
        break;
    case Special::LinkLoop:
        QVERIFY(QFile::link(descriptor, descriptor));
        break;
    case Special::None:
        break;
    }

    OpenWatch watch(watched);
    const LoadReport report = runLoad(suite.path());
    const QStringList opened = watch.opened();
    if (socket >= 0) {
        ::close(socket);
    }
    verifyBounded(report);
    QCOMPARE(report.folders(), QStringList{u"Good"_s});
    QVERIFY2(report.boxes.isEmpty(), qPrintable(boxesText(report)));
    for (const QString &path : opened) {
        QVERIFY2(!path.endsWith(u"/kk.cfg"_s) && !path.startsWith(descriptor)
                     && !path.startsWith(elsewhere),
                 qPrintable(u"opened: "_s + path));
    }
}

void TestHostileFiles::descriptorContents_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>(
        "boxSays"); // what the one box says, "%1" standing for the suite; empty for no box

    const QByteArray files = "IMG:pic.png\r\nEXE:run\r\n";
    const QString refused = u"%1/Hostile/kk.cfg"_s;
    QTest::newRow("NUL bytes in values and lines")
        << QByteArray("NAME:a\0b\r\nDESC:one\0two\r\nTIP:\0\r\n\0\0\0\r\n", 36) + files
        << QByteArray() << 0LL << QByteArray() << true << QString();
    QTest::newRow("invalid UTF-8")
        << QByteArray("NAME:\xC3\x28\xFF\xFE\r\nDESC:caf\xE9 \xF0\x28\x8C\x28\r\n") + files
        << QByteArray() << 0LL << QByteArray() << true << QString();
    QTest::newRow("binary garbage around good lines")
        << garbage(32 * 1024, 1) + "\r" + files << QByteArray() << 0LL
        << "\r" + garbage(32 * 1024, 2) << true << QString();
    QTest::newRow("binary garbage alone: no picture named")
        << garbage(64 * 1024, 3) << QByteArray() << 0LL << QByteArray() << false
        << u"%1/Hostile/"_s;
    QTest::newRow("CR-only line ends")
        << QByteArray("NAME:n\rIMG:pic.png\rEXE:run\rDESC:Lines end in CR.\r") << QByteArray()
        << 0LL << QByteArray() << true << QString();
    QTest::newRow("100 MB single line") << QByteArray("DESC:") << QByteArray(1024, 'x')
                                        << 100LL * 1024 << "\r\n" + files << false << refused;
    QTest::newRow("1,000,000 short lines")
        << files << QByteArray("DESC:x\r\n") << 1000000LL << QByteArray() << false << refused;
    QTest::newRow("1,000,000 empty lines, under the size limit")
        << files << QByteArray("\n") << 1000000LL << QByteArray() << true << QString();
    QTest::newRow("a megabyte of short key lines")
        << files << QByteArray("TIP:tip\r\n") << 116000LL << QByteArray() << true << QString();
    QTest::newRow("one line of almost a megabyte") << QByteArray("NAME:") << QByteArray(1000, 'n')
                                                   << 1000LL << "\r\n" + files << true << QString();
    QTest::newRow("DESC too long for the 16-bit counter")
        << files + "DESC:" << QByteArray("word ") << 8000LL << QByteArray("\r\n") << false
        << u"Overflow"_s;
}

void TestHostileFiles::descriptorContents()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, chunk);
    QFETCH(qint64, count);
    QFETCH(QByteArray, tail);
    QFETCH(bool, shown);
    QFETCH(QString, boxSays);
    SuiteBuilder suite;
    writeSuite(suite);
    writeRepeated(suite.filePath(u"Hostile/kk.cfg"_s), head, chunk, count, tail);

    const LoadReport report = runLoad(suite.path());
    verifyBounded(report);
    const LoadReport::Component *hostile = report.component(u"Hostile"_s);
    QVERIFY2(hostile, "a plain-file descriptor is a component, whatever it holds");
    QCOMPARE(hostile->visible, shown);
    if (boxSays.isEmpty()) {
        QVERIFY2(report.boxes.isEmpty(), qPrintable(boxesText(report)));
    } else {
        QCOMPARE(report.boxes.size(), 1);
        QVERIFY2(
            report.boxes.first().text.contains(QString(boxSays).replace(u"%1"_s, suite.path())),
            qPrintable(boxesText(report)));
        QCOMPARE(report.boxes.first().title, u"Error::Kestrelkit"_s);
    }
}

void TestHostileFiles::pictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Special>("special");
    QTest::addColumn<QString>("reason"); // a word the box gives as the reason

    const QByteArray png = encoded(sample(), "PNG");
    const QByteArray jpeg = encoded(sample(), "JPEG");
    const QByteArray bmp = encoded(sample(), "BMP");
    const QString cutShort = u"cut short"_s;
    QTest::newRow("truncated PNG")
        << u"pic.png"_s << png.left(png.size() * 6 / 10) << Special::None << u"Unable to read"_s;
    QTest::newRow("truncated JPEG")
        << u"pic.jpg"_s << jpeg.left(jpeg.size() * 9 / 10) << Special::None << cutShort;
    QTest::newRow("truncated GIF")
        << u"pic.gif"_s << smallGif.left(smallGif.size() - 6) << Special::None << cutShort;
    QTest::newRow("truncated BMP")
        << u"pic.bmp"_s << bmp.left(bmp.size() * 7 / 10) << Special::None << cutShort;
    QTest::newRow("JPEG without its last byte")
        << u"pic.jpg"_s << jpeg.chopped(1) << Special::None << cutShort;
    QTest::newRow("0 bytes") << u"pic.png"_s << QByteArray() << Special::None << u"Unsupported"_s;
    QTest::newRow("garbage") << u"pic.png"_s << garbage(4096, 4) << Special::None
                             << u"Unsupported"_s;
    QTest::newRow("unknown format (WebP)")
        << u"pic.webp"_s << QByteArray("RIFF\x24\0\0\0WEBPVP8 \x18\0\0\0", 20) + garbage(24, 5)
        << Special::None << u"Unsupported"_s;
    QTest::newRow("FIFO") << u"pic.png"_s << QByteArray() << Special::Fifo << u"not a plain file"_s;
    QTest::newRow("folder") << u"pic.png"_s << QByteArray() << Special::Folder
                            << u"not a plain file"_s;
    // Qt's reader would clear a buffer of the announced size before finding the file too short.
    QByteArray overlongText = png.left(33); // signature and header
    overlongText += QByteArray("\x7F\xFF\xFF\x00tEXtComment", 15) + '\0' + garbage(200, 6);
    QTest::newRow("PNG text chunk announcing 2 GiB")
        << u"pic.png"_s << overlongText << Special::None << u"Unable to read"_s;
    QTest::newRow("PNG header of 30000 x 30000")
        << u"pic.png"_s << pngBombHeader() << Special::None << u"30000 x 30000"_s;
    QTest::newRow("complete 1-bit PNG of 30000 x 30000")
        << u"pic.png"_s << pngBombComplete() << Special::None << u"30000 x 30000"_s;
    QTest::newRow("BMP header of 30000 x 30000")
        << u"pic.bmp"_s << bmpBomb(32) << Special::None << u"30000 x 30000"_s;
    QTest::newRow("complete run-length BMP of 30000 x 30000")
        << u"pic.bmp"_s << bmpBomb(8) << Special::None << u"30000 x 30000"_s;
    QTest::newRow("JPEG header of 30000 x 30000")
        << u"pic.jpg"_s << jpegBombHeader() << Special::None << u"30000 x 30000"_s;
    QTest::newRow("GIF header of 30000 x 30000")
        << u"pic.gif"_s << gifBombHeader() << Special::None << u"30000 x 30000"_s;
    QTest::newRow("SVG with a billion laughs")
        << u"pic.svg"_s << svgLaughs() << Special::None << u"document type"_s;
    QTest::newRow("SVG repeating a shape ten billion times")
        << u"pic.svg"_s << svgUses() << Special::None << u"repeats shapes"_s;
    QTest::newRow("SVG nested 100000 deep")
        << u"pic.svg"_s
        << svg(QByteArray("<g>").repeated(100000) + QByteArray("</g>").repeated(100000))
        << Special::None << u"nests"_s;
    QTest::newRow("SVG of 1e9 x 1e9")
        << u"pic.svg"_s
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='1e9' height='1e9'/>")
        << Special::None << u"more than a picture may take"_s;
    QTest::newRow("SVG drawing a file beside it")
        << u"pic.svg"_s << svg("<image width='90' height='30' xlink:href='../Good/pic.png'/>")
        << Special::None << u"outside itself"_s;
    QTest::newRow("SVG drawing a web address")
        << u"pic.svg"_s << svg("<image width='90' height='30' href='http://127.0.0.1:9/x.png'/>")
        << Special::None << u"outside itself"_s;
    QTest::newRow("compressed SVG")
        << u"pic.svgz"_s << QByteArray("\x1F\x8B\x08\0\0\0\0\0", 8) + garbage(4096, 7)
        << Special::None << u"compressed"_s;
    QTest::newRow("SVG larger than a megabyte")
        << u"pic.svg"_s << svg(QByteArray("<rect width='1' height='1'/>\n").repeated(40000))
        << Special::None << u"larger than"_s;
}

void TestHostileFiles::pictures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(Special, special);
    QFETCH(QString, reason);
    SuiteBuilder suite;
    writeSuite(suite);
    suite.writeDescriptor(u"Hostile"_s,
                          "NAME:Hostile\r\nIMG:" + name.toUtf8() + "\r\nEXE:run\r\nDESC:d\r\n");
    QFile::remove(suite.filePath(u"Hostile/pic.png"_s));
    const QString picture = suite.filePath(u"Hostile/"_s + name);
    if (special == Special::Fifo) {
        QVERIFY(makeFifo(picture));
    } else if (special == Special::Folder) {
        QVERIFY(QDir().mkpath(picture));
    } else {
        suite.writeFile(u"Hostile/"_s + name, content);
    }

    OpenWatch watch({suite.filePath(u"Hostile"_s)});
    const LoadReport report = runLoad(suite.path());
    const QStringList opened = watch.opened();
    verifyBounded(report);
    QCOMPARE(report.boxes.size(), 1);
    const RecordingServices::Message &box = report.boxes.first();
    QCOMPARE(box.title, u"Error::Kestrelkit"_s);
    QVERIFY2(box.text.contains(picture), qPrintable(box.text));
    QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    const LoadReport::Component *hostile = report.component(u"Hostile"_s);
    QVERIFY(hostile);
    QVERIFY2(!hostile->visible, "the button of a component without a picture is shown");
    if (special != Special::None) {
        QVERIFY2(!opened.contains(picture), "a picture that is no plain file was opened");
    }
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
