// The Hijri date of a column of consecutive days, as a timetable's Hijri column asks for
// it: a million days (2025 to 4763) under each rule, the month starts found once each.
// The goal: the tabular and Umm al-Qura columns in well under a second; the computed
// rules, which compute one evening of the crescent a month, within a few seconds.
#include <benchmark/benchmark.h>

#include "hijri/HijriRules.h"

namespace {

using zerin::DayNumber;
using zerin::HijriCalendar;
using zerin::HijriRule;

constexpr DayNumber kFirstDay = 2460677;  // 2025-01-01
constexpr DayNumber kDays = 1000000;

void Column(benchmark::State& state, HijriRule rule, DayNumber days) {
    for (auto _ : state) {
        HijriCalendar calendar(rule, zerin::HijriPlace{-5.6667, 32.9333, 0});
        long sum = 0;
        for (DayNumber day = kFirstDay; day < kFirstDay + days; ++day)
            sum += calendar.DateOf(day).date.day;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * days);
}

void BM_HijriColumnCivil(benchmark::State& s) {
    Column(s, HijriRule::Civil, kDays);
}
void BM_HijriColumnUmmAlQura(benchmark::State& s) {
    Column(s, HijriRule::UmmAlQura, kDays);
}
void BM_HijriColumnComputed(benchmark::State& s) {
    Column(s, HijriRule::Computed, kDays);
}
void BM_HijriColumnSighting(benchmark::State& s) {
    Column(s, HijriRule::Sighting, kDays);
}
// A year of days: what a usual timetable asks for.
void BM_HijriYearSighting(benchmark::State& s) {
    Column(s, HijriRule::Sighting, 366);
}

BENCHMARK(BM_HijriColumnCivil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HijriColumnUmmAlQura)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HijriColumnComputed)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HijriColumnSighting)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HijriYearSighting)->Unit(benchmark::kMillisecond);

}  // namespace
