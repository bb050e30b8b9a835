#include "platform/databasetesting.h"
#include "platform/dbinternal.h"

namespace platform {

namespace {

// Only tests set these; the programs run with failAt 0.
int writes = 0;
int failAt = 0;

} // namespace

void countWrite()
{
    ++writes;
    if (failAt > 0 && writes == failAt)
        throwDbError(testing::kFailedWriteError);
}

namespace testing {

FailWriteNumber::FailWriteNumber(int number)
{
    writes = 0;
    failAt = number;
}

FailWriteNumber::~FailWriteNumber()
{
    failAt = 0;
}

int FailWriteNumber::writesDone() const
{
    return writes;
}

bool FailWriteNumber::failed() const
{
    return failAt > 0 && writes >= failAt;
}

} // namespace testing

} // namespace platform
