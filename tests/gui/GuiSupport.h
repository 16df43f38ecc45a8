#pragma once

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

// Runs pending GUI events until done() holds or the timeout passes.
inline bool pumpEventsUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        wxTheApp->ProcessPendingEvents();
        wxYield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline void pumpEvents(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    pumpEventsUntil([&] { return std::chrono::steady_clock::now() > end; }, milliseconds + 1000);
}

// Writes the X display's whole screen to $KOVRA_SCREENSHOTS/<name>.png when
// that folder is set; nothing otherwise.
inline void takeScreenshot(const std::string& name)
{
    const char* folder = std::getenv("KOVRA_SCREENSHOTS");
    if (!folder)
        return;
    wxTheApp->ProcessPendingEvents();
    wxYield();
    const std::string command = "import -window root '" + std::string(folder) + "/" + name + ".png'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "screenshot %s failed\n", name.c_str());
}
