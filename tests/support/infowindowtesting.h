#pragma once

#include "infowindow.h"
#include "twips.h"

#include <QTest>
#include <QTimer>

#include <functional>

// Shows the window modally as the Help menu does and runs `during` once it is up. `during` must
// end the show (OK, close, unload); if it does not, the window is hidden so that the test fails
// instead of hanging.
inline void whileShown(InfoWindow &window, const std::function<void()> &during)
{
    bool ran = false;
    bool leftOpen = false;
    QTimer::singleShot(0, &window, [&] {
        ran = true;
        during();
        if (window.isVisible()) {
            leftOpen = true;
            window.hide();
        }
    });
    window.showModal();
    QVERIFY(ran);
    QVERIFY2(!leftOpen, "the window was still shown");
}

// A point of a window's design, in pixels.
inline QPoint pixelsAt(const QWidget *window, int leftTwips, int topTwips)
{
    const qreal dpi = designDpi(window);
    return {twipsToPixels(leftTwips, dpi), twipsToPixels(topTwips, dpi)};
}

// The design control under `point`, not a scroll area's viewport or other inner parts.
inline QString controlAt(const QWidget *window, QPoint point)
{
    for (const QWidget *widget = window->childAt(point); widget; widget = widget->parentWidget()) {
        if (!widget->objectName().isEmpty()
            && !widget->objectName().startsWith(QStringLiteral("qt_"))) {
            return widget->objectName();
        }
    }
    return {};
}
