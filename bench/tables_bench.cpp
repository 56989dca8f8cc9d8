// The tables of the command line: a year of daily prayer times for 1,000 places (the goal:
// under a second on one core), and a year of hourly Moon places in CSV (under 0.1 s).
// bench/adhan/run.sh times the same prayer-time work with the npm package adhan.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"

namespace {

// Place k of the 1,000: latitudes -58..59 by 3 degrees, longitudes -180..165.6 by 14.4,
// each with the whole-hour zone of its longitude (East negative, as the program counts).
// bench/adhan/times.js builds the same places.
struct Place {
    double lat, lon;  // degrees, North and East positive
    int zone;         // the program's zone: East negative
};

Place PlaceNumber(int k) {
    Place p;
    p.lat = -58 + 3 * (k % 40);
    p.lon = -180 + 14.4 * (k / 40);
    p.zone = -static_cast<int>(p.lon >= 0 ? p.lon / 15 + 0.5 : p.lon / 15 - 0.5);
    return p;
}

std::vector<std::string> TimesArgs(const Place& p) {
    return {"times",
            "--lon",
            std::to_string(-p.lon),
            "--lat",
            std::to_string(p.lat),
            "--zone",
            std::to_string(p.zone),
            "--from",
            "2025-01-01",
            "--days",
            "365",
            "--csv"};
}

// The command as a user runs it, writing its CSV to /dev/null.
void PrayerTimesYearThousandPlaces(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    std::vector<std::vector<std::string>> commands;
    for (int k = 0; k < 1000; ++k) commands.push_back(TimesArgs(PlaceNumber(k)));
    for (auto _ : state) {
        for (const auto& args : commands) {
            if (zerin::cli::Run(args, sink, stderr) != 0) state.SkipWithError("times failed");
        }
    }
    state.counters["days"] =
        benchmark::Counter(365000, benchmark::Counter::kIsIterationInvariantRate);
    std::fclose(sink);
}

void MoonHourlyYearCsv(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const std::vector<std::string> args = {
        "ephemeris", "moon", "--from", "2025-01-01T00:00:00", "--to", "2025-12-31T23:00:00",
        "--step",    "1h",   "--csv"};
    for (auto _ : state) {
        if (zerin::cli::Run(args, sink, stderr) != 0) state.SkipWithError("ephemeris failed");
    }
    state.counters["rows"] =
        benchmark::Counter(8760, benchmark::Counter::kIsIterationInvariantRate);
    std::fclose(sink);
}

}  // namespace

BENCHMARK(PrayerTimesYearThousandPlaces)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(MoonHourlyYearCsv)->Unit(benchmark::kMillisecond);
