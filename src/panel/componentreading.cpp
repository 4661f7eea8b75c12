#include "panel/componentreading.h"

#include "catalogue/discovery.h"

#include <QElapsedTimer>

namespace
{
// Keeps the boxes discovery would show until the window can show them.
class DeferredSink final : public MessageSink
{
public:
    explicit DeferredSink(std::function<void(const QString &, const QString &, MessageIcon)> keep)
        : m_keep(std::move(keep))
    {
    }
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        m_keep(text, title, icon);
    }

private:
    std::function<void(const QString &, const QString &, MessageIcon)> m_keep;
};
} // namespace

ComponentReading::ComponentReading(QString directory, QString fileName, qsizetype keepDecoded)
    : m_directory(std::move(directory))
    , m_fileName(std::move(fileName))
    , m_keepDecoded(keepDecoded)
    , m_thread([this] { discover(); })
{
}

ComponentReading::~ComponentReading()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void ComponentReading::discover()
{
    QElapsedTimer timer;
    timer.start();
    DeferredSink sink([this](const QString &text, const QString &title, MessageIcon icon) {
        m_messages.append({text, title, icon});
    });
    try {
        m_folders = componentFolders(m_directory, m_fileName, sink);
    } catch (const RuntimeError &error) {
        m_error = error;
    } catch (const std::bad_alloc &) {
        m_error = RuntimeError(RuntimeError::OutOfMemory, QStringLiteral("Out of memory"));
    }
    m_discoveryNs = timer.nsecsElapsed();
    if (m_error || isNoComponentsMarker(m_folders)) {
        return;
    }
    try {
        m_preloader = std::make_unique<ComponentPreloader>(m_directory, m_folders, m_keepDecoded);
    } catch (const std::exception &) {
        // Nothing is read ahead; the window reads the components itself and meets the failure
        // where it belongs.
        m_preloader.reset();
    }
}

QStringList ComponentReading::takeFolders(MessageSink &sink)
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const QList<Message> messages = std::exchange(m_messages, {});
    for (const Message &message : messages) {
        sink.showMessage(message.text, message.title, message.icon);
    }
    if (m_error) {
        throw *std::exchange(m_error, std::nullopt);
    }
    return std::exchange(m_folders, {});
}
