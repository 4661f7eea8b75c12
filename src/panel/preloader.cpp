#include "preloader.h"

#include "description.h"
#include "descriptor.h"
#include "fileexists.h"
#include "paths.h"
#include "picture.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

PreloadedComponent preloadComponent(const QString &applicationDirectory, const QString &folder)
{
    PreloadedComponent loaded;
    loaded.record.folder = folder;
    QElapsedTimer timer;
    timer.start();
    try {
        readDescriptor(componentFilePath(applicationDirectory, folder, QStringLiteral("kk.cfg")),
                       loaded.record);
        loaded.record.desc = composeDescription(loaded.record);
    } catch (const RuntimeError &error) {
        loaded.descriptorError = error;
    } catch (const std::bad_alloc &) {
        loaded.descriptorError
            = RuntimeError(RuntimeError::OutOfMemory, QStringLiteral("Out of memory"));
    }
    loaded.descriptorNs = timer.nsecsElapsed();
    if (loaded.descriptorError) {
        return loaded;
    }

    timer.restart();
    loaded.picturePath = componentFilePath(applicationDirectory, folder, loaded.record.img);
    try {
        loaded.picture = loadPicture(loaded.picturePath);
    } catch (const RuntimeError &error) {
        loaded.pictureError = error;
    }
    loaded.pictureNs = timer.nsecsElapsed();
    if (loaded.pictureError) {
        return loaded;
    }

    loaded.exePath = componentFilePath(applicationDirectory, folder, loaded.record.exe);
    try {
        loaded.exeFound = !findFirstEntry(loaded.exePath, false).isEmpty();
    } catch (const RuntimeError &error) {
        loaded.exeError = error;
    }
    return loaded;
}

ComponentPreloader::ComponentPreloader(QString applicationDirectory, QStringList folders)
    : m_directory(std::move(applicationDirectory))
    , m_folders(std::move(folders))
    // Far enough ahead to keep every worker busy, near enough to bound the decoded pictures held.
    , m_window(256)
    , m_slots(std::min<qsizetype>(m_window, m_folders.size()))
{
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 8);
    // A handful of components loads faster than threads start.
    const int workers = m_folders.size() < 16 ? 0 : threads;
    for (int i = 0; i < workers; ++i) {
        m_workers.emplace_back([this] { work(); });
    }
}

ComponentPreloader::~ComponentPreloader()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread &worker : m_workers) {
        worker.join();
    }
}

void ComponentPreloader::work()
{
    for (;;) {
        qsizetype index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] {
                return m_stopping || m_next >= m_folders.size() || m_next < m_taken + m_window;
            });
            if (m_stopping || m_next >= m_folders.size()) {
                return;
            }
            index = m_next++;
        }
        PreloadedComponent loaded = preloadComponent(m_directory, m_folders.at(index));
        {
            std::lock_guard lock(m_mutex);
            m_slots[index % m_window] = std::move(loaded);
        }
        m_changed.notify_all();
    }
}

PreloadedComponent ComponentPreloader::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    if (m_workers.empty() || index >= m_next) {
        // Not started by a worker: read it here rather than wait.
        if (!m_workers.empty()) {
            m_next = std::max(m_next, index + 1);
        }
        lock.unlock();
        PreloadedComponent loaded = preloadComponent(m_directory, m_folders.at(index));
        lock.lock();
        m_taken = index + 1;
        lock.unlock();
        m_changed.notify_all();
        return loaded;
    }
    std::optional<PreloadedComponent> &slot = m_slots[index % m_window];
    m_changed.wait(lock, [&] { return slot.has_value(); });
    PreloadedComponent loaded = std::move(*slot);
    slot.reset();
    m_taken = index + 1;
    lock.unlock();
    m_changed.notify_all();
    return loaded;
}
