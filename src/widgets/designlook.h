#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

class QWidget;

// The fonts and colours the window designs name. MS Sans Serif and Arial are used where the system
// has them; Liberation Sans stands in for both elsewhere, having Arial's metrics and being narrow
// enough for the designed widths.
enum class DesignFace { Dialog, Arial };
QFont designFont(qreal points, bool bold = false, DesignFace face = DesignFace::Dialog);

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);

// Pictures of the program's own, all PNG: decoded with the button pictures' PNG decoder rather than
// Qt's image reader, which would load every image format plugin, and a JPEG library, at start-up
// to ask each about the file.
QPixmap pngPicture(const QString &path);
QIcon pngIcon(const QString &path);
