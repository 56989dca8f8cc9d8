// The place search as the main window and --place use it: the gazetteer read from its file
// and one search, together. The goal: under 20 ms, with the process's memory under 30 MB
// (the rss_mb counter: the resident memory after the search; measured alone with
// /usr/bin/time -v zerin places الرباط, see the README).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "Gazetteer.h"

namespace {

const std::string kPath = std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt";

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

void LoadAndSearch(benchmark::State& state, const char* query) {
    for (auto _ : state) {
        zerin::places::Gazetteer gazetteer;
        std::string error;
        if (!gazetteer.Load(kPath, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(gazetteer.Search(query));
    }
    state.counters["rss_mb"] = ResidentMegabytes();
}

void BM_GazetteerLoadAndSearchArabic(benchmark::State& s) {
    LoadAndSearch(s, "الرباط");
}
void BM_GazetteerLoadAndSearchLatin(benchmark::State& s) {
    LoadAndSearch(s, "Rabat, MT");
}
// One letter: the widest prefix, tens of thousands of keys.
void BM_GazetteerLoadAndSearchOneLetter(benchmark::State& s) {
    LoadAndSearch(s, "a");
}

void BM_GazetteerSearchOnly(benchmark::State& state) {
    zerin::places::Gazetteer gazetteer;
    std::string error;
    gazetteer.Load(kPath, error);
    for (auto _ : state) benchmark::DoNotOptimize(gazetteer.Search("فاس"));
}

void BM_GazetteerNearest(benchmark::State& state) {
    zerin::places::Gazetteer gazetteer;
    std::string error;
    gazetteer.Load(kPath, error);
    for (auto _ : state) benchmark::DoNotOptimize(gazetteer.Nearest(34.0, -6.8, 10));
}

}  // namespace

BENCHMARK(BM_GazetteerLoadAndSearchArabic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GazetteerLoadAndSearchLatin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GazetteerLoadAndSearchOneLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GazetteerSearchOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GazetteerNearest)->Unit(benchmark::kMillisecond);

// A name found nowhere: the search finds nothing, then the nearest names in spelling are
// looked for among all the keys (the message of an unknown --place). The goal: under 50 ms.
void BM_GazetteerUnknownName(benchmark::State& state, const char* query) {
    zerin::places::Gazetteer gazetteer;
    std::string error;
    if (!gazetteer.Load(kPath, error)) state.SkipWithError(error.c_str());
    for (auto _ : state) {
        benchmark::DoNotOptimize(gazetteer.Search(query));
        benchmark::DoNotOptimize(gazetteer.Suggestions(query, 3));
    }
}
BENCHMARK_CAPTURE(BM_GazetteerUnknownName, typo, "Rabbat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GazetteerUnknownName, arabic, "الربااط")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GazetteerUnknownName, nowhere, "Xqzwvbnk")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GazetteerUnknownName, long, "Saint-Jean-de-la-Ruelle-sur-Mer")
    ->Unit(benchmark::kMillisecond);
