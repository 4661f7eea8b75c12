#include "panel/componentreading.h"

#include "catalogue/descriptor.h"
#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

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

ComponentReading::ComponentReading(const QString &directory, QSize pictureArea)
    : m_directory(directory)
    , m_pictureArea(pictureArea)
{
    const int threads = std::max(1, QThread::idealThreadCount());
    try {
        for (int i = 0; i < threads; ++i) {
            m_threads.emplace_back([this] { work(); });
        }
    } catch (const std::system_error &) {
        // Fewer threads read; with none at all, the window reads the components itself.
        if (m_threads.empty()) {
            throw;
        }
    }
}

ComponentReading::~ComponentReading()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread &thread : m_threads) {
        thread.join();
    }
}

void ComponentReading::listFolders()
{
    QStringList names;
    QElapsedTimer timer;
    timer.start();
    std::optional<RuntimeError> error
        = captureFailure([&] { names = subFolderNames(m_directory); });
    const std::lock_guard lock(m_mutex);
    m_names = std::move(names);
    m_error = std::move(error);
    m_folders.resize(size_t(m_names.size()));
    m_discoveryNs += timer.nsecsElapsed();
    m_listed = true;
    m_changed.notify_all();
}

bool ComponentReading::lookedAtAll() const
{
    return m_listed && m_foldersLookedAt == qsizetype(m_folders.size());
}

void ComponentReading::work()
{
    std::unique_lock lock(m_mutex);
    // The first thread to start lists the sub-folders; the others wait for the list.
    if (!m_listing) {
        m_listing = true;
        lock.unlock();
        listFolders();
        lock.lock();
    }
    m_changed.wait(lock, [this] { return m_listed || m_stopping; });

    // Each sub-folder is looked into for a descriptor.
    while (!m_stopping && m_nextFolder < qsizetype(m_folders.size())) {
        const qsizetype index = m_nextFolder++;
        const QString name = m_names.at(index);
        lock.unlock();
        Folder folder;
        KeptMessages sink(folder.messages);
        QElapsedTimer timer;
        timer.start();
        folder.holdsDescriptor = holdsFile(m_directory, name, descriptorFileName.toString(), sink);
        const qint64 ns = timer.nsecsElapsed();
        lock.lock();
        m_folders[size_t(index)] = std::move(folder);
        m_discoveryNs += ns;
        if (++m_foldersLookedAt == qsizetype(m_folders.size())) {
            for (qsizetype i = 0; i < m_names.size(); ++i) {
                if (m_folders[size_t(i)].holdsDescriptor) {
                    m_components.append(i);
                }
            }
            m_read.resize(size_t(m_components.size()));
            m_changed.notify_all();
        }
    }
    m_changed.wait(lock, [this] { return lookedAtAll() || m_stopping; });

    // Then each component is read, in list order as far as the threads go.
    while (!m_stopping && m_nextComponent < m_components.size()) {
        const qsizetype index = m_nextComponent++;
        const qsizetype folder = m_components.at(index);
        const QString name = m_names.at(folder);
        lock.unlock();
        auto loaded = std::make_unique<LoadedComponent>();
        if (const auto failure
            = captureFailure([&] { *loaded = readComponent(m_directory, name, m_pictureArea); })) {
            *loaded = {};
            loaded->record.folder = name;
            loaded->failure = failure;
        }
        lock.lock();
        m_read[size_t(index)] = std::move(loaded);
        if (m_awaited >= 0 && readUpTo(m_awaited)) {
            m_changed.notify_all();
        }
    }
}

bool ComponentReading::readUpTo(qsizetype index) const
{
    // The component itself, and the last of a run of them after it: a window that waits is woken
    // once for the run instead of once for each component.
    constexpr qsizetype run = 32;
    const qsizetype last = std::min(index + run, m_components.size() - 1);
    return m_read.at(size_t(index)) && m_read.at(size_t(last));
}

QStringList ComponentReading::takeFolders(MessageSink &sink)
{
    QList<Message> messages;
    QList<bool> holds;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return lookedAtAll(); });
        for (const Folder &folder : m_folders) {
            messages += folder.messages;
            holds.append(folder.holdsDescriptor);
        }
    }
    for (const Message &message : std::as_const(messages)) {
        sink.showMessage(message.text, message.title, message.icon);
    }
    if (m_error) {
        throw *m_error;
    }
    return componentList(m_names, holds);
}

LoadedComponent ComponentReading::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    std::unique_ptr<LoadedComponent> &component = m_read.at(size_t(index));
    if (!component) {
        m_awaited = index;
        m_changed.wait(lock, [this, index] { return readUpTo(index); });
        m_awaited = -1;
    }
    LoadedComponent loaded = std::move(*component);
    component.reset();
    return loaded;
}
