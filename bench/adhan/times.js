// A year of daily prayer times for 1,000 places with the npm package adhan (dawn 19
// degrees, nightfall 17), each day written as a CSV row of HH:MM clock times as
// `zerin times --csv` writes them. Prints the best of three runs as JSON (seconds).
// The places are those of bench/tables_bench.cpp. Run with TZ=UTC (adhan reads the
// date's fields on the local clock). With the argument "dubai": the Dubai method with
// Fajr +2 and Isha -1 minutes, as `zerin times --method dubai --adjust fajr=+2,isha=-1`.
'use strict';
const adhan = require('adhan');

// Place k: latitudes -58..59 by 3 degrees, longitudes -180..165.6 by 14.4, each on the
// whole-hour zone of its longitude.
function place(k) {
  const lat = -58 + 3 * (k % 40);
  const lon = -180 + 14.4 * Math.floor(k / 40);
  return { lat, lon, zoneMinutes: Math.round(lon / 15) * 60 };
}

function two(n) {
  return n < 10 ? '0' + n : String(n);
}

// Nearest minute, half a minute rounding up, on the zone's clock; empty when missing.
function clock(date, zoneMinutes) {
  if (!date || Number.isNaN(date.getTime())) return '';
  const m = Math.floor(date.getTime() / 60000 + zoneMinutes + 0.5);
  const inDay = ((m % 1440) + 1440) % 1440;
  return two(Math.floor(inDay / 60)) + ':' + two(inDay % 60);
}

function yearForThousandPlaces() {
  const dubai = process.argv[2] === 'dubai';
  const params = dubai ? adhan.CalculationMethod.Dubai() : adhan.CalculationMethod.Other();
  if (dubai) {
    params.adjustments.fajr = 2;
    params.adjustments.isha = -1;
  } else {
    params.fajrAngle = 19;
    params.ishaAngle = 17;
  }
  params.madhab = adhan.Madhab.Shafi;
  let bytes = 0;
  for (let k = 0; k < 1000; ++k) {
    const p = place(k);
    const coordinates = new adhan.Coordinates(p.lat, p.lon);
    const rows = [];
    for (let d = 0; d < 365; ++d) {
      const date = new Date(2025, 0, 1 + d);
      const t = new adhan.PrayerTimes(coordinates, date, params);
      rows.push(
        [
          date.getFullYear() + '-' + two(date.getMonth() + 1) + '-' + two(date.getDate()),
          clock(t.fajr, p.zoneMinutes),
          clock(t.sunrise, p.zoneMinutes),
          clock(t.dhuhr, p.zoneMinutes),
          clock(t.asr, p.zoneMinutes),
          clock(t.maghrib, p.zoneMinutes),
          clock(t.isha, p.zoneMinutes),
        ].join(','),
      );
    }
    bytes += rows.join('\n').length;
  }
  return bytes;
}

function timed() {
  const cpu = process.cpuUsage();
  const start = process.hrtime.bigint();
  const bytes = yearForThousandPlaces();
  const wall = Number(process.hrtime.bigint() - start) / 1e9;
  const used = process.cpuUsage(cpu);
  return { wall, cpu: (used.user + used.system) / 1e6, bytes };
}

timed();  // warm-up: the JIT compiles the hot paths
let best = null;
for (let run = 0; run < 3; ++run) {
  const r = timed();
  if (!best || r.cpu < best.cpu) best = r;
}
console.log(JSON.stringify({ days: 365000, wall_s: best.wall, cpu_s: best.cpu, bytes: best.bytes }));
