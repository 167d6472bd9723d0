#include "shell/fontwarmup.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace {

std::thread &warmupThread()
{
    static std::thread thread;
    return thread;
}

} // namespace

void startFontWarmup()
{
    std::thread &thread = warmupThread();
    if (thread.joinable())
        return;
    // FcInit loads the same default configuration the toolkit asks for later; it is safe to
    // call from any thread.
    thread = std::thread([] { (void)FcInit(); });
}

void waitForFontWarmup()
{
    std::thread &thread = warmupThread();
    if (thread.joinable())
        thread.join();
}
