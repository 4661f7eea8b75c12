#include "widgets/twips.h"

#include <QWidget>

#include <cmath>

int twipsToPixels(int twips, qreal logicalDpi)
{
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

QRect designRect(const ControlDesign &design, qreal logicalDpi)
{
    return {twipsToPixels(design.left, logicalDpi), twipsToPixels(design.top, logicalDpi),
            twipsToPixels(design.width, logicalDpi), twipsToPixels(design.height, logicalDpi)};
}

const ControlDesign &designOf(std::span<const ControlDesign> design, QStringView name)
{
    for (const ControlDesign &control : design) {
        if (control.name == name) {
            return control;
        }
    }
    qFatal("no control named %s in the window's design", qPrintable(name.toString()));
}

qreal designDpi(const QWidget *widget)
{
    return widget->logicalDpiY();
}

void placeControl(QWidget *widget, const ControlDesign &design)
{
    widget->setGeometry(designRect(design, designDpi(widget)));
}
