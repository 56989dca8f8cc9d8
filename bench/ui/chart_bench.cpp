// The charts' speed goal, offscreen: a chart under 30 ms to draw, from its request to the bytes
// of its file (the data, the painting and the PNG's encoding, or the SVG's text).
//   QT_QPA_PLATFORM=offscreen bench/zerin_chart_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "ChartPictures.h"
#include "Look.h"

namespace {

using namespace zerin::services;

TableOptions Rabat() {
    TableOptions o;
    o.place.fields.TxtDegLon = "6.8333";
    o.place.fields.TxtDegLat = "34.0167";
    o.zone = 0;
    o.summer = 1;
    return o;
}

DayChart Day() {
    DayChart chart;
    std::string error;
    DayChartOf(
        {Rabat(), zerin::Civil{2024, 6, 21}, SettingsOfMethod(*PrayerMethodNamed("morocco")), ""},
        chart, error);
    return chart;
}

SkyChart Sky() {
    SkyChart chart;
    std::string error;
    const zerin::Civil at{2024, 6, 14, 21, 30, 0};
    SkyChartOf({Rabat(), at, at, ""}, chart, error);
    return chart;
}

void DayData(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Day());
}
void SkyData(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Sky());
}

template <bool kDay>
void WholeChart(benchmark::State& state) {
    const auto format = static_cast<ChartFormat>(state.range(0));
    for (auto _ : state) {
        const DayChart day = kDay ? Day() : DayChart{};
        const SkyChart sky = kDay ? SkyChart{} : Sky();
        const ChartDrawing drawing{kDay ? &day : nullptr, kDay ? nullptr : &sky, format};
        benchmark::DoNotOptimize(zerin::ui::ChartFileBytes(drawing));
    }
}

// The painting alone, into a picture in memory.
void DayChartPainted(benchmark::State& state) {
    const DayChart day = Day();
    QImage image(960, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        zerin::ui::PaintDayChart(p, day, image.size());
    }
}

BENCHMARK(DayChartPainted)->Unit(benchmark::kMillisecond);
BENCHMARK(DayData)->Unit(benchmark::kMillisecond);
BENCHMARK(SkyData)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeChart<true>)->Name("DayChartFile")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeChart<false>)->Name("SkyChartFile")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QApplication> app = zerin::ui::OffscreenApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
