#pragma once

#include "catalogue/componentinfo.h"
#include "catalogue/runtimeerror.h"

#include <QImage>
#include <QStringList>

#include <condition_variable>
#include <limits>
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
    // The decoded picture, and the file's bytes when it was small enough to be read whole. The
    // preloader lets the decoded picture go where the bytes suffice (see keepDecoded).
    QImage picture;
    QByteArray pictureBytes;
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

// Reads the components of a list on worker threads, ahead of the one the main window is loading,
// so that descriptor reading and picture decoding use every core while the results are still
// applied one by one, in list order, on the GUI thread. The workers start at once and may run
// ahead by a bounded number of components and bytes of pictures; the thread that takes a
// component it has to wait for reads another one meanwhile. Threads wake one another only when
// one of them actually waits.
class ComponentPreloader
{
public:
    // The components from index `keepDecoded` on keep their pictures as file bytes only, once
    // decoded and found sound.
    ComponentPreloader(QString applicationDirectory, QStringList folders,
                       qsizetype keepDecoded = std::numeric_limits<qsizetype>::max());
    ~ComponentPreloader();
    Q_DISABLE_COPY_MOVE(ComponentPreloader)

    // The component at `index` of the list. Each index is taken once, in ascending order.
    PreloadedComponent take(qsizetype index);

    // How far the workers may run ahead of the component taken last.
    static constexpr qsizetype maxAhead = 4096;
    static constexpr qint64 maxAheadBytes = 4 * 1024 * 1024;

private:
    struct Slot {
        std::optional<PreloadedComponent> loaded;
        qint64 bytes = 0;
    };

    void work();
    PreloadedComponent read(qsizetype index) const;
    // Under the lock: the next index to read, or -1 when reading it would run too far ahead.
    qsizetype claim();
    // Under the lock.
    void store(qsizetype index, PreloadedComponent &&loaded);

    const QString m_directory;
    const QStringList m_folders;
    const qsizetype m_keepDecoded;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a component was stored
    std::condition_variable m_room; // a component was taken
    // A ring as long as the read-ahead distance: index i waits in slot i % size.
    std::vector<Slot> m_slots;
    qsizetype m_next = 0; // the first index nobody has claimed
    qsizetype m_taken = 0; // the first index not taken yet
    qint64 m_heldBytes = 0; // of the components stored and not taken
    bool m_takerWaiting = false;
    int m_workersWaiting = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};
