#include "shell/fontwarmup.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace {

// Held by pointer: a program that ends without waiting (a fatal error before the window) must
// not run a joinable thread's destructor, which would abort it.
std::thread *warmupThread = nullptr;

} // namespace

void startFontWarmup()
{
    if (warmupThread)
        return;
    // FcInit loads the same default configuration the toolkit asks for later; it is safe to
    // call from any thread.
    warmupThread = new std::thread([] { (void)FcInit(); });
}

void waitForFontWarmup()
{
    if (!warmupThread)
        return;
    warmupThread->join();
    delete warmupThread;
    warmupThread = nullptr;
}
