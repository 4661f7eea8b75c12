#pragma once

#include "componentinfo.h"
#include "runtimeerror.h"

#include <QImage>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// What loading one component needs from the disk, read ahead of time: the descriptor into the
// record with its description composed, the picture decoded, and the search for the executable.
// Each failure is kept, not reported, so that the main window can report it in list order, in the
// box and at the step where loading the component one by one would have met it.
struct PreloadedComponent {
    ComponentInfo record;
    std::optional<RuntimeError> descriptorError;
    QString picturePath;
    QImage picture;
    std::optional<RuntimeError> pictureError;
    QString exePath;
    bool exeFound = false;
    std::optional<RuntimeError> exeError;
    // Time spent reading the descriptor and decoding the picture, on whichever thread did it.
    qint64 descriptorNs = 0;
    qint64 pictureNs = 0;
};

// Reads one component; safe to call on any thread.
PreloadedComponent preloadComponent(const QString &applicationDirectory, const QString &folder);

// Reads the components of a list on worker threads, a bounded distance ahead of the one the main
// window is loading, so that descriptor reading and picture decoding use every core while the
// results are still applied one by one, in list order, on the GUI thread.
class ComponentPreloader
{
public:
    ComponentPreloader(QString applicationDirectory, QStringList folders);
    ~ComponentPreloader();
    Q_DISABLE_COPY_MOVE(ComponentPreloader)

    // The component at `index` of the list, waiting for it if it is not read yet. Each index is
    // taken once, in ascending order.
    PreloadedComponent take(qsizetype index);

private:
    void work();

    const QString m_directory;
    const QStringList m_folders;
    const qsizetype m_window;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // A ring as long as the read-ahead distance: index i waits in slot i % window.
    std::vector<std::optional<PreloadedComponent>> m_slots;
    qsizetype m_next = 0;
    qsizetype m_taken = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};
