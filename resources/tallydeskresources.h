#pragma once

// Registers the compiled-in resources (":/locale/...", ":/images/..."). They live in a static
// library, whose registration code a program only links in when something refers to it, so the
// users of the resources call this before their first use. Safe to call any number of times.
void initTallydeskResources();
