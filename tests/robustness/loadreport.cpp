// The launcher's start-up on one application folder, with its message boxes recorded instead of
// shown, reported as one JSON object on standard output: every box, every component with the
// state of its button, and the process's peak memory. Tests run it as a process of its own, so
// that a start-up which blocks is killed instead of hanging the test, a crash shows as a crash,
// the memory figure belongs to this start-up alone, and it can run as another user.
//
// Usage: kk_loadreport APPLICATION-FOLDER

#include "app/frmmain.h"
#include "panel/launchbuttons.h"
#include "suite/componentreading.h"
#include "support/recordingservices.h"
#include "widgets/descriptionbox.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
// The high-water mark of the resident set, in KiB.
qint64 peakResidentKb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression line(u"^VmHWM:\\s+(\\d+) kB"_s,
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

QJsonArray boxes(const QList<RecordingServices::Message> &messages, qsizetype from)
{
    QJsonArray list;
    for (qsizetype i = from; i < messages.size(); ++i) {
        const RecordingServices::Message &message = messages.at(i);
        list.append(QJsonObject{{u"text"_s, message.text},
                                {u"title"_s, message.title},
                                {u"critical"_s, message.icon == MessageIcon::Critical}});
    }
    return list;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kk_loadreport APPLICATION-FOLDER\n", stderr);
        return 2;
    }
    RecordingServices services;
    services.info.directory = QString::fromLocal8Bit(argv[1]);
    // As the launcher starts: the components are found and read while the window is built.
    auto reading = frmMain::startReading(services.info.directory);
    auto window = std::make_unique<frmMain>(services);
    window->load(std::move(reading));
    window->show();
    QCoreApplication::processEvents();
    const qsizetype afterLoad = services.messages.size();

    // The window still serves after whatever it met: hovering a component shows its description.
    // A sample suffices for a long list, as every hover repaints the whole column.
    LaunchButtons &buttons = window->launchButs();
    const QList<ComponentInfo> &records = window->components();
    QJsonArray components;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const auto index = static_cast<qint16>(i);
        bool described = true;
        if (i < 20 || i == records.size() - 1) {
            window->launchButsMouseMove(index);
            described = window->descTxt()->text() == records.at(i).desc;
        }
        components.append(
            QJsonObject{{u"folder"_s, records.at(i).folder},
                        {u"exe"_s, records.at(i).exe},
                        {u"visible"_s, i < buttons.count() && buttons.isVisible(index)},
                        {u"enabled"_s, i < buttons.count() && buttons.isEnabled(index)},
                        {u"described"_s, described}});
    }
    QCoreApplication::processEvents();

    const QJsonObject report{{u"boxes"_s, boxes(services.messages, 0)},
                             {u"laterBoxes"_s, afterLoad < services.messages.size()},
                             {u"components"_s, components},
                             {u"buttons"_s, qint64(buttons.count())},
                             {u"downEnabled"_s, window->downBut()->isEnabled()},
                             {u"peakKb"_s, peakResidentKb()}};
    const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}
