// The Moon's report: whole reports byte for byte, the Sun it reads, its faults.
#include <gtest/gtest.h>

#include "Commands.h"
#include "ModCalcule.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

TEST(MoonGolden, ReportOf17June2005Noon) {
    const CliResult r = RunCli(ReportArgs("moon", "2005", "6", "17"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Golden("report-moon-2005-06-17-1200.txt"));
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace zerin::test
