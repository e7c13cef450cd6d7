#pragma once
// Servicing a pair of online games until something holds, for the network tests.
#include <chrono>
#include <functional>
#include <thread>

namespace pump {

using Clock = std::chrono::steady_clock;

// Services until `done` holds or `seconds` pass; true when it held.
inline bool pumpUntil(const std::function<void()>& service, const std::function<bool()>& done,
                      double seconds = 3.0)
{
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        service();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

} // namespace pump
