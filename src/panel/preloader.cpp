#include "panel/preloader.h"

#include "catalogue/description.h"
#include "catalogue/descriptor.h"
#include "catalogue/fileexists.h"
#include "catalogue/paths.h"
#include "pictures/picture.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace
{
// Runs one step of reading a component; what it raises is kept as that step's failure, an
// exhausted allocation as Out of memory, as the error trap reports it.
template<typename Step>
void keepFailure(std::optional<RuntimeError> &failure, Step step)
{
    try {
        step();
    } catch (const RuntimeError &error) {
        failure = error;
    } catch (const std::bad_alloc &) {
        failure = RuntimeError(RuntimeError::OutOfMemory, QStringLiteral("Out of memory"));
    }
}
} // namespace

PreloadedComponent preloadComponent(const QString &applicationDirectory, const QString &folder)
{
    PreloadedComponent loaded;
    loaded.record.folder = folder;
    QElapsedTimer timer;
    timer.start();
    keepFailure(loaded.descriptorError, [&] {
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
    keepFailure(loaded.pictureError, [&] {
        loaded.picturePath = componentFilePath(applicationDirectory, folder, loaded.record.img);
        loaded.picture = loadPicture(loaded.picturePath, &loaded.pictureBytes);
    });
    loaded.pictureNs = timer.nsecsElapsed();
    if (loaded.pictureError) {
        return loaded;
    }

    keepFailure(loaded.exeError, [&] {
        loaded.exePath = componentFilePath(applicationDirectory, folder, loaded.record.exe);
        loaded.exeFound = !findFirstEntry(loaded.exePath, false).isEmpty();
    });
    return loaded;
}

namespace
{
// What a component read ahead holds in memory, roughly: its picture and its texts.
qint64 heldBytes(const PreloadedComponent &loaded)
{
    const ComponentInfo &record = loaded.record;
    const qsizetype characters = record.folder.size() + record.name.size() + record.img.size()
        + record.exe.size() + record.help.size() + record.tip.size() + record.desc.size()
        + loaded.picturePath.size() + loaded.exePath.size();
    return loaded.picture.sizeInBytes() + loaded.pictureBytes.size() + qint64(characters) * 2 + 512;
}
} // namespace

ComponentPreloader::ComponentPreloader(QString applicationDirectory, QStringList folders,
                                       qsizetype keepDecoded)
    : m_directory(std::move(applicationDirectory))
    , m_folders(std::move(folders))
    , m_keepDecoded(keepDecoded)
    , m_slots(std::min(maxAhead, m_folders.size()))
{
    const int threads = std::clamp(QThread::idealThreadCount() - 1, 1, 8);
    // A handful of components loads faster than threads start.
    const int workers = m_folders.size() < 16 ? 0 : threads;
    for (int i = 0; i < workers; ++i) {
        try {
            m_workers.emplace_back([this] { work(); });
        } catch (const std::exception &) {
            // Fewer readers, or none: the taker reads what nobody else does.
            break;
        }
    }
}

ComponentPreloader::~ComponentPreloader()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_room.notify_all();
    for (std::thread &worker : m_workers) {
        worker.join();
    }
}

PreloadedComponent ComponentPreloader::read(qsizetype index) const
{
    PreloadedComponent loaded = preloadComponent(m_directory, m_folders.at(index));
    if (index >= m_keepDecoded && !loaded.pictureBytes.isEmpty()) {
        loaded.picture = QImage();
    }
    return loaded;
}

qsizetype ComponentPreloader::claim()
{
    if (m_next >= m_folders.size() || m_next >= m_taken + qsizetype(m_slots.size())) {
        return -1;
    }
    // The next component to be taken may always be read, whatever the others hold.
    if (m_heldBytes >= maxAheadBytes && m_next > m_taken) {
        return -1;
    }
    return m_next++;
}

void ComponentPreloader::store(qsizetype index, PreloadedComponent &&loaded)
{
    Slot &slot = m_slots[index % qsizetype(m_slots.size())];
    slot.bytes = heldBytes(loaded);
    slot.loaded = std::move(loaded);
    m_heldBytes += slot.bytes;
}

void ComponentPreloader::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopping) {
            return;
        }
        const qsizetype index = claim();
        if (index < 0) {
            if (m_next >= m_folders.size()) {
                return;
            }
            ++m_workersWaiting;
            m_room.wait(lock);
            --m_workersWaiting;
            continue;
        }
        lock.unlock();
        PreloadedComponent loaded = read(index);
        lock.lock();
        store(index, std::move(loaded));
        if (m_takerWaiting) {
            m_ready.notify_one();
        }
    }
}

PreloadedComponent ComponentPreloader::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        Slot &slot = m_slots[index % qsizetype(m_slots.size())];
        if (slot.loaded) {
            PreloadedComponent loaded = std::move(*slot.loaded);
            slot.loaded.reset();
            m_heldBytes -= slot.bytes;
            m_taken = index + 1;
            // Waiting readers go on once half of what they may hold is taken, not at every
            // component, so that they are woken a few times rather than thousands.
            if (m_workersWaiting > 0 && m_heldBytes <= maxAheadBytes / 2
                && m_next - m_taken <= qsizetype(m_slots.size()) / 2) {
                m_room.notify_all();
            }
            return loaded;
        }
        if (index >= m_next) {
            // Nobody has begun it: read it here.
            m_next = index + 1;
            lock.unlock();
            PreloadedComponent loaded = read(index);
            lock.lock();
            m_taken = index + 1;
            if (m_workersWaiting > 0) {
                m_room.notify_all();
            }
            return loaded;
        }
        // A worker is reading it; rather than wait, read a later one meanwhile.
        if (const qsizetype other = claim(); other >= 0) {
            lock.unlock();
            PreloadedComponent loaded = read(other);
            lock.lock();
            store(other, std::move(loaded));
            continue;
        }
        m_takerWaiting = true;
        m_ready.wait(lock);
        m_takerWaiting = false;
    }
}
