#!/bin/sh
# A year of daily prayer times for 1,000 places (365,000 days), timed in the same run with
# Zerin (zerin times, through the benchmark program) and with the npm package adhan
# (custom angles: dawn 19 degrees, nightfall 17), and the ratio of the two.
# Usage: bench/adhan/run.sh [BUILD_DIR]   (default: ./build; node and npm are needed)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}

if [ ! -d "$here/node_modules/adhan" ]; then
    npm install --prefix "$here" --no-audit --no-fund --silent
fi
cmake --build "$build" --target zerin_bench -j2 >/dev/null

zerin=$("$build/bench/zerin_bench" --benchmark_filter=PrayerTimesYearThousandPlaces \
    --benchmark_format=json 2>/dev/null)
adhan=$(TZ=UTC node "$here/times.js")

node -e '
const zerin = JSON.parse(process.argv[1]).benchmarks[0];
const adhan = JSON.parse(process.argv[2]);
const ms = (x) => x.toFixed(0).padStart(6) + " ms";
const zerinCpu = zerin.cpu_time / 1000, zerinWall = zerin.real_time / 1000;  // ms to s
console.log("A year of daily prayer times for 1,000 places (365,000 days), one core:");
console.log("  zerin times   cpu " + ms(zerinCpu * 1000) + "   wall " + ms(zerinWall * 1000));
console.log("  adhan (npm)   cpu " + ms(adhan.cpu_s * 1000) + "   wall " + ms(adhan.wall_s * 1000));
console.log("  adhan / zerin: " + (adhan.cpu_s / zerinCpu).toFixed(1) + " times (cpu), " +
            (adhan.wall_s / zerinWall).toFixed(1) + " times (wall)");
' "$zerin" "$adhan"
