#pragma once

#include "catalogue/messagesink.h"
#include "catalogue/runtimeerror.h"
#include "suite/loadedcomponent.h"

#include <QList>
#include <QSize>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Finding and reading the components of a folder, begun as soon as the folder is known, so that
// the disk work runs on other threads while the window is still being built. One thread lists the
// sub-folders; every thread then takes the next sub-folder nobody has taken and looks for its
// descriptor, and once all are looked at, takes the next component nobody has taken and reads it.
// The window takes the component list, meeting what finding it showed or raised where finding it
// itself would have met it, and then the components one by one in list order, as they are read.
// One mutex and one condition variable guard all that the threads share.
class ComponentReading
{
public:
    // Starts reading with one thread per core; throws std::system_error when no thread can start.
    ComponentReading(const QString &directory, QSize pictureArea);
    ~ComponentReading();
    Q_DISABLE_COPY_MOVE(ComponentReading)

    const QString &directory() const { return m_directory; }

    // The component list, waiting for it. The boxes finding it showed are shown now, on `sink`,
    // and the error it raised is raised again.
    QStringList takeFolders(MessageSink &sink);
    // After takeFolders, for a list of components: component `index` of it, waiting for it. Each
    // index is taken once, in ascending order.
    LoadedComponent take(qsizetype index);
    // The time finding the components took, on all threads together.
    qint64 discoveryNs() const { return m_discoveryNs; }

private:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };
    class KeptMessages;
    // What was found in one sub-folder.
    struct Folder {
        QList<Message> messages;
        bool holdsDescriptor = false;
        std::optional<RuntimeError> failure;
    };
    // One component as read, until the window takes it.
    struct Read {
        std::unique_ptr<LoadedComponent> component;
        bool outOfMemory = false;
        bool taken = false;
        bool done() const { return component || outOfMemory || taken; }
    };

    // How many sub-folders, or components, a thread takes at a time.
    static constexpr qsizetype batch = 8;

    void work();
    void listFolders();
    void lookedAtLast();
    bool lookedAtAll() const;
    bool readUpTo(qsizetype index) const;

    const QString m_directory;
    const QSize m_pictureArea;

    std::mutex m_mutex;
    // Signalled when the sub-folders are listed, when the last one has been looked at, when the
    // window waits for a component and it and the run of them after it have been read, and when
    // reading stops.
    std::condition_variable m_changed;
    bool m_listing = false;
    bool m_listed = false;
    bool m_stopping = false;
    QStringList m_names;
    std::optional<RuntimeError> m_error;
    qint64 m_discoveryNs = 0;
    std::vector<Folder> m_folders; // one per sub-folder
    qsizetype m_nextFolder = 0; // the first sub-folder nobody has taken
    qsizetype m_foldersLookedAt = 0;
    // Once every sub-folder has been looked at: the sub-folder of each component, in list order.
    QList<qsizetype> m_components;
    // The components, read or not yet, in list order.
    std::vector<Read> m_read;
    qsizetype m_nextComponent = 0; // the first component nobody has taken
    qsizetype m_awaited = -1; // the component the window waits for, -1 when it does not wait

    std::vector<std::thread> m_threads;
};
