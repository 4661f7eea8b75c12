#include "panel/componentreading.h"

#include "catalogue/description.h"
#include "catalogue/descriptor.h"
#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/paths.h"

#include <QElapsedTimer>
#include <QtConcurrent>

LoadedComponent readComponent(const QString &applicationDirectory, const QString &folder,
                              QSize pictureArea)
{
    LoadedComponent loaded;
    loaded.record.folder = folder;
    QElapsedTimer timer;
    timer.start();
    loaded.descriptorError = captureFailure([&] {
        readDescriptor(
            componentFilePath(applicationDirectory, folder, descriptorFileName.toString()),
            loaded.record);
        loaded.record.desc = composeDescription(loaded.record);
    });
    loaded.descriptorNs = timer.nsecsElapsed();
    if (loaded.descriptorError) {
        return loaded;
    }
    timer.restart();
    loaded.pictureError = captureFailure([&] {
        loaded.picture = Picture::load(
            componentFilePath(applicationDirectory, folder, loaded.record.img), pictureArea);
    });
    loaded.pictureNs = timer.nsecsElapsed();
    if (loaded.pictureError) {
        return loaded;
    }
    loaded.exeError = captureFailure([&] {
        loaded.exePath = componentFilePath(applicationDirectory, folder, loaded.record.exe);
        loaded.exeFound = !findFirstEntry(loaded.exePath, false).isEmpty();
    });
    return loaded;
}

// Keeps the boxes discovery would show until the window can show them.
class ComponentReading::KeptMessages final : public MessageSink
{
public:
    explicit KeptMessages(QList<Message> &messages)
        : m_messages(messages)
    {
    }
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        m_messages.append({text, title, icon});
    }

private:
    QList<Message> &m_messages;
};

ComponentReading::Found ComponentReading::discover(const QString &directory, QSize pictureArea)
{
    Found found;
    QElapsedTimer timer;
    timer.start();
    KeptMessages messages(found.messages);
    found.error = captureFailure([&] {
        found.folders = componentFolders(directory, descriptorFileName.toString(), messages);
    });
    found.ns = timer.nsecsElapsed();
    if (!found.error && !isNoComponentsMarker(found.folders)) {
        found.components = QtConcurrent::mapped(found.folders, [=](const QString &folder) {
            return readComponent(directory, folder, pictureArea);
        });
    }
    return found;
}

ComponentReading::ComponentReading(const QString &directory, QSize pictureArea)
    : m_directory(directory)
    , m_discovery(QtConcurrent::run(discover, directory, pictureArea))
{
}

ComponentReading::~ComponentReading()
{
    // What was begun and not taken is let go; nothing is left running.
    QFuture<LoadedComponent> components = m_discovery.result().components;
    components.cancel();
    components.waitForFinished();
}

QStringList ComponentReading::takeFolders(MessageSink &sink)
{
    m_found = m_discovery.result();
    for (const Message &message : std::as_const(m_found.messages)) {
        sink.showMessage(message.text, message.title, message.icon);
    }
    if (m_found.error) {
        throw *std::exchange(m_found.error, std::nullopt);
    }
    return std::exchange(m_found.folders, {});
}
