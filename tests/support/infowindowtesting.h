#pragma once

#include "infowin/infowindow.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
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

// The design control a user sees at a point of the design, in twips.
inline QString controlSeenAt(const QWidget *window, QPoint twips)
{
    return controlAt(window, pixelsAt(window, twips.x(), twips.y()));
}

// The colour a user sees at a point of the design, in twips.
inline QRgb colourSeenAt(QWidget *window, QPoint twips)
{
    return window->grab().toImage().pixel(pixelsAt(window, twips.x(), twips.y()));
}

// A label shows all of its text within its designed box.
inline void verifyTextFits(const QLabel *label)
{
    QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
             qPrintable(QStringLiteral("%1 needs %2 pixels, has %3")
                            .arg(label->objectName())
                            .arg(label->heightForWidth(label->width()))
                            .arg(label->height())));
}

// Shutdown unloads every loaded window, also one that is shown.
inline void verifyUnloadEndsTheModalShow(InfoWindow &window)
{
    whileShown(window, [&] { window.unload(); });
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isLoaded());
}

// Escape neither hides nor unloads the window; `clickOk` then ends the show.
inline void verifyEscapeKeepsTheWindow(InfoWindow &window, const std::function<void()> &clickOk)
{
    bool shownAfterEscape = false;
    whileShown(window, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        shownAfterEscape = window.isVisible() && window.isLoaded();
        clickOk();
    });
    QVERIFY(shownAfterEscape);
}
