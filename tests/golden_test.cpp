// Whole reports, byte for byte, against reference files checked by hand.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace zerin::test {
namespace {

TEST(Golden, SunReportOf17June2005Noon) {
    const CliResult r = RunCli(ReportArgs("sun", "2005", "6", "17"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Golden("report-sun-2005-06-17-1200.txt"));
    EXPECT_EQ(r.err, "");
}

TEST(Golden, Preface) {
    const CliResult r = RunCli({"preface"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Golden("preface.txt"));
}

}  // namespace
}  // namespace zerin::test
