#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

// Runs `call` on a thread of its own, so that a read or search that blocks (on a FIFO, say) fails
// the test instead of hanging it. Rethrows what the call raised; false when it did not end in time.
inline bool finishesInTime(std::function<void()> call)
{
    using namespace std::chrono_literals;
    auto task = std::make_shared<std::packaged_task<void()>>(std::move(call));
    auto done = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (done.wait_for(10s) != std::future_status::ready) {
        return false;
    }
    done.get();
    return true;
}
