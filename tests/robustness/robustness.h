#pragma once

// Helpers for the robustness tests: a start-up run in a process of its own and what it reports,
// special files, a watch on what gets opened, the records of the probe component, and counts of
// this process's descriptors and children.

#include "support/platformsupport.h"
#include "support/recordingservices.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What one run of the launcher's start-up reported (see loadreport.cpp).
struct LoadReport {
    struct Component {
        QString folder;
        bool visible = false;
        bool enabled = false;
        bool described = false;
    };

    bool finished = false; // ended by itself, within the bound, with exit code 0 and a report
    QString failure; // why not, with what the process wrote on standard error
    QList<RecordingServices::Message> boxes;
    bool laterBoxes = false; // boxes that came after the load, while the window was used
    QList<Component> components;
    qint64 buttons = 0;
    bool downEnabled = false;
    qint64 peakKb = 0;

    QStringList folders() const;
    const Component *component(const QString &folder) const;
};

// Runs the start-up on `directory` in its own process, behind `prefix` (a command that runs it
// as another user, say), and kills it when it has not ended after `boundSeconds`.
LoadReport runLoad(const QString &directory, const QStringList &prefix = {},
                   int boundSeconds = 180);

// The peak memory of a start-up on an empty application folder, measured once per test run.
qint64 emptySuitePeakKb();

// How much more than the empty suite a start-up may take, however hostile what it reads.
constexpr qint64 memoryAllowanceKb = 20 * 1024;

// False in a build with AddressSanitizer, whose quarantine keeps freed memory resident on purpose:
// there the figures measure the sanitizer, and only the ordinary build holds the bound.
bool memoryFiguresMeaningful();

// Writes `head`, then `chunk` `count` times, then `tail`, a megabyte at a time, so that a file of
// any size is made without holding it in memory.
void writeRepeated(const QString &path, const QByteArray &head, const QByteArray &chunk,
                   qint64 count, const QByteArray &tail = {});

// A Unix socket bound at `path` and listening; the descriptor, to close when done, or -1.
int makeListeningSocket(const QString &path);

// Reports the files opened in the watched folders (by name) or the watched files themselves,
// by any process, from its construction on.
class OpenWatch
{
public:
    explicit OpenWatch(const QStringList &paths);
    ~OpenWatch();
    Q_DISABLE_COPY_MOVE(OpenWatch)

    // "<watched path>/<name>" for an entry of a watched folder, "<watched path>" for a watched
    // file.
    QStringList opened();

private:
    int m_fd = -1;
    QMap<int, QString> m_paths;
};

// One start of the probe component: its arguments and its descriptors with their targets.
struct ProbeStart {
    QStringList arguments;
    QMap<int, QString> descriptors;
};
QList<ProbeStart> readProbeReport(const QString &path);
// A copy of the probe component at `path`, executable.
bool installProbe(const QString &path);
// A script at `path` that creates `pwned` when anything runs it.
void writeDecoy(const QString &path, const QString &pwned);

int openDescriptorCount();
// Children of this process that ended and were never waited for.
int zombieChildren();

// How to run a command without root's power over file permissions: nothing when the tests do
// not run as root, else setpriv as nobody or a new user namespace. `available` is false, with the
// reason, when neither can be used.
struct Unprivileged {
    bool available = false;
    QStringList prefix;
    QString reason;
};
Unprivileged unprivilegedRunner();

// Makes the folder `path` readable and searchable by anyone, so that another user can reach a
// fixture in a temporary folder (QTemporaryDir makes it private to its owner).
void openUpForOthers(const QString &path);
