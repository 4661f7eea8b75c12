#include "panel/componentreading.h"

#include "catalogue/descriptor.h"
#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <array>

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
    // Past a few threads the disk, not the cores, sets the pace.
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    m_threads.reserve(size_t(threads));
    try {
        for (int i = 0; i < threads; ++i) {
            m_threads.emplace_back([this] { work(); });
        }
    } catch (const std::exception &) {
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
    std::vector<Folder> folders;
    QElapsedTimer timer;
    timer.start();
    std::optional<RuntimeError> error = captureFailure([&] {
        names = subFolderNames(m_directory);
        folders.resize(size_t(names.size()));
    });
    if (error) {
        names.clear();
        folders.clear();
    }
    const std::lock_guard lock(m_mutex);
    m_names = std::move(names);
    m_folders = std::move(folders);
    m_error = std::move(error);
    m_discoveryNs += timer.nsecsElapsed();
    m_listed = true;
    m_changed.notify_all();
}

bool ComponentReading::lookedAtAll() const
{
    return m_listed && m_foldersLookedAt == qsizetype(m_folders.size());
}

void ComponentReading::lookedAtLast()
{
    const auto failure = captureFailure([this] {
        for (qsizetype i = 0; i < m_names.size(); ++i) {
            if (m_folders[size_t(i)].holdsDescriptor) {
                m_components.append(i);
            }
        }
        m_read.resize(size_t(m_components.size()));
    });
    if (failure) {
        // Nothing is read; the window meets the failure where the list is taken.
        m_components.clear();
        m_read.clear();
        m_error = failure;
    }
    m_changed.notify_all();
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

    // Each sub-folder is looked into for a descriptor. Whatever happens, each is counted as
    // looked at, so that the window never waits in vain. A thread takes a few at a time, so that
    // the threads seldom meet at the mutex.
    while (!m_stopping && m_nextFolder < qsizetype(m_folders.size())) {
        const qsizetype first = m_nextFolder;
        const qsizetype count = std::min(batch, qsizetype(m_folders.size()) - first);
        m_nextFolder += count;
        lock.unlock();
        std::array<Folder, batch> found;
        QElapsedTimer timer;
        timer.start();
        for (qsizetype i = 0; i < count; ++i) {
            Folder &folder = found[size_t(i)];
            folder.failure = captureFailure([&] {
                KeptMessages sink(folder.messages);
                folder.holdsDescriptor = holdsFile(m_directory, m_names.at(first + i),
                                                   descriptorFileName.toString(), sink);
            });
        }
        const qint64 ns = timer.nsecsElapsed();
        lock.lock();
        std::move(found.begin(), found.begin() + count, m_folders.begin() + first);
        m_discoveryNs += ns;
        m_foldersLookedAt += count;
        if (m_foldersLookedAt == qsizetype(m_folders.size())) {
            lookedAtLast();
        }
    }
    m_changed.wait(lock, [this] { return lookedAtAll() || m_stopping; });

    // Then each component is read, in list order as far as the threads go, a few at a time. A
    // component that cannot even be held fails as out of memory, in its own place.
    while (!m_stopping && m_nextComponent < m_components.size()) {
        const qsizetype first = m_nextComponent;
        const qsizetype count = std::min(batch, m_components.size() - first);
        m_nextComponent += count;
        lock.unlock();
        std::array<Read, batch> read;
        for (qsizetype i = 0; i < count; ++i) {
            Read &one = read[size_t(i)];
            if (const auto failure = captureFailure([&] {
                    one.component = std::make_unique<LoadedComponent>(readComponent(
                        m_directory, m_names.at(m_components.at(first + i)), m_pictureArea));
                })) {
                one.component.reset();
                one.outOfMemory = true;
            }
        }
        lock.lock();
        std::move(read.begin(), read.begin() + count, m_read.begin() + first);
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
    return m_read.at(size_t(index)).done() && m_read.at(size_t(last)).done();
}

QStringList ComponentReading::takeFolders(MessageSink &sink)
{
    QList<Message> messages;
    QList<bool> holds;
    std::optional<RuntimeError> failure;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return lookedAtAll(); });
        // As finding the components one folder after the other would: the boxes up to the first
        // folder that failed, then its failure.
        for (const Folder &folder : m_folders) {
            messages += folder.messages;
            if (folder.failure) {
                failure = folder.failure;
                break;
            }
            holds.append(folder.holdsDescriptor);
        }
        if (!failure) {
            failure = m_error;
        }
    }
    for (const Message &message : std::as_const(messages)) {
        sink.showMessage(message.text, message.title, message.icon);
    }
    if (failure) {
        throw *failure;
    }
    return componentList(m_names, holds);
}

LoadedComponent ComponentReading::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    Read &read = m_read.at(size_t(index));
    Q_ASSERT_X(!read.taken, "ComponentReading::take", "each component is taken once");
    // A window that has caught up with the readers waits for a run of components, not for the
    // next one alone, or it would be woken once for each.
    if (!read.done()) {
        m_awaited = index;
        m_changed.wait(lock, [this, index] { return readUpTo(index); });
        m_awaited = -1;
    }
    if (read.outOfMemory) {
        read = {};
        read.taken = true;
        lock.unlock();
        LoadedComponent loaded;
        loaded.record.folder = m_names.at(m_components.at(index));
        loaded.failure = RuntimeError::outOfMemory();
        return loaded;
    }
    std::unique_ptr<LoadedComponent> component = std::move(read.component);
    read.taken = true;
    return std::move(*component);
}
