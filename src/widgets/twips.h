#pragma once

#include <QRect>
#include <QStringView>

#include <span>

class QWidget;

// Window designs are written in twips (1/1440 inch), as the designer placed them. One conversion
// turns them into pixels for the screen's logical resolution: 15 twips a pixel at 96 dpi. Qt's own
// high-DPI scaling then takes the window to 125 %, 150 % or 200 %.
int twipsToPixels(int twips, qreal logicalDpi);

// One control of a window design: its object name, the object name of its container (empty for
// the window itself), and its place in twips.
struct ControlDesign {
    QStringView name;
    QStringView container;
    int left;
    int top;
    int width;
    int height;
};

QRect designRect(const ControlDesign &design, qreal logicalDpi);

// The control `name` of a window's design table. A name the table lacks is a fault of the program,
// which stops at once with the name, in every build.
const ControlDesign &designOf(std::span<const ControlDesign> design, QStringView name);

// The logical resolution that designs follow for `widget`.
qreal designDpi(const QWidget *widget);

// Places `widget` where `design` says.
void placeControl(QWidget *widget, const ControlDesign &design);
