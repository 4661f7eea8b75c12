#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own while the application object and
// the window are being set up, so that the first text the window lays out finds it ready instead
// of parsing it then. Where the system has no such configuration to read, it does nothing. The
// object waits for the thread when it goes, so that nothing is left running at exit.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

private:
    std::thread m_thread;
};
