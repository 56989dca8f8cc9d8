// `zerin times --pdf` read back with poppler; many places in bounded memory (a long test).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TablesTestSupport.h"
#include "qibla/Qibla.h"

namespace zerin::test {

namespace {

// `zerin times ARGS --pdf FILE` without a display (no argument holds a blank or a quote).
ExeResult WritePdf(const std::string& args, const std::string& file) {
    return RunExe(" times " + args + " --pdf '" + file + "'",
                  "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
}

// clang-format off
struct Word { double xMin, yMin, xMax, yMax; std::string text; };
// clang-format on

// The words of each page as pdftotext -bbox places them, in points from the top left.
std::vector<std::vector<Word>> PageWords(const std::string& file) {
    const std::string out = ShellOut("pdftotext -bbox '" + file + "' -");
    std::vector<std::vector<Word>> pages;
    static const std::regex token(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator m(out.begin(), out.end(), token), none; m != none; ++m) {
        if (!(*m)[1].matched)
            pages.emplace_back();  // a page begins
        else
            pages.back().push_back({std::stod((*m)[1]), std::stod((*m)[2]), std::stod((*m)[3]),
                                    std::stod((*m)[4]), (*m)[5]});
    }
    return pages;
}

std::set<std::string> Texts(const std::vector<Word>& page) {
    std::set<std::string> texts;
    for (const Word& w : page) texts.insert(w.text);
    return texts;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The cells a printed row shows: the date, then the times; filled ones with *, missing "—".
std::vector<std::string> PrintedCells(const std::vector<std::string>& csv, const std::string& asr) {
    const std::string adjusted = csv.size() > 9 ? csv[9] : "";
    std::vector<std::string> cells{csv[0]};
    const char* const keys[] = {"fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha"};
    for (int k = 0; k < 7; ++k) {
        if ((k == 3 && asr == "2") || (k == 4 && asr == "1")) continue;
        std::string cell = csv[2 + k].empty() ? "—" : csv[2 + k];
        if (adjusted.find(keys[k]) != std::string::npos) cell += "*";
        cells.push_back(cell);
    }
    return cells;
}

// A CSV row's date on a page: a weekday at its right, then the date and times right to left.
void ExpectPrintedRow(const std::vector<Word>& page, const std::vector<std::string>& row,
                      const std::string& asr) {
    // The lowest of the date's words: the header may name the date too.
    const Word* date = nullptr;
    for (const Word& w : page)
        if (w.text == row[0] && (!date || w.yMin > date->yMin)) date = &w;
    ASSERT_TRUE(date) << row[0] << " is not on the page";
    // The words on its line (their vertical middles within two points), from the right.
    std::vector<Word> line;
    for (const Word& w : page)
        if (std::fabs(w.yMin + w.yMax - date->yMin - date->yMax) / 2 < 2) line.push_back(w);
    std::sort(line.begin(), line.end(),
              [](const Word& a, const Word& b) { return a.xMin > b.xMin; });
    std::vector<std::string> printed;
    bool weekday = false;
    for (const Word& w : line) {
        if (w.xMin > date->xMin && !IsAscii(w.text)) weekday = true;  // Arabic, at the right
        if (w.xMin <= date->xMin) printed.push_back(w.text);
    }
    EXPECT_TRUE(weekday) << row[0] << ": no weekday at the right of the date";
    EXPECT_EQ(printed, PrintedCells(row, asr)) << row[0];
}

// A PDF written by the zerin executable, read back with poppler's tools.
class PdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v pdftotext pdffonts > /dev/null") != 0)
            GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts) is not installed";
        const ExeResult probe = WritePdf("--from 2005-06-17 --days 1", file_);
        if (probe.err.find("built without the windows") != std::string::npos)
            GTEST_SKIP() << "this zerin is built without the windows";
        ASSERT_EQ(probe.status, 0) << probe.err;
    }
    void TearDown() override { std::remove(file_.c_str()); }
    const std::string file_ = Scratch("times_pdf_test.pdf");
};

// Every CSV row is a row of its month's page, read from the right.
TEST_F(PdfTest, EveryRowOfTheCsvIsARowOfItsPageReadFromTheRight) {
    // The place, the clock, the days and the rule; --asr ("" for both); the pages.
    // clang-format off
    const struct { const char* what; std::string options, asr; std::size_t pages; } cases[] = {
        {"Rabat, March 2026, the clock moves an hour on the 22nd",
         "--lon 6:50:0W --lat 34:1:0N --tz Africa/Casablanca --from 2026-03-01 --days 31", "", 1},
        {"Mecca, a year on zone -3: a page per month",
         "--lon 39:49:0E --lat 21:25:0N --zone -3 --from 2005-01-01 --to 2005-12-31", "", 12},
        {"Oslo, June, seconds, the seventh of the night, the first afternoon time",
         "--lon 10:45:0E --lat 59:55:0N --zone -1 --summer 1 --from 2025-06-10 --days 10 --seconds --high-lat seventh", "1", 1},
        {"Tromsø, June, no rule: dawn and nightfall never come; the second afternoon time",
         "--lon 18:57:0E --lat 69:39:0N --zone -1 --from 2025-05-30 --days 5", "2", 2}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ExeResult written =
            WritePdf(c.options + (c.asr.empty() ? "" : " --asr " + c.asr), file_);
        ASSERT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(written.err, "");  // nothing of Qt's remarks on its surroundings
        const std::vector<std::vector<std::string>> rows =
            CsvTable(Words("times " + c.options + " --csv"));
        const std::vector<std::vector<Word>> pages = PageWords(file_);
        ASSERT_EQ(pages.size(), c.pages);
        std::size_t page = 0;  // a page per month
        for (std::size_t k = 0; k < rows.size(); ++k) {
            page += k > 0 && rows[k][0].substr(0, 7) != rows[k - 1][0].substr(0, 7);
            ASSERT_LT(page, pages.size());
            ExpectPrintedRow(pages[page], rows[k], c.asr);
        }
    }
}

TEST_F(PdfTest, AFirstDayIsTheSameDayInsideALongerTable) {
    // A clock far West of the meridian: the rising falls after 12:00.
    const std::string place = "--lat 23.8793N --lon 92.1253W --zone 0 --seconds ";
    const ExeResult written = WritePdf(place + "--from 2007-10-01 --days 1", file_);
    ASSERT_EQ(written.status, 0) << written.err;
    const auto rows = CsvTable(Words("times " + place + "--from 2007-09-29 --days 3 --csv"));
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::vector<Word>> pages = PageWords(file_);
    ASSERT_EQ(pages.size(), 1u);
    ExpectPrintedRow(pages[0], rows[2], "");
}

TEST_F(PdfTest, AnArabicFontIsEmbedded) {
    int status = -1;
    const std::string fonts = ShellOut("pdffonts '" + file_ + "'", &status);
    ASSERT_EQ(status, 0);
    bool arabic = false;
    for (const std::string& line : SplitAt(fonts, '\n')) {
        if (!Contains(line, "Arabic") && !Contains(line, "Amiri")) continue;
        const std::vector<std::string> c = Words(line);
        // name, type (two words), encoding, emb, sub, uni, object, generation
        ASSERT_GE(c.size(), 6u) << line;
        EXPECT_EQ(c[c.size() - 5], "yes") << "not embedded: " << line;
        arabic = true;
    }
    EXPECT_TRUE(arabic) << fonts;
}

// The header: the zone with each offset of the month, the Qibla; the footer: page of pages.
TEST_F(PdfTest, TheHeaderGivesTheZoneAndTheQiblaAndTheFooterThePage) {
    const std::string options =
        "--lon 6:50:0W --lat 34:1:0N --tz Africa/Casablanca --from 2026-02-01 --to 2026-04-30";
    ASSERT_EQ(WritePdf(options + " --name Rabat", file_).status, 0);
    const std::vector<std::vector<Word>> pages = PageWords(file_);
    ASSERT_EQ(pages.size(), 3u);
    std::map<std::string, std::set<std::string>> offsets;  // of each month
    for (const std::vector<std::string>& row : CsvTable(Words("times " + options + " --csv")))
        offsets[row[0].substr(0, 7)].insert("UTC" + row[1]);
    char bearing[32];
    std::snprintf(bearing, sizeof bearing, "%.2f", QiblaOf(6 + 50 / 60.0, 34 + 1 / 60.0).Qibla);

    std::size_t page = 0;
    for (const auto& [month, shown] : offsets) {
        const std::set<std::string> words = Texts(pages[page]);
        SCOPED_TRACE(month);
        EXPECT_TRUE(words.count("Rabat"));
        EXPECT_FALSE(words.count("Africa/Casablanca"));  // named in Arabic
        for (const std::string& offset : shown) EXPECT_TRUE(words.count(offset)) << offset;
        EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const std::string& w) {
            return Contains(w, bearing);
        })) << bearing;
        // The numbers at the foot of the page: this page's and the count.
        std::multiset<std::string> foot;
        for (const Word& w : pages[page])
            if (w.yMin > 842 - 60 && IsAscii(w.text)) foot.insert(w.text);
        EXPECT_EQ(foot, (std::multiset<std::string>{std::to_string(page + 1), "3"}));
        ++page;
    }
    // Ramadan moves Morocco's clock: the page of March names both offsets.
    EXPECT_EQ(offsets["2026-03"].size(), 2u);
}

// What the pages' headers say: the adjustments in Arabic (no English names, whole signed
// numbers, LTR); a places file's page per place and month, under its name, on its clock.
TEST_F(PdfTest, WhatThePagesHeadersSay) {
    const ScratchFolder folder;
    std::ofstream(folder / "places.csv")
        << "name,latitude,longitude,zone\nRabat,34:01N,6:50W,Africa/Casablanca\n"
           "Mecca,21:25N,39:49E,-3\n";
    const std::vector<std::string> rabat = {"Rabat", "UTC+01:00"}, mecca = {"Mecca", "UTC+03:00"};
    // The options; the words of each page; words that stand on none.
    // clang-format off
    const struct { std::string options; std::vector<std::vector<std::string>> shown; std::vector<std::string> hidden; } cases[] = {
        {"--lat 41.0082N --lon 28.9784E --zone -3 --from 2024-03-01 --days 2 --method turkey --adjust fajr=+3",
         {{"+3", "-7", "+5", "+4", "+7"}}, {"fajr", "sunrise", "dhuhr", "turkey;", "none"}},
        {"--places " + (folder / "places.csv") + " --from 2026-03-01 --days 40", {rabat, rabat, mecca, mecca}, {}}};
    // clang-format on
    for (const auto& c : cases) {
        const ExeResult r = WritePdf(c.options, file_);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::vector<Word>> pages = PageWords(file_);
        ASSERT_EQ(pages.size(), c.shown.size());
        for (std::size_t page = 0; page < pages.size(); ++page) {
            const std::set<std::string> words = Texts(pages[page]);
            for (const std::string& w : c.shown[page]) EXPECT_TRUE(words.count(w)) << page << w;
            for (const std::string& w : c.hidden) EXPECT_FALSE(words.count(w)) << w;
        }
    }
}

TEST_F(PdfTest, AFileThatCannotBeWrittenIsSaidAndNothingIsLeft) {
    const ExeResult r = WritePdf("--from 2005-06-01 --days 30", "no-such-folder/times.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "zerin: could not write no-such-folder/times.pdf")) << r.err;
    EXPECT_NE(access("no-such-folder", F_OK), 0);
}

// 10,000 places for a month: the memory grows by the list of places only (some 2.5 KB each),
// not by the file's 10,000 pages of some 7 KB each.
TEST(PdfMemory, TenThousandPlacesForAMonthInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "under AddressSanitizer the resident memory is the sanitizer's";
#endif
    if (std::getenv("ZERIN_SKIP_LONG_TESTS"))
        GTEST_SKIP() << "ZERIN_SKIP_LONG_TESTS is set (scripts/mutate): this test takes minutes";
    const ScratchFolder folder;
    long peakKb[2] = {};  // the largest resident memory of the program's runs so far
    for (const int n : {1, 10000}) {
        std::ofstream places(folder / "places.csv");  // spread over the world, each its own zone
        places << "name,latitude,longitude,zone\n";
        for (int k = 0; k < n; ++k)
            places << "P" << k << "," << (k * 37 % 100 - 50) << "," << (k * 53 % 340 - 170) << ","
                   << (k % 25 - 12) << "\n";
        places.close();
        const int status = WritePdf("--places " + (folder / "places.csv") +
                                        " --from 2026-03-01 --days 31 > /dev/null",
                                    folder / "out.pdf")
                               .status;
        if (status == 2) GTEST_SKIP() << "built without the windows";
        ASSERT_EQ(status, 0);
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        peakKb[n > 1] = usage.ru_maxrss;
    }
    EXPECT_GT(ReadFile(folder / "out.pdf").size(), 50'000'000u);
    EXPECT_LT(peakKb[1] - peakKb[0], 40 * 1024)
        << peakKb[0] << " KB for one place, " << peakKb[1] << " KB for 10,000";
}

}  // namespace
}  // namespace zerin::test
