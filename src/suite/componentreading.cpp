#include "suite/componentreading.h"

#include "catalogue/descriptor.h"
#include "catalogue/errortrap.h"

ComponentReading::ComponentReading(const QString &directory, QSize pictureArea, qreal pixelRatio,
                                   int threads, const QStringList &languages)
    : m_directory(directory)
    , m_pictureArea(pictureArea)
    , m_pixelRatio(pixelRatio)
    , m_languages(languages)
{
    try {
        for (int i = 0; i < threads; ++i) {
            m_threads.emplace_back([this] { work(); });
        }
    } catch (const std::exception &) {
        // The threads that started read; the window reads whatever they leave.
    }
}

ComponentReading::~ComponentReading()
{
    std::unique_lock lock(m_mutex);
    m_stopping = true;
    lock.unlock();
    m_readers.notify_all();
    for (std::thread &thread : m_threads) {
        thread.join();
    }
}

void ComponentReading::work()
{
    std::unique_lock lock(m_mutex);
    if (!m_searching) {
        discovered(lock);
    }
    while (!m_stopping && (readNext(lock) || !m_discovery)) {
        if (m_next == qsizetype(m_slots.size()) && !m_discovery) {
            m_readers.wait(lock);
        }
    }
}

const Discovery &ComponentReading::discovered(std::unique_lock<std::mutex> &lock)
{
    // The first to come looks through the folder; whoever comes later waits for it.
    if (!m_searching) {
        m_searching = true;
        lock.unlock();
        Discovery discovery = discoverComponents(
            m_directory, descriptorFileName.toString(), [this](const QString &folder) {
                const std::lock_guard found(m_mutex);
                m_slots.push_back({folder, State::Unread, nullptr});
                m_readers.notify_one();
                return !m_stopping;
            });
        lock.lock();
        m_discovery = std::move(discovery);
        m_readers.notify_all();
        m_window.notify_all();
    }
    m_window.wait(lock, [this] { return m_discovery.has_value(); });
    return *m_discovery;
}

bool ComponentReading::readNext(std::unique_lock<std::mutex> &lock)
{
    if (m_next == qsizetype(m_slots.size())) {
        return false;
    }
    const qsizetype index = m_next++;
    const QString folder = m_slots[size_t(index)].folder;
    lock.unlock();
    std::unique_ptr<LoadedComponent> component;
    captureFailure([&] {
        component = std::make_unique<LoadedComponent>(
            readComponent(m_directory, folder, m_pictureArea, m_pixelRatio, m_languages));
    });
    lock.lock();
    m_slots[size_t(index)] = {folder, State::Read, std::move(component)};
    if (index == m_awaited) {
        m_window.notify_all();
    }
    return true;
}

QStringList ComponentReading::takeFolders(MessageSink &sink)
{
    std::unique_lock lock(m_mutex);
    const Discovery discovery = discovered(lock);
    lock.unlock();
    return discovery.componentList(sink);
}

LoadedComponent ComponentReading::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    discovered(lock);
    if (size_t(index) >= m_slots.size() || m_slots[size_t(index)].state == State::Taken) {
        throw RuntimeError::subscriptOutOfRange();
    }
    while (m_slots[size_t(index)].state == State::Unread) {
        if (!readNext(lock)) {
            m_awaited = index;
            m_window.wait(lock);
            m_awaited = -1;
        }
    }
    Slot &slot = m_slots[size_t(index)];
    slot.state = State::Taken;
    if (slot.component) {
        return std::move(*std::exchange(slot.component, nullptr));
    }
    // It could not even be held: it fails as out of memory, in its own place.
    LoadedComponent loaded;
    loaded.record.folder = slot.folder;
    loaded.failure = RuntimeError::outOfMemory();
    return loaded;
}
