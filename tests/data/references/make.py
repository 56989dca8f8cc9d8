#!/usr/bin/python3
"""Writes the independently computed references of this folder.

    tests/data/references/make.py      (Debian: python3-ephem, python3-geographiclib)

- sun-times.csv: the Sun's transit, rising, setting and prayer times of a few places and
  days by PyEphem, in the program's definitions (bench/accuracy/reference.py): seconds
  after local standard midnight, empty where the Sun does not reach the altitude.
- kaaba-distances.csv: the geodesic distance from the cities of ../qibla-bearings.csv to
  the Kaaba on the WGS84 ellipsoid by GeographicLib (C. F. F. Karney's method).
- sun-over-kaaba.csv: the transits at the Kaaba, by PyEphem, whose declination is nearest
  to the Kaaba's latitude, as it grows and as it falls, for a few years.
"""

import csv
import datetime
import math
import os
import sys

import ephem
from geographiclib.geodesic import Geodesic

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "bench", "accuracy"))
import reference  # noqa: E402

KAABA_LAT, KAABA_LON = 21.4225241, 39.8261818
# name, latitude (N+), longitude (West positive, as the program), zone (East negative), date
PLACES = [
    ("Oslo", 59.9139, -10.7522, -1, "2025-06-01"),
    ("Oslo", 59.9139, -10.7522, -1, "2025-03-20"),
    ("London", 51.5074, 0.1278, 0, "2025-12-21"),
    ("Quito", -0.1807, 78.4678, 5, "2025-09-22"),
    ("Sydney", -33.8688, -151.2093, -10, "2025-06-21"),
    ("Anchorage", 61.2181, 149.9003, 9, "2025-01-15"),
    ("Reykjavik", 64.1466, 21.9426, 1, "1850-10-10"),
    ("Cape Town", -33.9249, -18.4241, -2, "2199-04-01"),
    ("Mecca", 21.4225, -39.8262, -3, "1800-02-01"),
    ("Ushuaia", -54.8019, 68.3030, 3, "2024-11-05"),
]
EVENTS = ("fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha")


def sun_times():
    with open(os.path.join(HERE, "sun-times.csv"), "w", newline="") as f:
        f.write("# The Sun's times by PyEphem " + ephem.__version__ + " (tests/data/references/"
                "make.py): seconds after local standard midnight; longitude West positive,\n"
                "# zone East negative (the program's conventions); empty: not reached.\n")
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["place", "latitude", "longitude", "zone", "date", *EVENTS])
        for name, lat, lon, zone, date in PLACES:
            midnight = datetime.datetime.fromisoformat(date) + datetime.timedelta(hours=zone)
            times = reference.day_times(lon, lat, midnight)
            times.pop("lowest", None)
            cells = []
            for e in EVENTS:
                s = reference.seconds_from(times[e], midnight)
                cells.append("" if s is None else f"{s:.1f}")
            out.writerow([name, lat, lon, zone, date, *cells])


def distances():
    with open(os.path.join(HERE, "..", "qibla-bearings.csv")) as f:
        rows = [r for r in csv.reader(line for line in f if not line.startswith("#"))][1:]
    with open(os.path.join(HERE, "kaaba-distances.csv"), "w", newline="") as f:
        f.write("# Geodesic distance to the Kaaba (21.4225241 N, 39.8261818 E) on WGS84 by "
                "GeographicLib (python3-geographiclib), metres.\n")
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["city", "latitude", "longitude", "metres"])
        for city, lat, lon, _ in rows:
            g = Geodesic.WGS84.Inverse(float(lat), float(lon), KAABA_LAT, KAABA_LON)
            out.writerow([city, lat, lon, f"{g['s12']:.4f}"])


def kaaba_transits(year):
    o = ephem.Observer()
    o.lat, o.lon = math.radians(KAABA_LAT), math.radians(KAABA_LON)
    o.pressure = 0
    sun = ephem.Sun()
    transits = []
    start = reference.ephem_date(datetime.datetime(year, 1, 1))
    t = o.next_transit(sun, start=start)
    while t < reference.ephem_date(datetime.datetime(year + 1, 1, 1)):
        o.date = t
        sun.compute(o)
        transits.append((t, math.degrees(sun.dec)))
        t = o.next_transit(sun, start=ephem.Date(t + 0.5))
    found = {}
    for (t0, d0), (t1, d1) in zip(transits, transits[1:]):
        a, b = d0 - KAABA_LAT, d1 - KAABA_LAT
        nearer = (t0, d0) if abs(a) <= abs(b) else (t1, d1)
        if a < 0 <= b:
            found.setdefault("rising", nearer)
        if a >= 0 > b:
            found.setdefault("falling", nearer)
    return found


def sun_over_kaaba():
    with open(os.path.join(HERE, "sun-over-kaaba.csv"), "w", newline="") as f:
        f.write("# The transits at the Kaaba whose declination is nearest to 21.4225241, by "
                "PyEphem " + ephem.__version__ + ": UT, and the declination (degrees).\n")
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["year", "rising_ut", "rising_dec", "falling_ut", "falling_dec"])
        for year in (1900, 1990, 2000, 2025, 2050, 2100):
            found = kaaba_transits(year)
            cells = []
            for side in ("rising", "falling"):
                t, d = found[side]
                cells += [ephem.Date(t).datetime().strftime("%Y-%m-%dT%H:%M:%S"), f"{d:.6f}"]
            out.writerow([year, *cells])


if __name__ == "__main__":
    sun_times()
    distances()
    sun_over_kaaba()
