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

// The fields at 17 June 2005, 12:00:00, and a report whose messages go nowhere.
struct MoonModule : zerin::Messenger {
    zerin::Report report;
    zerin::FieldTexts fields;

    MoonModule() {
        fields.TxtYear = "2005", fields.TxtMonth = "6", fields.TxtDay = "17";
        fields.TxtHour = "12", fields.TxtMin = "0", fields.TxtSec = "0";
    }

    void critical(const zerin::Message&) override {}
};

void MoonCommandWithReport(benchmark::State& state) {
    MoonModule module;
    for (auto _ : state) {
        zerin::RunBody(module.report, module, module.fields, false, true, zerin::Body::Moon);
        benchmark::DoNotOptimize(module.report.Str().data());
    }
}

void MoonWithoutText(benchmark::State& state) {
    MoonModule module;
    module.report.SetSinks(zerin::Report::kNone);
    // The observer and the Sun, once.
    const zerin::Observer observer = *zerin::ReadObserver(module.fields, false, true);
    const double sunLongitude = zerin::SunPlaceAt(observer.T).Lg_Soleil;
    for (auto _ : state) {
        const zerin::MoonResult moon = zerin::Calcul_Lune(module.report, observer, sunLongitude);
        benchmark::DoNotOptimize(moon.illum);
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
