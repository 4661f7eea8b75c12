// A launch button shows the centre of a picture larger than itself pixel for pixel, at whatever
// scale the screen has (ctest runs this at 100 % and at 150 %), although only that centre is ever
// decoded.

#include "pictures/picture.h"
#include "widgets/colourbutton.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// Every pixel tells where it lies: x and y in red, green and the low and high halves of blue.
QRgb coded(int x, int y)
{
    return qRgb(x & 255, y & 255, ((x >> 8) & 15) | ((y >> 8) << 4));
}

QPoint decoded(QRgb pixel)
{
    return {qRed(pixel) | (qBlue(pixel) & 15) << 8, qGreen(pixel) | (qBlue(pixel) >> 4) << 8};
}
} // namespace

class TestColourButton final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheCentreOfALargePicture_data();
    void showsTheCentreOfALargePicture();
    void coversAsManyLogicalPixelsAsThePictureHas_data();
    void coversAsManyLogicalPixelsAsThePictureHas();
    void drawnAgainForANewScale();
};

void TestColourButton::showsTheCentreOfALargePicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("wider and taller than the button") << QSize(1201, 800) << false;
    QTest::newRow("wider only") << QSize(900, 30) << false;
    // A pressed button shows its picture a pixel lower and to the right.
    QTest::newRow("pressed") << QSize(1201, 800) << true;
}

void TestColourButton::showsTheCentreOfALargePicture()
{
    QFETCH(QSize, size);
    QFETCH(bool, pressed);
    QImage whole(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(whole.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = coded(x, y);
        }
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(u"large.png"_s);
    QVERIFY(whole.save(path));

    // The launch button's size in the design, at 96 dpi.
    ColourButton button(0, nullptr);
    button.resize(113, 41);
    const qreal ratio = button.devicePixelRatioF();
    button.setPicture(Picture::load(path, ColourButton::pictureArea(button.size(), ratio)));
    button.setDown(pressed);
    const QImage shown = button.grab().toImage();
    QCOMPARE(shown.size(), (QSizeF(button.size()) * ratio).toSize());

    // Inside the button's border, where the picture covers it, each device pixel shows the
    // picture's pixel at one and the same offset: unscaled, and from the picture's centre.
    const QRect inside = QRect(QPoint(0, 0), shown.size()).adjusted(3, 3, -3, -3);
    const QPoint at = decoded(shown.pixel(inside.center()));
    const QPoint offset = at - inside.center();
    const QPointF centred
        = QPointF(size.width() - shown.width(), size.height() - shown.height()) / 2
        - (pressed ? QPointF(ratio, ratio) : QPointF());
    QVERIFY2(qAbs(offset.x() - centred.x()) <= 1 && qAbs(offset.y() - centred.y()) <= 1,
             qPrintable(u"offset %1,%2"_s.arg(offset.x()).arg(offset.y())));
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QPoint source = QPoint(x, y) + offset;
            if (!whole.rect().contains(source)) {
                continue;
            }
            QCOMPARE(shown.pixel(x, y), coded(source.x(), source.y()));
        }
    }
}

void TestColourButton::coversAsManyLogicalPixelsAsThePictureHas_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger than the button") << QSize(200, 60);
    QTest::newRow("smaller than the button") << QSize(90, 30);
}

void TestColourButton::coversAsManyLogicalPixelsAsThePictureHas()
{
    QFETCH(QSize, size);
    // Red and green tell x and y, so that smooth scaling, which blends neighbours, still tells
    // where a pixel came from.
    QImage whole(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            whole.setPixel(x, y, qRgb(x, y, 255));
        }
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(u"picture.png"_s);
    QVERIFY(whole.save(path));

    ColourButton button(0, nullptr);
    button.resize(113, 41);
    const qreal ratio = button.devicePixelRatioF();
    // Loaded as on a screen at 100 %, then shown on this one, with the file gone: a change of
    // scale must make do with what was loaded.
    button.setPicture(Picture::load(path, ColourButton::pictureArea(button.size(), 1)));
    QVERIFY(QFile::remove(path));
    const QImage shown = button.grab().toImage();

    const QPointF topLeft
        = QRectF(button.rect()).center() - QPointF(size.width(), size.height()) / 2;
    const QRectF inside = QRectF(button.rect()).adjusted(3, 3, -3, -3)
        & QRectF(topLeft, QSizeF(size)).adjusted(2, 2, -2, -2);
    for (qreal y = inside.top(); y <= inside.bottom(); y += 0.5) {
        for (qreal x = inside.left(); x <= inside.right(); x += 0.5) {
            const QPoint device = (QPointF(x, y) * ratio).toPoint();
            const QRgb pixel = shown.pixel(device);
            const QPointF expected = QPointF(device) / ratio - topLeft;
            QVERIFY2(qAbs(qRed(pixel) - expected.x()) <= 1.5
                         && qAbs(qGreen(pixel) - expected.y()) <= 1.5,
                     qPrintable(u"at %1,%2 the picture's %3,%4"_s.arg(x)
                                    .arg(y)
                                    .arg(qRed(pixel))
                                    .arg(qGreen(pixel))));
        }
    }
}

void TestColourButton::drawnAgainForANewScale()
{
    // A large SVG of two halves, drawn for a screen at 100 % and then shown on this one: at once,
    // scaled, and then, without a file read in the paint, drawn again with a sharp edge between
    // the halves.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"picture.svg"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<svg xmlns='http://www.w3.org/2000/svg' width='4000' height='4000'>"
               "<rect width='2000' height='4000' fill='#ff0000'/>"
               "<rect x='2000' width='2000' height='4000' fill='#0000ff'/></svg>");
    file.close();

    ColourButton button(0, nullptr);
    button.resize(113, 41);
    const qreal ratio = button.devicePixelRatioF();
    button.setPicture(Picture::load(path, ColourButton::pictureArea(button.size(), 1)));
    QVERIFY(!button.grab().isNull());
    const QPoint centre = (QPointF(button.rect().center()) * ratio).toPoint();
    const auto sharp = [&] {
        const QImage shown = button.grab().toImage();
        for (int x = centre.x() - 8; x < centre.x() + 8; ++x) {
            const QRgb pixel = shown.pixel(x, centre.y());
            if (pixel != qRgb(255, 0, 0) && pixel != qRgb(0, 0, 255)) {
                return false;
            }
        }
        return true;
    };
    QTRY_VERIFY(sharp());
}

QTEST_MAIN(TestColourButton)
#include "tst_colourbutton.moc"
