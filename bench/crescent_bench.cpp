// The crescent: its report for one evening with the whole text (goal: under 1 ms), a year
// of evenings as `zerin crescent --days 365` writes them (under 0.2 s), and the grid of a
// whole map at one degree (under 2 s on one core).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "Cli.h"
#include "crescent/CrescentMap.h"
#include "crescent/CrescentReport.h"

namespace {

struct Quiet : zerin::Messenger {
    void critical(const zerin::Message&) override {}
};

void CrescentReportOneEvening(benchmark::State& state) {
    Quiet quiet;
    zerin::Report report;
    zerin::FieldTexts fields{.TxtDegLon = "39",
                             .TxtMinLon = "49",
                             .TxtSecLon = "34",
                             .TxtDegLat = "21",
                             .TxtMinLat = "25",
                             .TxtSecLat = "21",
                             .TxtZone = "-3",
                             .TxtYear = "2024",
                             .TxtMonth = "3",
                             .TxtDay = "10",
                             .TxtHour = "12",
                             .TxtMin = "0",
                             .TxtSec = "0"};
    for (auto _ : state) {
        zerin::RunCrescent(report, quiet, fields, true, true, false);
        benchmark::DoNotOptimize(report.Str().data());
    }
}

void CrescentYearOfEvenings(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        const int status =
            zerin::cli::Run({"crescent", "--lon", "39:49:34E", "--lat", "21:25:21N", "--zone", "-3",
                             "--from", "2024-01-01", "--days", "365"},
                            sink, stderr);
        benchmark::DoNotOptimize(status);
    }
    std::fclose(sink);
}

void CrescentMapGridOneDegree(benchmark::State& state) {
    for (auto _ : state) {
        const zerin::CrescentMapGrid grid = zerin::CrescentMapOf(2024, 3, 10, false, 1);
        benchmark::DoNotOptimize(grid.yallop.data());
    }
}

}  // namespace

BENCHMARK(CrescentReportOneEvening)->Unit(benchmark::kMicrosecond);
BENCHMARK(CrescentYearOfEvenings)->Unit(benchmark::kMillisecond);
BENCHMARK(CrescentMapGridOneDegree)->Unit(benchmark::kMillisecond);
