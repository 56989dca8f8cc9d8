// A printed timetable of many places is written page by page in bounded memory: 10,000
// places for 31 days (10,000 pages) against one place for the same days, each run by the
// program itself, its peak resident memory read back from the system (wait4). A test
// binary of its own, so that nothing else runs beside it. It takes minutes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

// A places file of n places spread over the world, each with its own zone.
void WritePlaces(const std::string& path, int n) {
    std::ofstream f(path);
    f << "name,latitude,longitude,zone\n";
    for (int k = 0; k < n; ++k)
        f << "P" << k << "," << (k * 37 % 100 - 50) << "," << (k * 53 % 340 - 170) << ","
          << (k % 25 - 12) << "\n";
}

struct Printed {
    int status = -1;
    long peakKb = 0;
};

// zerin times --places FILE --from 2026-03-01 --days 31 --pdf OUT, without a display.
Printed PrintPlaces(const std::string& places, const std::string& out) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        ::execl(ZERIN_EXE, "zerin", "times", "--places", places.c_str(), "--from", "2026-03-01",
                "--days", "31", "--pdf", out.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Printed printed;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
        printed.status = WEXITSTATUS(status);
        printed.peakKb = usage.ru_maxrss;
    }
    return printed;
}

TEST(PdfMemory, TenThousandPlacesForAMonthInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "under AddressSanitizer the resident memory is the sanitizer's";
#endif
    if (std::getenv("ZERIN_SKIP_LONG_TESTS"))
        GTEST_SKIP() << "ZERIN_SKIP_LONG_TESTS is set (scripts/mutate): this test takes minutes";
    const ScratchFolder folder;
    WritePlaces(folder / "one.csv", 1);
    WritePlaces(folder / "many.csv", 10000);
    const Printed one = PrintPlaces(folder / "one.csv", folder / "one.pdf");
    if (one.status == 2) GTEST_SKIP() << "built without the windows";
    ASSERT_EQ(one.status, 0);
    const Printed many = PrintPlaces(folder / "many.csv", folder / "many.pdf");
    ASSERT_EQ(many.status, 0);
    // 10,000 pages of some 7 KB each were written...
    EXPECT_GT(ReadFile(folder / "many.pdf").size(), 50'000'000u);
    // ...while the memory grew by the list of places only (some 2.5 KB a place), far from
    // the size of the file.
    EXPECT_LT(many.peakKb - one.peakKb, 40 * 1024)
        << one.peakKb << " KB for one place, " << many.peakKb << " KB for 10,000";
}

}  // namespace
}  // namespace zerin::test
