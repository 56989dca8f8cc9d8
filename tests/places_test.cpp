// zerin times --places: the file's format, each refused row with its line number (nothing
// written), and each place's rows the same as its own table.
#include "Places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

// A places file in the build folder, removed at the end of the test.
class PlacesFile {
  public:
    explicit PlacesFile(const std::string& text) {
        static int count = 0;
        path_ = Scratch("places_test_" + std::to_string(++count) + ".csv");
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~PlacesFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::vector<std::string> Times(const std::string& path, const std::string& more = "") {
    return Words("times --places " + path + " --from 2025-06-01 --days 2 --csv " + more);
}

TEST(Places, EachPlaceAsItsOwnTable) {
    // A byte-order mark, CR LF line ends, a comment, a quoted name with a comma and a quote,
    // an Arabic name, the zone by name, by hours, and from the command line.
    const PlacesFile file(
        "\xEF\xBB\xBFname,latitude,longitude,zone\r\n"
        "# Morocco and beyond\r\n"
        "Rabat,34:01N,6:50W,Africa/Casablanca\r\n"
        "\"Fes, \"\"medina\"\"\",34.06,4.98,0\r\n"
        "\xD9\x85\xD9\x83\xD8\xA9,21:25N,39:49E,-3\r\n"
        "\r\n"
        "Oslo,59:55N,10:45E,\r\n");
    const CliResult r = RunCli(Times(file.path(), "--zone -1"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::pair<const char*, const char*> own[] = {
        {"Rabat", "--lat 34:01N --lon 6:50W --tz Africa/Casablanca"},
        {"\"Fes, \"\"medina\"\"\"", "--lat 34.06 --lon 4.98 --zone 0"},
        {"\xD9\x85\xD9\x83\xD8\xA9", "--lat 21:25N --lon 39:49E --zone -3"},
        {"Oslo", "--lat 59:55N --lon 10:45E --zone -1"}};
    std::string expected =
        "place,date,utc_offset,fajr,sunrise,transit,asr1,asr2,sunset,isha,"
        "adjusted\n";
    for (const auto& [name, options] : own) {
        const CliResult single =
            RunCli(Words(std::string("times --from 2025-06-01 --days 2 --csv ") + options));
        ASSERT_EQ(single.status, 0) << single.err;
        std::istringstream lines(single.out);
        std::string line;
        std::getline(lines, line);  // its header
        while (std::getline(lines, line)) expected += std::string(name) + "," + line + "\n";
    }
    EXPECT_EQ(r.out, expected);
}

TEST(Places, RefusedRowsNameTheirLine) {
    struct Case {
        std::string text, more, message;  // FILE: the places file's name
    };
    const Case cases[] = {
        {"", "", "no header row"},
        {"city,lat,lon\n", "", "FILE:1: the header row is name,latitude,longitude"},
        {"name,latitude,longitude\n", "--zone 0", "no place after the header row"},
        {"name,latitude,longitude,zone\nA,95N,3W,0\n", "",
         "FILE:2: the latitude: --lat '95N' is out of range"},
        {"name,latitude,longitude,zone\nA,30N,3W,0\nB,30N,3Q,0\n", "",
         "FILE:3: the longitude: --lon takes D[:M[:S]]"},
        {"name,latitude,longitude,zone\nA,30N,3W,0\n\nA,31N,3W,0\n", "",
         "FILE:4: 'A' is also the name on line 2: give each"},
        {"name,latitude,longitude,zone\nF\xC3\xA8s,30N,3W,0\nFe\xCC\x80s,31N,3W,0\n", "",
         "FILE:3: 'Fe\xCC\x80s' is also the name on line 2 (the same letters, composed otherwise)"},
        {"name,latitude,longitude,zone\n,30N,3W,0\n", "", ":2: the place has no name"},
        {"name,latitude,longitude,zone\nA,30N,3W,0,extra\n", "", ":2: 5 fields, not 4"},
        {"name,latitude,longitude,zone\n\"A,30N,3W,0\n", "", ":2: a quoted field is not closed"},
        {"name,latitude,longitude,zone\nA,30N,3W,Mars/Olympus_Mons\n", "",
         ":2: the zone: unknown time zone 'Mars/Olympus_Mons'"},
        {"name,latitude,longitude,zone\nA,30N,3W,13\n", "",
         ":2: the zone: --zone takes whole hours from -14 to 12"},
        {"name,latitude,longitude,zone\nA,30N,3W,\n", "", ":2: no zone: give one"},
        {"name,latitude,longitude\nA,,3W\n", "--zone 0", ":2: no latitude"},
        {"name,latitude,longitude\nA,30N,3W\n", "--lat 30",
         "--places gives the places: it does not go with --lat"},
        {"name,latitude,longitude\n" + std::string(5000, 'x') + "\n", "",
         ":2: a line of more than 4096 bytes"},
        // The name's text: UTF-8 without control characters, a byte-order mark only first.
        {"name,latitude,longitude,zone\nA,30N,3W,0\n\xFF\xFE"
         "City,1,1,0\n",
         "", ":3: bytes that are not UTF-8 text"},
        {"name,latitude,longitude,zone\n\xC0\xAF"
         "City,1,1,0\n",
         "", ":2: bytes that are not UTF-8 text"},  // an overlong "/"
        {"name,latitude,longitude,zone\n\xED\xA0\x80"
         "City,1,1,0\n",
         "", ":2: bytes that are not UTF-8 text"},  // a surrogate
        {"name,latitude,longitude,zone\nCity\xE2\x82,1,1,0\n", "",
         ":2: bytes that are not UTF-8 text"},  // a cut character
        {"name,latitude,longitude,zone\n\x1B[31mRed,1,1,0\n", "",
         ":2: a control character, which no place's name holds"},
        {"name,latitude,longitude,zone\nA\x7F"
         "B,1,1,0\n",
         "", ":2: a control character"},
        {"name,latitude,longitude,zone\nA\xC2\x85"
         "B,1,1,0\n",
         "", ":2: a control character"},
        {"name,latitude,longitude,zone\nA" + std::string(1, '\0') + "B,1,1,0\n", "",
         ":2: a NUL byte"},
        {"name,latitude,longitude,zone\nA\tB,1,1,0\n", "", ":2: a tab inside the name"},
        {"name,latitude,longitude,zone\n\xEF\xBB\xBFMakkah,21.42,39.83E,-3\n", "",
         ":2: a byte-order mark (U+FEFF) that is not at the start of the file"},
        // A right-to-left override, an isolate and a line separator: a row shown reordered
        // or cut in two.
        {"name,latitude,longitude,zone\nC\xE2\x80\xAE"
         "D,34N,6W,0\n",
         "", ":2: a character that changes the writing direction or breaks the line (U+202E)"},
        {"name,latitude,longitude,zone\nC\xE2\x81\xA6"
         "D,34N,6W,0\n",
         "", "(U+2066)"},
        {"name,latitude,longitude,zone\nC\xE2\x80\xA8"
         "D,34N,6W,0\n",
         "", "(U+2028)"},
    };
    for (const Case& c : cases) {
        const PlacesFile file(c.text);
        std::string message = c.message;
        if (message.rfind("FILE:", 0) == 0) message.replace(0, 4, file.path());
        ExpectRefused(Times(file.path(), c.more), message);
    }
    ExpectRefused(Times("no/such/places.csv"),
                  "zerin: cannot open the places file 'no/such/places.csv': No such file");
}

// What is not a regular file is refused unopened: a FIFO without a writer would wait for ever,
// /dev/zero has no end. Standard input is read when the file is "-".
TEST(Places, OnlyARegularFileOrStandardInput) {
    const std::string fifo = Scratch("places_test.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "zerin: the places file '" + fifo + "' is a FIFO, not a file: give a CSV file"},
        {"/dev/zero", "zerin: the places file '/dev/zero' is a device, not a file"},
        {"/tmp", "zerin: the places file '/tmp' is a folder, not a file"},
    };
    for (const auto& [path, message] : cases) ExpectRefused(Times(path, "--zone 0"), message);
    std::remove(fifo.c_str());

    const PlacesFile file("name,latitude,longitude,zone\nRabat,34:01N,6:50W,0\n");
    const std::string out = Scratch("places_test_stdin.csv");
    const ExeResult r = RunExe(" times --places - --from 2025-06-01 --days 2 --csv > '" + out +
                               "' < '" + file.path() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out), RunCli(Times(file.path())).out);
    EXPECT_NE(ReadFile(out).find("\nRabat,2025-06-02,"), std::string::npos);
    std::remove(out.c_str());
}

// An input without end, as /dev/zero or a line without a line end: the reader stops after
// the 4097th byte of the line, however long it is.
TEST(Places, ALineIsReadNoFurtherThanItsBound) {
    class Endless : public std::streambuf {
      public:
        explicit Endless(char fill) { std::memset(buffer_, fill, sizeof buffer_); }
        std::size_t given = 0;

      protected:
        int_type underflow() override {
            given += sizeof buffer_;
            setg(buffer_, buffer_, buffer_ + sizeof buffer_);
            return traits_type::to_int_type(buffer_[0]);
        }

      private:
        char buffer_[512];
    };
    for (const char fill : {'x', '\0'}) {
        Endless endless(fill);
        std::istream in(&endless);
        std::vector<services::TablePlace> places;
        std::string error;
        EXPECT_FALSE(services::ReadPlaces(in, "endless", services::TableOptions(), places, error));
        EXPECT_EQ(error, "endless:1: a line of more than 4096 bytes: is this a places file?");
        EXPECT_LE(endless.given, 4097u + 512u);
    }
}

// The rows of a table are the places times the days: at most 1,000,000.
TEST(Places, TheRowsAreThePlacesTimesTheDays) {
    const PlacesFile file("name,latitude,longitude,zone\nA,30N,3W,0\nB,31N,3W,0\n");
    ExpectRefused(Words("times --places " + file.path() + " --from 2000-01-01 --days 500001 --csv"),
                  "zerin: a table of 2 places x 500001 days = 1000002 rows: at most 1,000,000");
    ExpectRefused(
        Words("times --places " + file.path() + " --from 2000-01-01 --days 500001 --pdf x.pdf"),
        "zerin: a table of 2 places x 500001 days = 1000002 rows: at most 1,000,000");
    // At the limit the table is begun: its first rows reach an output that holds 4 KiB.
    robust::CappedStream out(4096), err;
    EXPECT_EQ(
        cli::Run(Words("times --places " + file.path() + " --from 2000-01-01 --days 500000 --csv"),
                 out.file(), err.file()),
        1)
        << err.text();
    // The header first.
    EXPECT_EQ(out.text().rfind("place,date,", 0), 0u);
}

// A day that one place's clock skips: the note names the place.
TEST(Places, TheSkippedDaysNoteNamesThePlace) {
    if (!HaveZone("Pacific/Apia")) GTEST_SKIP() << "no time-zone database";
    const PlacesFile file(
        "name,latitude,longitude,zone\nApia,13.83S,171.75W,Pacific/Apia\nRabat,34:01N,6:50W,0\n");
    const std::string days = "times --places " + file.path() + " --from 2011-12-29 --days 2 ";
    const CliResult text = RunCli(Words(days + "--lang en"));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("\n2011-12-30 (Apia): the local clock skips these days"),
              std::string::npos)
        << text.out;
    const CliResult csv = RunCli(Words(days + "--csv"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(
        csv.err,
        "zerin: Settings: method morocco; fajr 19°; isha 17°; adjustments none; rounding nearest; "
        "horizon -0.8333°; elevation 0 m; high latitudes none; polar none\n"
        "zerin: the local clock skips 2011-12-30 (Apia) (the zone moved across the date "
        "line): the day has no row\n");
}

TEST(Places, TextAndJsonNameThePlaces) {
    const PlacesFile file("name,latitude,longitude,zone\nRabat,34:01N,6:50W,0\n");
    const std::string day = "times --places " + file.path() + " --from 2025-06-01 --days 1 ";
    const CliResult text = RunCli(Words(day + "--lang en"));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.find("\nPlace  Date        UTC offset"), text.out.find('\n')) << text.out;
    EXPECT_NE(text.out.find("\nRabat  2025-06-01  +00:00"), std::string::npos) << text.out;
    const CliResult json = RunCli(Words(day + "--json"));
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"places\": [\n    {\"name\": \"Rabat\", \"lon\": "
                             "6.83333333333333, \"lat\": 34.0166666666667, \"zone\": \"0\"}\n  ], "
                             "\"prayer_method\": \"morocco\", \"fajr_angle\": 19, "
                             "\"isha_angle\": 17, \"isha_interval\": null, \"ramadan_interval\": "
                             "null, \"maghrib_angle\": null, \"adjustments\": {\"fajr\": 0, "
                             "\"sunrise\": 0, \"dhuhr\": 0, \"asr\": 0, \"maghrib\": 0, "
                             "\"isha\": 0}, \"rounding\": \"nearest\", \"horizon\": -0.8333, "
                             "\"elevation\": 0, \"high_lat\": \"none\", \"polar\": \"none\", "
                             "\"method\": \"exact\", \"rows\": [\n  "
                             "{\"place\": \"Rabat\", \"date\": \"2025-06-01\"",
                             0),
              0u)
        << json.out;
}

TEST(Places, ADayIsTheSameDayInsideALongerTable) {
    // Clocks far West of the meridians: the rising falls after 12:00, and once came out as
    // the day before's for each place's first day.
    const PlacesFile file(
        "name,latitude,longitude,zone\n"
        "A,23.8793N,92.1253W,0\nB,50N,92W,0\nC,10S,91.5W,0\nD,53.6627S,155.7374E,9\n");
    const auto rowsOf = [&file](const std::string& from, const std::string& days) {
        std::vector<std::vector<std::string>> rows;
        for (auto& row : CsvTable(Words("times --places " + file.path() + " --from " + from +
                                        " --days " + days + " --csv --seconds")))
            if (row[1] == "2007-10-01") rows.push_back(row);
        return rows;
    };
    const auto alone = rowsOf("2007-10-01", "1");
    ASSERT_EQ(alone.size(), 4u);
    EXPECT_EQ(alone, rowsOf("2007-09-29", "3"));
    EXPECT_EQ(alone, rowsOf("2007-09-01", "31"));
}

}  // namespace
}  // namespace zerin::test
