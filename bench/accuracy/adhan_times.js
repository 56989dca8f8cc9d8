// Prayer times of the npm package adhan for a list of places and days, for
// bench/accuracy/accuracy.py. Reads a JSON array of {lat, lon, date, offset}
// (lat North positive, lon East positive as adhan takes it, date "YYYY-MM-DD",
// offset the zone's seconds ahead of UTC) on standard input and writes a JSON
// array of the same length: for each day the times in seconds from the local
// midnight of that date, null where adhan finds none.
//
// Settings: custom angles (dawn 19 degrees, nightfall 17), no adjustments, no
// rounding, no high-latitude rule and no polar-circle resolution, so that a time
// the Sun does not reach stays missing. adhan's own rising and setting are those
// of the upper limb with refraction (-50'); "sunrise25" and "sunset25" are the
// same computation at zerin's altitude of -0.25 degrees.
'use strict';
const path = require('path');
const adhan = require('adhan');
// SolarTime is not among the package's exports; it is read from the package's
// own CommonJS build to ask for rising and setting at another altitude.
const SolarTime = require(
  path.join(path.dirname(require.resolve('adhan')), 'SolarTime.js'),
).default;

function parameters(madhab) {
  const p = adhan.CalculationMethod.Other();
  p.fajrAngle = 19;
  p.ishaAngle = 17;
  p.madhab = madhab;
  p.rounding = adhan.Rounding.None;
  p.polarCircleResolution = adhan.PolarCircleResolution.Unresolved;
  // No high-latitude rule: adhan always bounds dawn and nightfall by a part of
  // the night; a part that is not a number leaves a missing time missing and a
  // found time as found.
  p.nightPortions = () => ({ fajr: NaN, isha: NaN });
  return p;
}

const shafi = parameters(adhan.Madhab.Shafi);   // shadow factor 1
const hanafi = parameters(adhan.Madhab.Hanafi); // shadow factor 2

function dayOf(text) {
  const [y, m, d] = text.split('-').map(Number);
  const date = new Date(Date.UTC(y, m - 1, d));
  date.setUTCFullYear(y); // years below 100 are not moved to the 1900s
  return date;
}

// Seconds from local midnight of the day, or null.
function fromMidnight(date, day, offset) {
  if (!date || Number.isNaN(date.getTime())) return null;
  return (date.getTime() - day.getTime()) / 1000 + offset;
}

function hoursFromMidnight(hours, offset) {
  return Number.isFinite(hours) ? hours * 3600 + offset : null;
}

function timesOf(q) {
  const day = dayOf(q.date);
  // adhan reads the date's fields on the local clock: run with TZ=UTC.
  const local = new Date(day.getTime());
  const coordinates = new adhan.Coordinates(q.lat, q.lon);
  const one = new adhan.PrayerTimes(coordinates, local, shafi);
  const two = new adhan.PrayerTimes(coordinates, local, hanafi);
  const solar = new SolarTime(local, coordinates);
  const at = (date) => fromMidnight(date, day, q.offset);
  return {
    fajr: at(one.fajr),
    sunrise: at(one.sunrise),
    transit: at(one.dhuhr),
    asr1: at(one.asr),
    asr2: at(two.asr),
    sunset: at(one.sunset),
    isha: at(one.isha),
    sunrise25: hoursFromMidnight(solar.hourAngle(-0.25, false), q.offset),
    sunset25: hoursFromMidnight(solar.hourAngle(-0.25, true), q.offset),
  };
}

let input = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', (chunk) => (input += chunk));
process.stdin.on('end', () => {
  process.stdout.write(JSON.stringify(JSON.parse(input).map(timesOf)) + '\n');
});
