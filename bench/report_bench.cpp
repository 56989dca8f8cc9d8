// The Sun command with its report, and the Julian day alone.
#include <benchmark/benchmark.h>

#include "Commands.h"
#include "ModCalcule.h"

namespace {

class Quiet : public zerin::Messenger {
public:
    void critical(const zerin::Message&) override {}
};

void SetNoon2005(zerin::ModCalcule& calc) {
    calc.fields.TxtYear = "2005";
    calc.fields.TxtMonth = "6";
    calc.fields.TxtDay = "17";
    calc.fields.TxtHour = "12";
    calc.fields.TxtMin = "0";
    calc.fields.TxtSec = "0";
}

void BodyWithReport(benchmark::State& state, zerin::Body body) {
    Quiet quiet;
    zerin::ModCalcule calc(quiet);
    SetNoon2005(calc);
    for (auto _ : state) {
        zerin::RunBody(calc, body);
        benchmark::DoNotOptimize(calc.report.Str().data());
    }
}

void JulianDayAlone(benchmark::State& state) {
    Quiet quiet;
    zerin::ModCalcule calc(quiet);
    SetNoon2005(calc);
    calc.report.SetSinks(zerin::Report::kNone);
    for (auto _ : state) {
        calc.Calcul_JJ();
        benchmark::DoNotOptimize(calc.T);
    }
}

}  // namespace

BENCHMARK_CAPTURE(BodyWithReport, sun, zerin::Body::Sun);
BENCHMARK(JulianDayAlone);
