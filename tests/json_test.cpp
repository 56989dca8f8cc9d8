// The JSON forms: `zerin report BODY --json` and the tables' --json, parsed back by an
// independent reader (Python's json module, strict about numbers) and checked against the
// text forms.
#include "Json.h"

#include <gtest/gtest.h>

#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

// Python's json module reads the JSON back; without it the test is skipped.
class Json : public testing::Test {
  protected:
    void SetUp() override {
        if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "python3 is needed to read the JSON back";
    }
};

// What a Python expression on the parsed JSON `d` prints; NaN and Infinity are refused as
// the JSON grammar refuses them.
std::string Parsed(const std::string& json, const std::string& expression) {
    const std::string path = Scratch("json_test.json");
    std::ofstream(path, std::ios::binary) << json;
    const std::string command =
        "python3 -c 'import json,sys\ndef refuse(x): raise ValueError(x)\n"
        "d = json.load(open(sys.argv[1], encoding=\"utf-8\"), parse_constant=refuse)\nprint(" +
        expression + ")' " + path + " 2>&1";
    std::string out;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    std::remove(path.c_str());
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

TEST(JsonString, Escapes) {
    // A byte that is not UTF-8 is the replacement character: the document stays JSON.
    const std::pair<const char*, const char*> kCases[] = {
        {"EtéRegl", "\"EtéRegl\""},
        {"a\"b\\c\r\n\t\x01", "\"a\\\"b\\\\c\\r\\n\\t\\u0001\""},
        {"\xFF\xFE", "\"\\ufffd\\ufffd\""},
        {"a\xC3", "\"a\\ufffd\""},                                 // a cut character
        {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                        // an overlong "/"
        {"\xE2\x80\xA8", "\"\xE2\x80\xA8\""},                      // U+2028 as it stands
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // past U+10FFFF
    };
    for (const auto& [text, json] : kCases) EXPECT_EQ(services::JsonString(text), json) << text;
}

// Every places file of the fuzz corpus, and names chosen to break a careless writer: what is
// accepted is valid JSON whose rows carry the names of the places, what is refused writes
// nothing.
TEST_F(Json, PlacesFilesGiveValidJson) {
    std::vector<std::string> files;
    for (const char* name :
         {"plain", "bom-crlf", "bom-line-two", "invalid-utf8", "overlong", "escape", "nul",
          "quotes", "arabic", "c1-control", "tab-name", "long-line"})
        files.push_back(ReadFile(std::string(ZERIN_SOURCE_DIR) + "/fuzz/corpus/places/" + name));
    for (const char* name :
         {"\"a \"\"quoted\"\" \\\\ name\"", "</script>", "{\"x\": 1}",
          "\xE2\x80\xAE"
          "evil",
          "line\xE2\x80\xA8separator", "\xD9\x85\xD9\x83\xD8\xA9", "\xFF\xFE", "\x1B]0;title\x07"})
        files.push_back(std::string("name,latitude,longitude\n") + name + ",21.4,39.8E\n");
    int accepted = 0;
    const std::string path = Scratch("json_test_places.csv");
    for (const std::string& text : files) {
        SCOPED_TRACE(text.substr(0, 60));
        std::ofstream(path, std::ios::binary) << text;
        const CliResult r =
            RunCli(Words("times --places " + path + " --zone 0 --from 2025-06-01 --days 2 --json"));
        std::remove(path.c_str());
        if (r.status == 2) {
            EXPECT_EQ(r.out, "");
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        ++accepted;
        EXPECT_EQ(Parsed(r.out,
                         "[r[\"place\"] for r in d[\"rows\"]] == [p[\"name\"] for p in "
                         "d[\"places\"] for day in (1, 2)]"),
                  "True")
            << r.out;
    }
    EXPECT_EQ(accepted, 8);  // the override and the line separator are refused
}

TEST_F(Json, EveryBodysReportValuesInReportOrder) {
    const std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    const CliResult text = RunCli(args), json = RunCli(With(args, {"--json"}));
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "");
    EXPECT_EQ(Parsed(json.out, "\" \".join(i[\"name\"] for i in d)"),
              "Lon Lat Zone EtéRegl Y m h Min Sec J Retard JJ T L m e EE R_soleil N C Lg_Soleil "
              "O Asc Dec TS_GMT TS_Loc Ha Azimut Altitude Diam MIDI Duirn Lever Coucher Alt Fadl "
              "Asr1 Alt Fadl Asr2 Fadl Icha Fadl Fajr");
    EXPECT_EQ(Parsed(json.out,
                     "(sorted(set(str(i[\"unit\"]) for i in d)), all(type(i[\"value\"]) in (int, "
                     "float) for i in d))"),
              "(['None', 'arcmin', 'au', 'cy', 'd', 'deg', 'h'], True)");
    // Each value is the number the report prints (sidereal times aside, which the report
    // writes as hours, minutes and seconds; Python writes 12.0 where the report writes 12).
    const std::vector<std::string> values =
        SplitAt(Parsed(json.out,
                       "\"\\n\".join(repr(i[\"value\"]).removesuffix(\".0\") for i in d if "
                       "i[\"name\"] not in (\"TS_GMT\", \"TS_Loc\"))"),
                '\n');
    EXPECT_EQ(values.size(), 42u);
    for (const std::string& value : values) EXPECT_TRUE(Contains(text.out, value)) << value;
    EXPECT_TRUE(
        Contains(json.out, "{\"name\": \"MIDI\", \"value\": 12.3930875282151, \"unit\": \"h\"}"));
    EXPECT_TRUE(
        Contains(text.out, "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = 12.3930875282151\r\n"));
    // The other bodies: nine arrays of items with the three members, each ending with the
    // illumination.
    std::string all = "[";
    for (const char* body :
         {"moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"}) {
        const CliResult r = RunCli(With(ReportArgs(body, "2005", "6", "17"), {"--json"}));
        ASSERT_EQ(r.status, 0) << body << r.err;
        all += (all.size() > 1 ? "," : "") + r.out;
    }
    EXPECT_EQ(Parsed(all + "]",
                     "(len(d), [b[-1][\"name\"] for b in d].count(\"illum\"), all(set(i) == "
                     "{\"name\", \"value\", \"unit\"} for b in d for i in b))"),
              "(9, 9, True)");
    // 60° N in June: the report ends after the second afternoon time, with its message. A
    // refused date: no JSON at all.
    const CliResult stopped = RunCli(With(args, {"--lat-deg", "60", "--lat-min", "0", "--json"}));
    EXPECT_EQ(stopped.status, 0);
    EXPECT_TRUE(Contains(stopped.err, "the Sun does not reach the altitude"));
    EXPECT_EQ(Parsed(stopped.out, "d[-1][\"name\"]"), "Asr2");
    const CliResult refused = RunCli(With(ReportArgs("sun", "1582", "10", "10"), {"--json"}));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
}

TEST(JsonValues, PeriodWhateverTheRegionalSettings) {
    const CommaLocale comma;
    if (!comma.available()) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    EXPECT_TRUE(Contains(RunCli(args).out, " = 12,3930875282151\r\n"));
    EXPECT_TRUE(Contains(RunCli(With(args, {"--json"})).out,
                         "{\"name\": \"MIDI\", \"value\": 12.3930875282151, \"unit\": \"h\"}"));
}

TEST_F(Json, Tables) {
    const std::string day = "times --lat 60 --from 2005-06-16 --days 3 ";
    const CliResult times = RunCli(Words(day + "--json --high-lat angle"));
    ASSERT_EQ(times.status, 0) << times.err;
    EXPECT_EQ(Parsed(times.out,
                     "(d[\"lon\"], d[\"lat\"], d[\"high_lat\"], len(d[\"rows\"]), [(r[\"date\"], "
                     "r[\"transit\"], r[\"adjusted\"]) for r in d[\"rows\"]][1])"),
              "(5.66666666666667, 60, 'angle', 3, ('2005-06-17', '12:24', ['fajr', 'isha']))");
    // The same rows as the CSV (after its header), a missing cell null where the CSV leaves it
    // empty.
    const std::string csv = RunCli(Words(day + "--csv")).out;
    const std::size_t rows = csv.find('\n') + 1;
    EXPECT_EQ(Parsed(RunCli(Words(day + "--json")).out,
                     "str(d[\"rows\"][0][\"fajr\"]) + \"\\n\" + \"\\n\".join(\",\".join(\"\" if v "
                     "is None else \";\".join(v) if isinstance(v, list) else v for v in "
                     "r.values()) for r in d[\"rows\"])"),
              "None\n" + csv.substr(rows, csv.size() - rows - 1));
    const CliResult ephemeris =
        RunCli(Words("ephemeris venus --from 2005-06-17 --to 2005-06-18 --step 6h --json"));
    ASSERT_EQ(ephemeris.status, 0) << ephemeris.err;
    EXPECT_EQ(
        Parsed(ephemeris.out,
               "(d[\"body\"], len(d[\"rows\"]), d[\"rows\"][4][\"time\"], all(type(v) is float for "
               "r in d[\"rows\"] for k, v in r.items() if k not in (\"time\", \"utc_offset\")))"),
        "('venus', 5, '2005-06-18T00:00:00', True)");
}

}  // namespace
}  // namespace zerin::test
