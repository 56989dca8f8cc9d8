// The Moon command with its whole report, as the Moon button runs it (the Julian day,
// the Sun's place for the same instant, the Moon), the Moon alone without text, and the
// Moon's geocentric place at an instant without any report (what a map of the crescent
// calls millions of times).
#include <benchmark/benchmark.h>

#include "moon/Moon.h"
#include "report/Commands.h"
#include "report/ModCalcule.h"
#include "time/JulianDay.h"

namespace {

// The module at 17 June 2005, 12:00:00, whose messages go nowhere.
struct MoonModule : zerin::Messenger {
    zerin::ModCalcule calc{*this};

    MoonModule() {
        calc.fields = {.TxtYear = "2005",
                       .TxtMonth = "6",
                       .TxtDay = "17",
                       .TxtHour = "12",
                       .TxtMin = "0",
                       .TxtSec = "0"};
    }
    void critical(const zerin::Message&) override {}
};

void MoonCommandWithReport(benchmark::State& state) {
    MoonModule module;
    for (auto _ : state) {
        zerin::RunBody(module.calc, zerin::Body::Moon);
        benchmark::DoNotOptimize(module.calc.report.Str().data());
    }
}

void MoonWithoutText(benchmark::State& state) {
    MoonModule module;
    module.calc.report.SetSinks(zerin::Report::kNone);
    zerin::RunBody(module.calc, zerin::Body::Moon);  // the Julian day and the Sun, once
    for (auto _ : state) {
        module.calc.Calcul_Lune();
        benchmark::DoNotOptimize(module.calc.moon.illum);
    }
}

void MoonPlaceAlone(benchmark::State& state) {
    double JJ = 2453539.0;  // 17 June 2005 at noon, a second later at each call
    for (auto _ : state) {
        benchmark::DoNotOptimize(zerin::MoonPlaceAt(zerin::JulianCenturies(JJ)));
        JJ += 1.0 / 86400;
    }
}

}  // namespace

BENCHMARK(MoonCommandWithReport);
BENCHMARK(MoonWithoutText);
BENCHMARK(MoonPlaceAlone);
