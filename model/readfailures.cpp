#include "model/readfailures.h"

namespace {

std::uint64_t s_failedReads = 0;

} // namespace

std::uint64_t failedReads()
{
    return s_failedReads;
}

void countFailedRead(int callResult)
{
    // A call the busy client never sent says nothing about the unit.
    if (callResult != -1)
        ++s_failedReads;
}
