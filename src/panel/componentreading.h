#pragma once

#include "catalogue/componentinfo.h"
#include "catalogue/messagesink.h"
#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"

#include <QFuture>
#include <QList>
#include <QSize>
#include <QStringList>

#include <optional>

// What loading one component needs from the disk: its descriptor read into the record with the
// description composed, its picture loaded, and the search for its executable. A failure is kept,
// not reported, so that the window reports it in list order, in the box and at the step where
// loading the component then would have met it.
struct LoadedComponent {
    ComponentInfo record;
    std::optional<RuntimeError> descriptorError;
    Picture picture;
    std::optional<RuntimeError> pictureError;
    QString exePath;
    bool exeFound = false;
    std::optional<RuntimeError> exeError;
    // The time reading the descriptor and the picture took, on whichever thread read them.
    qint64 descriptorNs = 0;
    qint64 pictureNs = 0;
};

// Reads the component in `folder` of `applicationDirectory`, its picture for a button that shows
// `pictureArea` device pixels of it. Safe on any thread.
LoadedComponent readComponent(const QString &applicationDirectory, const QString &folder,
                              QSize pictureArea);

// Finding and reading the components of a folder, begun as soon as the folder is known so that
// the disk work runs on Qt's thread pool while the window is still being built: discovery first,
// then the components it found, several at once, with QtConcurrent::mapped. The window takes them
// one by one in list order, and meets what discovery showed or raised where finding the
// components itself would have met it.
class ComponentReading
{
public:
    ComponentReading(const QString &directory, QSize pictureArea);
    ~ComponentReading();
    Q_DISABLE_COPY_MOVE(ComponentReading)

    const QString &directory() const { return m_directory; }

    // The component list, waiting for discovery. The boxes it showed are shown now, on `sink`, and
    // the error it raised is raised again. Taken once.
    QStringList takeFolders(MessageSink &sink);
    // After takeFolders, for a list of components: component `index` of it, waiting for it.
    LoadedComponent take(qsizetype index) const { return m_found.components.resultAt(index); }
    // The time discovery took on its thread.
    qint64 discoveryNs() const { return m_found.ns; }

private:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };
    // What discovery found, showed and raised, and the reading of the components it found.
    struct Found {
        QStringList folders;
        std::optional<RuntimeError> error;
        QList<Message> messages;
        qint64 ns = 0;
        QFuture<LoadedComponent> components;
    };
    class KeptMessages;
    static Found discover(const QString &directory, QSize pictureArea);

    const QString m_directory;
    QFuture<Found> m_discovery;
    Found m_found;
};
