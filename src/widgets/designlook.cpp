#include "widgets/designlook.h"

#include "pictures/picture.h"

#include <QFile>
#include <QWidget>

using namespace Qt::StringLiterals;

QFont designFont(qreal points, bool bold, DesignFace face)
{
    QFont font;
    if (face == DesignFace::Arial) {
        font.setFamilies({u"Arial"_s, u"Liberation Sans"_s});
    } else {
        font.setFamilies({u"MS Sans Serif"_s, u"Arial"_s, u"Liberation Sans"_s});
    }
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QPixmap pngPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QPixmap::fromImage(decodePicture(file.readAll()));
}

QIcon pngIcon(const QString &path)
{
    return QIcon(pngPicture(path));
}
