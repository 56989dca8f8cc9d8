#!/usr/bin/python3
"""Every method of `zerin times --method` against the npm package adhan 4.4.6.

    bench/adhan/methods.py --zerin build/cli/zerin [--step DAYS] [--markdown]

For each method and a sample of cities from the equator to 60 degrees, a year of days
(every STEP-th day of 2024, default 3): zerin's times to the minute (the method's
rounding, the middle-of-the-night rule that adhan applies by default) beside adhan's
with the same method; prints the largest difference of each method and time, and exits
1 when one exceeds a minute. Exit 77 when node or adhan (npm install in bench/adhan)
is missing, so that the test that runs it is skipped.
"""

import argparse
import csv
import datetime
import io
import json
import math
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
METHODS = ["morocco", "mwl", "isna", "egypt", "karachi", "umm-al-qura", "dubai", "qatar",
           "kuwait", "singapore", "tehran", "jafari", "turkey", "moonsighting", "algeria",
           "tunisia", "france", "russia", "jakim", "kemenag", "gulf"]
# name, latitude (N+), longitude (E+), zone
CITIES = [
    ("Quito", -0.1807, -78.4678, "America/Guayaquil"),
    ("Singapore", 1.3521, 103.8198, "Asia/Singapore"),
    ("Jakarta", -6.2088, 106.8456, "Asia/Jakarta"),
    ("Mecca", 21.4225, 39.8262, "Asia/Riyadh"),
    ("Cairo", 30.0444, 31.2357, "Africa/Cairo"),
    ("Cape Town", -33.9249, 18.4241, "Africa/Johannesburg"),
    ("Rabat", 34.0209, -6.8416, "Africa/Casablanca"),
    ("Tehran", 35.6892, 51.3890, "Asia/Tehran"),
    ("New York", 40.7128, -74.0060, "America/New_York"),
    ("Istanbul", 41.0082, 28.9784, "Europe/Istanbul"),
    ("London", 51.5074, -0.1278, "Europe/London"),
    ("Oslo", 59.9139, 10.7522, "Europe/Oslo"),
]
TIMES = ["fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "maghrib", "isha"]


# Dawn and nightfall where the Sun's lowest altitude of the night lies this close to the
# angle are left out: the time the angle is reached moves by many minutes for a small change
# of the declination (adhan holds the declination of the noon, zerin follows it through the
# night), and whether a high-latitude rule takes over differs.
THRESHOLD_BAND = 1.5
ANGLES = {"morocco": (19, 17), "mwl": (18, 17), "isna": (15, 15), "egypt": (19.5, 17.5),
          "karachi": (18, 18), "umm-al-qura": (18.5, None), "dubai": (18.2, 18.2),
          "qatar": (18, None), "kuwait": (18, 17.5), "singapore": (20, 18),
          "tehran": (17.7, 14), "jafari": (16, 14), "turkey": (18, 17), "moonsighting": (18, 18),
          "algeria": (18, 17), "tunisia": (18, 18), "france": (12, 12), "russia": (16, 15),
          "jakim": (20, 18), "kemenag": (20, 18), "gulf": (19.5, None)}


def near_threshold(method, city, date, time):
    angle = ANGLES[method][0 if time == "fajr" else 1]
    if angle is None:
        return False
    lat = next(c[1] for c in CITIES if c[0] == city)
    day = datetime.date.fromisoformat(date).timetuple().tm_yday
    dec = -23.44 * math.cos(2 * math.pi / 365 * (day + 10))
    lowest = abs(lat) + (dec if lat >= 0 else -dec) - 90
    return abs(lowest + angle) < THRESHOLD_BAND


ADJUST_ASR = {"dubai": 3, "turkey": 4}


def pyephem_minutes(city, row, time):
    """The afternoon time by PyEphem (bench/accuracy/reference.py), minutes from midnight."""
    sys.path.insert(0, os.path.join(HERE, "..", "accuracy"))
    import reference  # noqa: E402  (python3-ephem)
    _, lat, lon, _ = next(c for c in CITIES if c[0] == city)
    offset = offset_seconds(row["utc_offset"])
    midnight = datetime.datetime.fromisoformat(row["date"]) - datetime.timedelta(seconds=offset)
    times = reference.day_times(-lon, lat, midnight)
    return reference.seconds_from(times[time], midnight) / 60


def minutes(cell):
    """"05:20", "00:40+1" as minutes from the day's midnight; None when empty."""
    if not cell:
        return None
    shift = 0
    if len(cell) > 5:
        shift = int(cell[5:]) * 1440
    return int(cell[:2]) * 60 + int(cell[3:5]) + shift


def offset_seconds(text):
    sign = -1 if text[0] == "-" else 1
    h, m = text[1:].split(":")[:2]
    return sign * (int(h) * 3600 + int(m) * 60)


def zerin_rows(zerin, method, city, step):
    name, lat, lon, zone = city
    args = [zerin, "times", "--lat", str(lat), "--lon", f"{abs(lon)}{'E' if lon >= 0 else 'W'}",
            "--tz", zone, "--from", "2024-01-01", "--days", "366", "--csv", "--method", method,
            "--high-lat", "middle", "--hijri-rule", "umm-al-qura"]
    out = subprocess.run(args, capture_output=True, text=True, check=True,
                         env=dict(os.environ, LC_ALL="C")).stdout
    lines = [line for line in out.splitlines() if not line.startswith("# ")]
    rows = list(csv.DictReader(io.StringIO("\n".join(lines))))
    return rows[::step]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zerin", required=True)
    parser.add_argument("--step", type=int, default=3)
    parser.add_argument("--markdown", action="store_true")
    a = parser.parse_args()
    try:
        import ephem  # noqa: F401  (python3-ephem: the arbiter of the afternoon times)
    except ImportError:
        ephem = None
    if (not shutil.which("node") or ephem is None
            or not os.path.isdir(os.path.join(HERE, "node_modules", "adhan"))):
        print("methods: node, adhan (npm install in bench/adhan) or python3-ephem is missing: "
              "skipped", file=sys.stderr)
        return 77
    queries, ours = [], []
    for method in METHODS:
        for city in CITIES:
            for row in zerin_rows(a.zerin, method, city, a.step):
                queries.append({"method": method, "lat": city[1], "lon": city[2],
                                "date": row["date"], "offset": offset_seconds(row["utc_offset"]),
                                "ramadan": row["hijri"][5:7] == "09"})
                ours.append((method, city[0], row))
    run = subprocess.run(["node", os.path.join(HERE, "methods.js")], input=json.dumps(queries),
                         capture_output=True, text=True, check=True,
                         env=dict(os.environ, TZ="UTC"))
    theirs = json.loads(run.stdout)
    worst = {}  # (method, time) -> (minutes, city, date)
    missing = skipped = 0
    arbitrated = []
    for (method, city, row), adhan in zip(ours, theirs):
        for t in TIMES:
            mine = minutes(row.get(t) or (row["sunset"] if t == "maghrib" else ""))
            other = adhan[t]
            if t in ("fajr", "isha") and near_threshold(method, city, row["date"], t):
                skipped += 1
                continue
            if other is not None:
                other = round(other)  # adhan rounds the seconds and keeps the milliseconds
            if mine is None or other is None:
                missing += (mine is None) != (other is None)
                continue
            d = abs(mine - other)
            if d > 1 and t in ("asr1", "asr2"):
                # adhan holds the declination of 0 h UT for the afternoon; PyEphem, with the
                # Sun's place at each instant, decides which of the two is right.
                truth = pyephem_minutes(city, row, t) + ADJUST_ASR.get(method, 0)
                # Rounded up, the minute shown lies up to a minute after the time.
                if -1 <= mine - truth <= (1.5 if method == "singapore" else 1):
                    arbitrated.append(f"{method} {city} {row['date']} {t}: zerin {mine}, adhan "
                                      f"{other}, PyEphem {truth:.2f} min")
                    continue
            if d > worst.get((method, t), (-1,))[0]:
                worst[(method, t)] = (d, city, row["date"])
    failed = False
    if a.markdown:
        print("| method | " + " | ".join(TIMES) + " |")
        print("|---|" + "---|" * len(TIMES))
    for method in METHODS:
        cells = [worst.get((method, t), (0, "", ""))[0] for t in TIMES]
        failed = failed or max(cells) > 1
        if a.markdown:
            print(f"| {method} | " + " | ".join(f"{c:g}" for c in cells) + " |")
        else:
            where = max((worst[(method, t)] for t in TIMES if (method, t) in worst),
                        key=lambda w: w[0])
            print(f"{method:13s} largest difference {max(cells):g} min ({where[1]}, {where[2]}); "
                  + ", ".join(f"{t} {c:g}" for t, c in zip(TIMES, cells)))
    print(f"{len(ours)} days of {len(CITIES)} cities, {len(METHODS)} methods; "
          f"{missing} times found by one side only; {skipped} dawns and nightfalls left out "
          f"where the Sun's lowest altitude is within {THRESHOLD_BAND} degrees of the angle",
          file=sys.stderr)
    if arbitrated:
        print(f"{len(arbitrated)} afternoon times more than a minute from adhan, within a minute "
              f"of PyEphem, for example:", file=sys.stderr)
        for line in arbitrated[:3]:
            print("  " + line, file=sys.stderr)
    if missing:
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
