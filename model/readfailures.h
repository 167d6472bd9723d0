#pragma once

#include <cstdint>

// Reads of the unit that failed as a whole: the call failed (no link, no answer in time, an error
// frame, a lost further part of the reply) or the unit refused the request without naming a key.
// A key or list the unit refuses by name is not counted (a unit may simply not know it), nor is a
// call the busy client refused to send. Pages compare the count before and after they read, to
// tell the operator that what they show was not read. GUI thread only.

// How many such reads there have been since the program started.
[[nodiscard]] std::uint64_t failedReads();
// Counts one such read; callResult is how its call ended (as TComRequest::lastCallResult()), and
// -1, a call the busy client never sent, is not counted.
void countFailedRead(int callResult);
