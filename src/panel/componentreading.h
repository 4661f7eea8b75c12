#pragma once

#include "catalogue/messagesink.h"
#include "catalogue/runtimeerror.h"
#include "panel/preloader.h"

#include <QStringList>

#include <limits>
#include <memory>
#include <optional>
#include <thread>

// Finding and reading the components of a folder, begun as soon as the folder is known, so that
// the disk work runs on other threads while the window is still being built. Discovery runs on a
// thread of its own and keeps what it would have shown or raised; the components it finds are
// read ahead from then on. The window takes the outcome when it gets to loading, and meets every
// box and error there, in the order and at the step where finding them then would have met them.
class ComponentReading
{
public:
    // `keepDecoded` as for ComponentPreloader.
    ComponentReading(QString directory, QString fileName,
                     qsizetype keepDecoded = std::numeric_limits<qsizetype>::max());
    ~ComponentReading();
    Q_DISABLE_COPY_MOVE(ComponentReading)

    const QString &directory() const { return m_directory; }
    const QString &fileName() const { return m_fileName; }

    // The list componentFolders gives, waiting for it. The boxes it showed are shown now, on
    // `sink`, and the error it raised is raised again. Taken once.
    QStringList takeFolders(MessageSink &sink);
    // After takeFolders: the components of that list being read ahead, or nullptr when there are
    // none to read.
    ComponentPreloader *preloader() const { return m_preloader.get(); }
    // The time discovery itself took, on its own thread.
    qint64 discoveryNs() const { return m_discoveryNs; }

private:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };

    void discover();

    const QString m_directory;
    const QString m_fileName;
    const qsizetype m_keepDecoded;
    // Written by the discovery thread only, read once it has been joined.
    QStringList m_folders;
    std::optional<RuntimeError> m_error;
    QList<Message> m_messages;
    std::unique_ptr<ComponentPreloader> m_preloader;
    qint64 m_discoveryNs = 0;
    std::thread m_thread;
};
