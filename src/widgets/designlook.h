#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// The fonts and colours the window designs name. MS Sans Serif and Arial are used where the system
// has them; Liberation Sans stands in for both elsewhere, having Arial's metrics and being narrow
// enough for the designed widths.
enum class DesignFace { Dialog, Arial };
QFont designFont(qreal points, bool bold = false, DesignFace face = DesignFace::Dialog);

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
