#include "twips.h"

#include <QWidget>

#include <cmath>

int twipsToPixels(int twips, qreal logicalDpi)
{
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int pixelsToTwips(int pixels, qreal logicalDpi)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

QRect designRect(const ControlDesign &design, qreal logicalDpi)
{
    return {twipsToPixels(design.left, logicalDpi), twipsToPixels(design.top, logicalDpi),
            twipsToPixels(design.width, logicalDpi), twipsToPixels(design.height, logicalDpi)};
}

qreal designDpi(const QWidget *widget)
{
    return widget->logicalDpiY();
}

void placeControl(QWidget *widget, const ControlDesign &design)
{
    widget->setGeometry(designRect(design, designDpi(widget)));
}
