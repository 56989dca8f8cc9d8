// The tables of the command line: a year of daily prayer times for 1,000 places, one command
// per place as a user would run it, and in one run from a places file (the goal: under 0.25 s
// on one core, and ten times faster than adhan), a year of hourly Moon places in CSV (under 0.1 s),
// and a text table of a million rows, which streams: its first row out within 50 ms, the process's
// peak memory under 10 MB; a year of one place as a calendar (under 10 ms). bench/adhan/run.sh
// times the same prayer-time work with the npm package adhan.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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

// The same 1,000 places in a places file, their zones as whole hours.
std::string ThousandPlacesFile() {
    const std::string path = "/tmp/zerin_bench_places_" + std::to_string(getpid()) + ".csv";
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fprintf(file, "name,latitude,longitude,zone\n");
    for (int k = 0; k < 1000; ++k) {
        const Place p = PlaceNumber(k);
        std::fprintf(file, "Place %d,%.4f,%.4f,%d\n", k, p.lat, -p.lon, p.zone);
    }
    std::fclose(file);
    return path;
}

// A year for the 1,000 places in one run of zerin times --places with the options given, its
// CSV to /dev/null.
void PlacesFileYear(benchmark::State& state, const std::vector<std::string>& options) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const std::string places = ThousandPlacesFile();
    std::vector<std::string> args = {"times",      "--places", places, "--from",
                                     "2025-01-01", "--days",   "365",  "--csv"};
    args.insert(args.end(), options.begin(), options.end());
    for (auto _ : state) {
        if (zerin::cli::Run(args, sink, stderr) != 0) state.SkipWithError("times failed");
    }
    state.counters["days"] =
        benchmark::Counter(365000, benchmark::Counter::kIsIterationInvariantRate);
    std::remove(places.c_str());
    std::fclose(sink);
}

void PrayerTimesYearPlacesFile(benchmark::State& state) {
    PlacesFileYear(state, {});
}

// The same year with an authority's method and the user's adjustments on top of it.
void PrayerTimesYearPlacesFileMethod(benchmark::State& state) {
    PlacesFileYear(state, {"--method", "dubai", "--adjust", "fajr=+2,isha=-1"});
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

// A year of one place as a calendar (an event for each time, with a reminder, Ramadan's Imsak and
// Iftar), written to /dev/null; the goal: under 10 ms.
void CalendarYearOnePlace(benchmark::State& state, const char* language) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const std::vector<std::string> args = {
        "times",       "--lon",      "6:50W",  "--lat", "34:01N", "--zone", "-1",
        "--from",      "2026-01-01", "--days", "365",   "--ics",  "-",      "--ramadan",
        "--ics-alarm", "10",         "--name", "Rabat", "--lang", language};
    for (auto _ : state) {
        if (zerin::cli::Run(args, sink, stderr) != 0) state.SkipWithError("times failed");
    }
    state.counters["days"] = benchmark::Counter(365, benchmark::Counter::kIsIterationInvariantRate);
    std::fclose(sink);
}

const std::vector<std::string> kMillionDays = {"times",   "--from", "2000-01-01", "--days",
                                               "1000000", "--lang", "en"};

// A stream that notes when the first bytes reach it and takes nothing: the table stops at
// that first failed write, so the time measured is the time to the first row.
class FirstBytes {
  public:
    FirstBytes() {
        file_ = fopencookie(this, "w", {nullptr, &FirstBytes::Write, nullptr, nullptr});
        setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~FirstBytes() { std::fclose(file_); }
    FirstBytes(const FirstBytes&) = delete;
    FirstBytes& operator=(const FirstBytes&) = delete;
    std::FILE* file() const { return file_; }
    std::chrono::steady_clock::time_point at;

  private:
    static ssize_t Write(void* cookie, const char*, std::size_t) {
        auto* self = static_cast<FirstBytes*>(cookie);
        if (self->at == std::chrono::steady_clock::time_point{})
            self->at = std::chrono::steady_clock::now();
        errno = ENOSPC;
        return 0;
    }
    std::FILE* file_;
};

void TextTableFirstRow(benchmark::State& state) {
    std::FILE* quiet = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        FirstBytes out;
        const auto start = std::chrono::steady_clock::now();
        zerin::cli::Run(kMillionDays, out.file(), quiet);
        state.SetIterationTime(std::chrono::duration<double>(out.at - start).count());
    }
    std::fclose(quiet);
}

// The whole million-row text table to /dev/null; peak_rss_mb is the process's peak memory
// after it (the benchmarks before it hold little).
void TextTableMillionRows(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        if (zerin::cli::Run(kMillionDays, sink, stderr) != 0) state.SkipWithError("times failed");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
    std::fclose(sink);
}

}  // namespace

BENCHMARK(TextTableFirstRow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(TextTableMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PrayerTimesYearThousandPlaces)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(PrayerTimesYearPlacesFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(PrayerTimesYearPlacesFileMethod)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(CalendarYearOnePlace, arabic, "ar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalendarYearOnePlace, english, "en")->Unit(benchmark::kMillisecond);
BENCHMARK(MoonHourlyYearCsv)->Unit(benchmark::kMillisecond);
