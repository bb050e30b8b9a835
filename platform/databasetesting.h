#pragma once

// A seam of the database layer for tests: it makes one chosen write fail, so
// that a save running in a transaction can be tried with each of its writes
// failing in turn and the tables checked to be as they were.
//
// Writes are counted in every open Database of the process: each
// Database::execute, each Recordset::update (after addNew or edit) and each
// Recordset::deleteCurrent is one write. Typical use:
//
//     int writes = 0;
//     {
//         platform::testing::FailWriteNumber count(0); // counts, fails none
//         Save();
//         writes = count.writesDone();
//     }
//     for (int n = 1; n <= writes; ++n) {
//         platform::testing::FailWriteNumber failing(n);
//         Save();                 // the n-th write throws kFailedWriteError
//         EXPECT_TRUE(failing.failed());
//         ... the tables hold what they held before
//     }

namespace platform::testing {

// Number of the engine error the chosen write throws ("Error de disco o de red.").
constexpr int kFailedWriteError = 3043;

// While it lives, the `number`-th write from its creation (1 is the first)
// throws DbError kFailedWriteError before it changes anything; 0 fails none.
// Guards do not nest: the newest one is the one in force.
class FailWriteNumber {
public:
    explicit FailWriteNumber(int number);
    ~FailWriteNumber();
    FailWriteNumber(const FailWriteNumber&) = delete;
    FailWriteNumber& operator=(const FailWriteNumber&) = delete;

    int writesDone() const; // writes tried since the guard was made, the failed one included
    bool failed() const;    // the chosen write was reached and made to fail
};

} // namespace platform::testing
