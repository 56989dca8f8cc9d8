// Each planet's command with its whole report, and the same computation with the
// report switched off (as the ephemeris tables run it).
#include <benchmark/benchmark.h>

#include "report/Commands.h"
#include "report/ModCalcule.h"

namespace {

class Silent : public zerin::Messenger {
  public:
    void critical(const zerin::Message&) override {}
};

void PlanetCommand(benchmark::State& state, zerin::Body body, unsigned sinks) {
    Silent silent;
    zerin::Report report;
    zerin::FieldTexts f;  // 17 June 2005, 12:00:00
    f.TxtYear = "2005", f.TxtMonth = "6", f.TxtDay = "17";
    f.TxtHour = "12", f.TxtMin = "0", f.TxtSec = "0";
    report.SetSinks(sinks);
    for (auto _ : state) {
        if (zerin::RunBody(report, silent, f, false, true, body) != zerin::Outcome::Written)
            state.SkipWithError("fault");
        benchmark::DoNotOptimize(report.Str().data());
    }
}

void PlanetWithReport(benchmark::State& state, zerin::Body body) {
    PlanetCommand(state, body, zerin::Report::kText);
}
void PlanetReportOff(benchmark::State& state, zerin::Body body) {
    PlanetCommand(state, body, zerin::Report::kNone);
}

}  // namespace

BENCHMARK_CAPTURE(PlanetWithReport, mercury, zerin::Body::Mercury);
BENCHMARK_CAPTURE(PlanetWithReport, venus, zerin::Body::Venus);
BENCHMARK_CAPTURE(PlanetWithReport, mars, zerin::Body::Mars);
BENCHMARK_CAPTURE(PlanetWithReport, jupiter, zerin::Body::Jupiter);
BENCHMARK_CAPTURE(PlanetWithReport, saturn, zerin::Body::Saturn);
BENCHMARK_CAPTURE(PlanetWithReport, uranus, zerin::Body::Uranus);
BENCHMARK_CAPTURE(PlanetWithReport, neptune, zerin::Body::Neptune);
BENCHMARK_CAPTURE(PlanetWithReport, pluto, zerin::Body::Pluto);
BENCHMARK_CAPTURE(PlanetReportOff, mercury, zerin::Body::Mercury);
BENCHMARK_CAPTURE(PlanetReportOff, saturn, zerin::Body::Saturn);
