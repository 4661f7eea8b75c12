#include "widgets/designlook.h"

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
