// `zerin times --ics`: folding, escapes, the events, places files (clients: ics_clients_test.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "PrayerCalendar.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

const std::string a74(74, 'a'), a75(75, 'a');

// clang-format off
// A content line as written (fold), or a text as a TEXT value.
struct LineCase { bool fold; std::string text, written; };
const LineCase kLines[] = {
    {true, a75, a75 + "\r\n"},                                    // 75 octets: one line
    {true, a75 + "b", a75 + "\r\n b\r\n"},                        // 76: folded after the 75th
    {true, a74 + "€x", a74 + "\r\n €x\r\n"},                      // € (3 octets) would straddle the fold
    {true, a75 + std::string(75, 'b'), a75 + "\r\n " + std::string(74, 'b') + "\r\n b\r\n"},
    {false, "a,b;c\\d\ne", "a\\,b\\;c\\\\d\\ne"},
    {false, "tab\tbell\x07\r", "tab bell  "},
    {false, "\xD8\xB1\xFF\xD8", "\xD8\xB1\xEF\xBF\xBD\xEF\xBF\xBD"},  // ر, then bytes that are not UTF-8
};

// A calendar of `zerin times` and what its unfolded text holds: each part, that many times.
struct CalendarCase {
    const char* name;
    const char* args;
    std::vector<std::pair<std::string, int>> holds;
};
const char* const kRabatRamadan =
    "--lon 6:50W --lat 34:01N --tz Africa/Casablanca --from 2026-02-17 --days 3 --lang en --ramadan";
const CalendarCase kCalendars[] = {
    {"an instant on a summer clock, in UTC", "--lon 0:7W --lat 51:30N --tz Europe/London --from 2026-06-20 --days 1 --method isna --high-lat angle --asr shafii --lang en",
     {{"BEGIN:VEVENT", 5}, {"DTSTART:20260620T015200Z\r\nDURATION:PT0M\r\nSUMMARY:Fajr", 1}, {"SUMMARY:Asr\r\n", 1},
      {"Fajr at 02:52 on 2026-06-20 (UTC+01:00)\\nTime taken by the high-latitude rule angle", 1}, {"TRIGGER", 0}}},
    {"a reminder before, durations by prayer", "--from 2026-03-01 --days 1 --lang en --ics-alarm 15 --ics-duration fajr=20,isha=5",
     {{"DURATION:PT20M\r\nSUMMARY:Fajr", 1}, {"DURATION:PT5M\r\nSUMMARY:Isha", 1}, {"DURATION:PT0M", 4},
      {"BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Fajr\r\nTRIGGER:-PT15M\r\nEND:VALARM", 1}, {"TRIGGER:-PT15M", 6}}},
    {"Ramadan from its first day by Umm al-Qura", kRabatRamadan,
     {{"UID:20260217-imsak-", 0}, {"UID:20260218-imsak-", 1}, {"UID:20260219-imsak-", 1}, {"-iftar-", 2},
      {"DTSTART:20260218T053000Z\r\nDURATION:PT0M\r\nSUMMARY:Imsak", 1}, {"DTSTART:20260218T054000Z\r\nDURATION:PT0M\r\nSUMMARY:Fajr", 1},
      {"DTSTART:20260218T181400Z\r\nDURATION:PT0M\r\nSUMMARY:Iftar", 1}, {"CATEGORIES:Prayer times,Ramadan\r\n", 4},
      {"Hijri date 1447-09-01", 2}}},
    {"Ramadan by the sighting at the place, Imsak 20 minutes before", "--lon 6:50W --lat 34:01N --tz Africa/Casablanca --from 2026-02-17 --days 3 --ramadan --imsak 20 --hijri-rule sighting --lang en",
     {{"UID:20260218-imsak-", 0}, {"DTSTART:20260219T051900Z\r\nDURATION:PT0M\r\nSUMMARY:Imsak", 1}, {"Hijri date 1447-08-30", 6}}},
    {"Arabic by default, a named place, one duration, rising and the night", "--from 2026-03-01 --days 1 --name Fès;\"x\" --ics-duration 30 --ics-sunrise --extras",
     {{"PRODID:-//Zerin//Zerin ", 1}, {"//AR\r\n", 1}, {"SUMMARY:صلاة الفجر", 1}, {"SUMMARY:صلاة العصر الثاني", 1}, {"SUMMARY:الشروق", 1},
      {"SUMMARY:منتصف الليل", 1}, {"DURATION:PT30M", 7}, {"DURATION:PT0M", 2}, {"LOCATION:Fès\\;\"x\"", 9},
      {"X-WR-CALNAME:مواقيت الصلاة — Fès\\;\"x\"", 1}, {"الإعدادات: الطريقة", 9}}},
    {"bare coordinates, seconds, the second Asr alone", "--lon 6:50W --lat 34:01S --from 2026-03-01 --days 1 --lang en --seconds --asr hanafi",
     {{"LOCATION", 0}, {"X-WR-CALNAME:Prayer times — 34.02S 6.83W", 1}, {"GEO:-34.016667;-6.833333", 5},
      {"DTSTAMP:20231114T221320Z", 5}, {"SUMMARY:Asr\r\n", 1}, {"UID:20260301-asr-", 1}, {"UID:20260301-asr2-", 0}}},
};

// clang-format on

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(Calendar, LinesFoldAt75OctetsAndTextsAreEscaped) {
    for (const LineCase& c : kLines) {
        std::string out;
        if (c.fold) services::AppendIcsLine(out, c.text);
        EXPECT_EQ(c.fold ? out : services::IcsText(c.text), c.written) << c.text.size();
    }
}

TEST(Calendar, EachOptionReachesTheEvents) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    for (const CalendarCase& c : kCalendars) {
        SCOPED_TRACE(c.name);
        const CliResult r = RunCli(Words(std::string("times --ics - ") + c.args));
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string text = std::regex_replace(r.out, std::regex("\r\n "), "");
        for (const auto& [part, times] : c.holds) EXPECT_EQ(Count(text, part), times) << part;
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Calendar, APlacesFileGivesAFileForEachPlace) {
    ScratchFolder folder;
    const std::string places = folder / "places.csv", dir = folder / "calendars/";
    const auto times = [&](const std::string& rows, const std::string& target) {
        std::ofstream(places) << "name,latitude,longitude\n" << rows;
        return Words("times --from 2026-03-01 --days 2 --zone 0 --places " + places + " --ics " +
                     target);
    };
    const CliResult r = RunCli(times("Rabat,34:01N,6:50W\n\"a/b\",34N,5W\n.hidden,30N,5W\n", dir));
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* file : {"Rabat.ics", "a-b.ics", "_hidden.ics"})
        EXPECT_EQ(Count(ReadFile(dir + file), "LOCATION:"), 12u) << file;
    // Two names that would make one file: refused, nothing written.
    ExpectRefused(times("a/b,34N,5W\na-b,30N,5W\n", folder / "other/"),
                  "the places 'a/b' and 'a-b' would both be written to a-b.ics");
    EXPECT_FALSE(std::filesystem::exists(folder / "other"));
}

}  // namespace
}  // namespace zerin::test
