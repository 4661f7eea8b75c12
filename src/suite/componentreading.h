#pragma once

#include "catalogue/discovery.h"
#include "suite/loadedcomponent.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Finding and reading a suite's components while the window is built. One thread looks through
// the folder; the components it finds are read in list order by whichever thread is free. The
// window takes them in order, reading the next itself once it has caught up, and everything
// itself when no thread could start. Standard threads, not Qt Concurrent: this Qt is not built for
// ThreadSanitizer, which cannot see Qt's locks hand a result over and would report a race.
class ComponentReading
{
public:
    // Past four threads the disk, not the cores, sets the pace.
    static int defaultThreads() { return std::clamp(QThread::idealThreadCount(), 1, 4); }
    // Starts up to `threads` threads; fewer, or none, where the system refuses more.
    // Pictures are loaded for a screen of device pixel ratio `pixelRatio`; descriptors' texts in
    // the language of `languages` (descriptorLanguages()) they have.
    ComponentReading(const QString &directory, QSize pictureArea, qreal pixelRatio,
                     int threads = defaultThreads(), const QStringList &languages = {});
    ComponentReading(const QString &directory, QSize pictureArea, int threads = defaultThreads())
        : ComponentReading(directory, pictureArea, 1.0, threads)
    {
    }
    ~ComponentReading();
    Q_DISABLE_COPY_MOVE(ComponentReading)
    const QString &directory() const { return m_directory; }

    // The component list, once the folder has been looked through. The boxes looking through it
    // showed are shown now, on `sink`, and the error that stopped it is raised again.
    QStringList takeFolders(MessageSink &sink);
    // Component `index` of the list. Raises Subscript out of range for an index that is not in the
    // list or was taken before.
    LoadedComponent take(qsizetype index);

private:
    enum class State { Unread, Read, Taken };
    struct Slot {
        QString folder;
        State state = State::Unread;
        std::unique_ptr<LoadedComponent> component; // none once read: it could not even be held
    };

    void work();
    const Discovery &discovered(std::unique_lock<std::mutex> &lock);
    bool readNext(std::unique_lock<std::mutex> &lock);

    const QString m_directory;
    const QSize m_pictureArea;
    const qreal m_pixelRatio;
    const QStringList m_languages;
    std::mutex m_mutex;
    std::condition_variable m_readers; // a component found, the search ended, reading stops
    std::condition_variable m_window; // the search ended, the awaited component read
    bool m_searching = false;
    bool m_stopping = false;
    std::optional<Discovery> m_discovery; // once the search has ended
    std::deque<Slot> m_slots; // one per component found, in list order; growing moves none
    qsizetype m_next = 0; // the first component nobody reads yet
    qsizetype m_awaited = -1; // the component the window waits for, -1 when it does not wait
    std::vector<std::thread> m_threads;
};
