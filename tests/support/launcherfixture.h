#pragma once

#include "app/frmmain.h"
#include "panel/launchbuttons.h"
#include "suite/componentreading.h"
#include "support/recordingservices.h"
#include "support/suitebuilder.h"
#include "widgets/colourbutton.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QTest>

#include <memory>

// A main window on a suite of real component folders, with recording platform services.
struct LauncherFixture {
    SuiteBuilder suite;
    RecordingServices services;
    std::unique_ptr<frmMain> window;

    // Adds `count` complete components named "Comp00", "Comp01", ... with distinct colours.
    void addComponents(int count, const QString &marker = {})
    {
        for (int i = 0; i < count; ++i) {
            suite.addComponent(folderName(i), QColor::fromHsv((i * 37) % 360, 200, 200), marker);
        }
    }
    static QString folderName(int i)
    {
        return QStringLiteral("Comp%1").arg(i, 2, 10, QLatin1Char('0'));
    }

    // Loads and shows the window as start-up does, and waits until it is active.
    void start()
    {
        services.info.directory = suite.path();
        auto reading = frmMain::startReading(services.info.directory);
        window = std::make_unique<frmMain>(services);
        window->load(std::move(reading));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    LaunchButtons &buttons() const { return window->launchButs(); }
    // The widget that shows launch button `i`; the test fails when no place shows it.
    ColourButton *button(int i) const
    {
        ColourButton *widget = buttons().widgetOf(static_cast<qint16>(i));
        if (!widget) {
            qFatal("no place shows launch button %d", i);
        }
        return widget;
    }

    // The launch button a user sees in place `place` (0..4) of the column.
    QWidget *seenInPlace(int place) const
    {
        const ColourButton *first = buttons().placeWidget(0);
        QWidget *panel = first->parentWidget();
        const int spacing = twipsToPixels(600, designDpi(panel));
        const QPoint centre(first->x() + first->width() / 2,
                            first->y() + first->height() / 2 + place * spacing);
        return panel->childAt(centre);
    }
};
