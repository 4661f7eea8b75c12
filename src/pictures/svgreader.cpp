#include "pictures/svgreader.h"

#include "pictures/picturepart.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cmath>

using namespace Qt::StringLiterals;

namespace
{
// Far beyond what a drawn button picture holds, and far below what would make drawing it take
// noticeable time or the renderer's recursion a danger to the stack.
constexpr int maxDepth = 64;
constexpr int maxElements = 20000;
// Each <use> may draw a group that holds others: few of them keep that fan-out small.
constexpr int maxUses = 16;
// A side longer than this is no button picture.
constexpr qreal maxSide = 32767;

QString refusalOf(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    int depth = 0;
    int elements = 0;
    int uses = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return QCoreApplication::translate("Picture", "the SVG declares a document type");
        case QXmlStreamReader::EntityReference:
            return QCoreApplication::translate("Picture", "the SVG refers to an entity");
        case QXmlStreamReader::StartElement:
            if (++depth > maxDepth) {
                return QCoreApplication::translate("Picture",
                                                   "the SVG nests more than %1 elements deep")
                    .arg(maxDepth);
            }
            if (++elements > maxElements) {
                return QCoreApplication::translate("Picture", "the SVG holds more than %1 elements")
                    .arg(maxElements);
            }
            if (depth == 1) {
                // The size the document declares, checked before Qt SVG turns it into whole
                // pixels.
                const QXmlStreamAttributes root = xml.attributes();
                QList<QStringView> sides{root.value(u"width"_s), root.value(u"height"_s)};
                const QList<QStringView> box
                    = root.value(u"viewBox"_s)
                          .split(QRegularExpression(u"[\\s,]+"_s), Qt::SkipEmptyParts);
                sides += box.mid(2);
                for (QStringView side : sides) {
                    const qsizetype end = side.indexOf(QRegularExpression(u"[^0-9.eE+-]"_s));
                    bool number = false;
                    const double value = side.left(end < 0 ? side.size() : end).toDouble(&number);
                    if ((!number && end != 0) || !(std::abs(value) <= maxSide)) {
                        return QCoreApplication::translate("Picture",
                                                           "the SVG declares a side of %1 pixels, "
                                                           "more than a picture may take")
                            .arg(side);
                    }
                }
            }
            if (xml.name() == u"use" && ++uses > maxUses) {
                return QCoreApplication::translate("Picture",
                                                   "the SVG repeats shapes more than %1 times")
                    .arg(maxUses);
            }
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                // Only its own elements: a file, an address or an embedded picture is refused.
                if (attribute.name() == u"href" && !attribute.value().startsWith(u'#')) {
                    return QCoreApplication::translate("Picture",
                                                       "the SVG names a resource outside itself");
                }
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        return QCoreApplication::translate("Picture", "the SVG is not well-formed: %1")
            .arg(xml.errorString());
    }
    return {};
}
} // namespace

bool isSvg(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    return format == "svg" || format == "svgz";
}

SvgRead readSvg(const QByteArray &bytes, QSize area, qreal ratio)
{
    SvgRead read;
    if (bytes.startsWith("\x1F\x8B")) {
        // A few kilobytes of compressed text can stand for gigabytes.
        read.refusal = QCoreApplication::translate("Picture", "a compressed SVG is not taken");
        return read;
    }
    read.refusal = refusalOf(bytes);
    if (!read.refusal.isEmpty()) {
        return read;
    }
    QSvgRenderer renderer(bytes);
    read.size = renderer.defaultSize();
    if (!renderer.isValid() || read.size.isEmpty()) {
        read.refusal = QCoreApplication::translate("Picture", "the SVG cannot be drawn");
        return read;
    }
    const QRect region = centredRegion(read.size, area);
    const QSize pixels(int(std::ceil(region.width() * ratio)),
                       int(std::ceil(region.height() * ratio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        read.refusal = QCoreApplication::translate("Picture", "the SVG cannot be drawn");
        return read;
    }
    image.fill(Qt::transparent);
    // Without a GUI application there are no fonts to draw text with, and nothing to show it on:
    // a suite checked without a display has its SVG read and measured, but not drawn.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QPainter painter(&image);
        painter.scale(ratio, ratio);
        painter.translate(-region.topLeft());
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(read.size)));
    }
    read.part = {image, (QPointF(region.topLeft()) * ratio).toPoint(), ratio};
    return read;
}
