#!/bin/sh
# A year of daily prayer times for 1,000 places (365,000 days), timed in the same run with
# Zerin (zerin times --places, one run for the 1,000 places, and zerin times once per place,
# through the benchmark program) and with the npm package adhan (custom angles: dawn 19
# degrees, nightfall 17), and the ratios.
# Usage: bench/adhan/run.sh [BUILD_DIR]   (default: ./build; node and npm are needed)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}

if [ ! -d "$here/node_modules/adhan" ]; then
    npm install --prefix "$here" --no-audit --no-fund --silent
fi
cmake --build "$build" --target zerin_bench -j2 >/dev/null

zerin=$("$build/bench/zerin_bench" \
    --benchmark_filter='PrayerTimesYear(PlacesFile|ThousandPlaces|PlacesFileMethod)' \
    --benchmark_format=json 2>/dev/null)
adhan=$(TZ=UTC node "$here/times.js")
adhanDubai=$(TZ=UTC node "$here/times.js" dubai)

node -e '
const runs = JSON.parse(process.argv[1]).benchmarks;
const adhan = JSON.parse(process.argv[2]);
const ms = (x) => x.toFixed(0).padStart(6) + " ms";
console.log("A year of daily prayer times for 1,000 places (365,000 days), one core:");
console.log("  adhan (npm)                    cpu " + ms(adhan.cpu_s * 1000) + "   wall " +
            ms(adhan.wall_s * 1000));
for (const [name, label] of [["PrayerTimesYearPlacesFile", "zerin times --places  "],
                             ["PrayerTimesYearThousandPlaces", "zerin times, per place"]]) {
  const zerin = runs.find((b) => b.name.startsWith(name));
  const cpu = zerin.cpu_time / 1000, wall = zerin.real_time / 1000;  // ms to s
  console.log("  " + label + "         cpu " + ms(cpu * 1000) + "   wall " + ms(wall * 1000) +
              "   adhan / zerin: " + (adhan.cpu_s / cpu).toFixed(1) + " times (cpu)");
}
const dubai = JSON.parse(process.argv[3]);
const method = runs.find((b) => b.name.startsWith("PrayerTimesYearPlacesFileMethod"));
console.log("With the Dubai method and Fajr +2, Isha -1 minutes:");
console.log("  adhan (npm)                    cpu " + ms(dubai.cpu_s * 1000) + "   wall " +
            ms(dubai.wall_s * 1000));
console.log("  zerin times --places --method  cpu " + ms(method.cpu_time) + "   wall " +
            ms(method.real_time) + "   adhan / zerin: " +
            (dubai.cpu_s * 1000 / method.cpu_time).toFixed(1) + " times (cpu)");
' "$zerin" "$adhan" "$adhanDubai"
