// The Sun command with its report, the Julian day alone, and the Sun's place and the
// day's times at an instant without any report (what a table of many days, or a map of
// many places, calls).
#include <benchmark/benchmark.h>

#include "report/Commands.h"
#include "report/ModCalcule.h"
#include "sun/Sun.h"
#include "time/JulianDay.h"

namespace {

class Quiet : public zerin::Messenger {
  public:
    void critical(const zerin::Message&) override {}
};

const zerin::FieldTexts kNoon2005Fields{.TxtYear = "2005",
                                        .TxtMonth = "6",
                                        .TxtDay = "17",
                                        .TxtHour = "12",
                                        .TxtMin = "0",
                                        .TxtSec = "0"};

void BodyWithReport(benchmark::State& state, zerin::Body body) {
    Quiet quiet;
    zerin::Report report;
    zerin::FieldTexts fields = kNoon2005Fields;
    for (auto _ : state) {
        zerin::RunBody(report, quiet, fields, false, true, body);
        benchmark::DoNotOptimize(report.Str().data());
    }
}

// The fields read into the observer and its section checked, without text.
void JulianDayAlone(benchmark::State& state) {
    zerin::Report report;
    report.SetSinks(zerin::Report::kNone);
    for (auto _ : state) {
        const zerin::Reading<zerin::Observer> observer =
            zerin::ReadObserver(kNoon2005Fields, false, true);
        zerin::Calcul_JJ(report, *observer);
        benchmark::DoNotOptimize(observer->T);
    }
}

// 17 June 2005 at noon, a second later at each call.
constexpr double kNoon2005 = 2453539.0, kSecond = 1.0 / 86400;

void SunPlaceAlone(benchmark::State& state) {
    double JJ = kNoon2005;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zerin::SunPlaceAt(zerin::JulianCenturies(JJ)));
        JJ += kSecond;
    }
}

void SunDayTimesAlone(benchmark::State& state) {
    double JJ = kNoon2005;
    const double Lon = 5 + 40.0 / 60, Lat = 32 + 56.0 / 60;
    for (auto _ : state) {
        const zerin::SunPlace sun = zerin::SunPlaceAt(zerin::JulianCenturies(JJ));
        const zerin::SkyPlace sky = zerin::SkyPlaceAt(JJ, Lon, Lat, sun.Asc, sun.Dec);
        benchmark::DoNotOptimize(zerin::SunDayTimes(sun, sky, Lat, 0));
        JJ += kSecond;
    }
}

}  // namespace

BENCHMARK_CAPTURE(BodyWithReport, sun, zerin::Body::Sun);
BENCHMARK(JulianDayAlone);
BENCHMARK(SunPlaceAlone);
BENCHMARK(SunDayTimesAlone);
