#pragma once

#include "support/slowdown.h"

#include <QtGlobal>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

// Runs `call` on a thread of its own, so that a read or search that blocks (on a FIFO, say) fails
// the test instead of hanging it, and rethrows what the call raised. A call that has not ended
// after ten seconds (times KK_TEST_SLOWDOWN, which sanitizer builds set) still refers to the test's
// own variables, so nothing may go back to the test: the test program stops there, as a failure.
inline void finishesInTime(std::function<void()> call)
{
    const int limit = slowed(10);
    std::packaged_task<void()> task(std::move(call));
    std::future<void> done = task.get_future();
    std::thread thread(std::move(task));
    if (done.wait_for(std::chrono::seconds(limit)) != std::future_status::ready) {
        qFatal("a call that should have ended at once still runs after %d s", limit);
    }
    thread.join();
    done.get();
}
