#!/usr/bin/python3
"""Writes the independently computed references of tests/data/references/.

    bench/accuracy/make_test_references.py      (Debian: python3-ephem, python3-geographiclib)

- sun-times.csv: the Sun's transit, rising, setting and prayer times of a few places and
  days by PyEphem, in the program's definitions (bench/accuracy/reference.py): seconds
  after local standard midnight, empty where the Sun does not reach the altitude.
- kaaba-distances.csv: the geodesic distance from the cities of ../qibla-bearings.csv to
  the Kaaba on the WGS84 ellipsoid by GeographicLib (C. F. F. Karney's method).
- sun-over-kaaba.csv: the transits at the Kaaba, by PyEphem, whose declination is nearest
  to the Kaaba's latitude, as it grows and as it falls, for a few years.
- timetables-pyephem.txt: cells of `zerin times` tables by PyEphem, in the lines that
  tests/times_test.cpp reads (see timetables.txt): rising and setting at the tables'
  horizon, moonrise, moonset and the Moon's illuminated fraction, and the days without
  rising or setting filled by the nearest latitude that has them.
"""

import csv
import datetime
import math
import os
import sys
import zoneinfo

import ephem
from geographiclib.geodesic import Geodesic

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "data",
                    "references")
import reference  # noqa: E402  (beside this file)

KAABA_LAT, KAABA_LON = 21.4225241, 39.8261818
EVENTS = ("fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha")
OSLO, LONDON = ("Oslo", 59.9139, -10.7522), ("London", 51.5074, 0.1278)
QUITO, SYDNEY = ("Quito", -0.1807, 78.4678), ("Sydney", -33.8688, -151.2093)
ANCHORAGE, REYKJAVIK = ("Anchorage", 61.2181, 149.9003), ("Reykjavik", 64.1466, 21.9426)
CAPE_TOWN, MECCA = ("Cape Town", -33.9249, -18.4241), ("Mecca", 21.4225, -39.8262)
# (name, latitude N+, longitude West positive as the program's), zone (East negative, or a
# zone's name), date
PLACES = [(OSLO, -1, "2025-06-01"), (OSLO, -1, "2025-03-20"), (LONDON, 0, "2025-12-21"),
          (QUITO, 5, "2025-09-22"), (SYDNEY, -10, "2025-06-21"), (ANCHORAGE, 9, "2025-01-15"),
          (REYKJAVIK, 1, "1850-10-10"), (CAPE_TOWN, -2, "2199-04-01"), (MECCA, -3, "1800-02-01"),
          (("Ushuaia", -54.8019, 68.3030), 3, "2024-11-05")]
HORIZON_PLACES = [(OSLO, -1, "2025-06-01"), (LONDON, 0, "2025-12-21"), (QUITO, 5, "2025-09-22"),
                  (SYDNEY, -10, "2025-06-21"), (ANCHORAGE, 9, "2025-01-15"),
                  (MECCA, -3, "2024-03-10"), (CAPE_TOWN, -2, "2199-04-01"),
                  (REYKJAVIK, 1, "1850-10-10")]
MOON_PLACES = [(LONDON, 0, "2024-03-12"), (MECCA, -3, "2024-07-20"), (QUITO, 5, "2023-11-05"),
               (SYDNEY, -10, "2024-05-02"), (OSLO, -1, "2024-01-25"),
               (CAPE_TOWN, -2, "2024-09-14"), (("New York", 40.7128, 74.006), 5, "2024-12-03"),
               (("Rabat", 34.0209, 6.8416), -1, "2025-02-17"),
               # A clock with summer time: the Moon's times on it, not on the standard clock.
               (("Paris", 48.8566, -2.3522), "Europe/Paris", "2025-07-01"),
               (SYDNEY, "Australia/Sydney", "2025-01-10")]
POLAR_PLACES = [(("75 S in the polar night", -75, 0), 0, "2025-06-21"),
                (("70 S under the midnight Sun", -70, 0), 0, "2025-12-21"),
                (("75 N in the polar night", 75, 0), 0, "2025-12-21"),
                (("Tromso under the midnight Sun", 69.6492, -18.9553), "Europe/Oslo",
                 "2024-06-21")]
HORIZON = -0.8333  # the tables' rising and setting: the Sun's centre, 34' of refraction
RISING_SETTING = (("sunrise", HORIZON, False), ("sunset", HORIZON, True))
DAY = RISING_SETTING + (("fajr", -19, False), ("isha", -17, True))


def writer(name, comment):
    f = open(os.path.join(HERE, name), "w", newline="")
    f.write(comment)
    return f, csv.writer(f, lineterminator="\n")


def sun_times():
    f, out = writer("sun-times.csv", "# The Sun's times by PyEphem " + ephem.__version__ +
                    " (bench/accuracy/make_test_references.py): seconds after local standard midnight; "
                    "longitude West positive,\n# zone East negative (the program's conventions);"
                    " empty: not reached.\n")
    out.writerow(["place", "latitude", "longitude", "zone", "date", *EVENTS])
    for (name, lat, lon), zone, date in PLACES:
        midnight = datetime.datetime.fromisoformat(date) + datetime.timedelta(hours=zone)
        times = reference.day_times(lon, lat, midnight)
        seconds = [reference.seconds_from(times[e], midnight) for e in EVENTS]
        out.writerow([name, lat, lon, zone, date, *("" if s is None else f"{s:.1f}" for s in seconds)])
    f.close()


def distances():
    with open(os.path.join(HERE, "..", "qibla-bearings.csv")) as f:
        rows = [r for r in csv.reader(line for line in f if not line.startswith("#"))][1:]
    f, out = writer("kaaba-distances.csv", "# Geodesic distance to the Kaaba (21.4225241 N, "
                    "39.8261818 E) on WGS84 by GeographicLib (python3-geographiclib), metres.\n")
    out.writerow(["city", "latitude", "longitude", "metres"])
    for city, lat, lon, _ in rows:
        g = Geodesic.WGS84.Inverse(float(lat), float(lon), KAABA_LAT, KAABA_LON)
        out.writerow([city, lat, lon, f"{g['s12']:.4f}"])
    f.close()


def kaaba_transits(year):
    o = ephem.Observer()
    o.lat, o.lon, o.pressure = math.radians(KAABA_LAT), math.radians(KAABA_LON), 0
    sun, transits = ephem.Sun(), []
    t = o.next_transit(sun, start=reference.ephem_date(datetime.datetime(year, 1, 1)))
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
    f, out = writer("sun-over-kaaba.csv", "# The transits at the Kaaba whose declination is "
                    "nearest to 21.4225241, by PyEphem " + ephem.__version__ +
                    ": UT, and the declination (degrees).\n")
    out.writerow(["year", "rising_ut", "rising_dec", "falling_ut", "falling_dec"])
    for year in (1900, 1990, 2000, 2025, 2050, 2100):
        found = kaaba_transits(year)
        out.writerow([year, *(c for side in ("rising", "falling") for c in (
            ephem.Date(found[side][0]).datetime().strftime("%Y-%m-%dT%H:%M:%S"),
            f"{found[side][1]:.6f}"))])
    f.close()


def clock(seconds):
    """Seconds after a local midnight as the tables write them: HH:MM (rounded half up),
    with +1 or -1 for another day."""
    minutes = math.floor(seconds / 60 + 0.5)
    shift = math.floor(minutes / 1440)
    return f"{minutes // 60 % 24:02d}:{minutes % 60:02d}" + (f"{shift:+d}" if shift else "")


def seconds_text(seconds):
    whole = math.floor(seconds + 0.5)
    return f"{whole // 3600:02d}:{whole // 60 % 60:02d}:{whole % 60:02d}"


def local_midnight(date, zone):
    """The UT of a date's midnight on a clock: a zone name, or hours East negative."""
    day = datetime.datetime.fromisoformat(date)
    if isinstance(zone, str):
        return day - zoneinfo.ZoneInfo(zone).utcoffset(day + datetime.timedelta(hours=12))
    return day + datetime.timedelta(hours=zone)


def sun_events(lon, lat, midnight, events):
    """The Sun's centre at each (name, altitude, after transit) of the day, seconds after
    midnight (None where it does not reach it), and the transit."""
    o, sun = reference._observer(lon, lat), ephem.Sun()
    transit = o.next_transit(sun, start=reference.ephem_date(midnight))
    found = {"transit": reference.seconds_from(transit, midnight)}
    for name, altitude, after in events:
        found[name] = reference.seconds_from(reference._event(o, sun, transit, altitude, after),
                                             midnight)
    return found


def moon_day(lon, lat, midnight):
    """Moonrise and moonset within the local day (seconds after midnight, or None), in the
    U.S. Naval Observatory's convention, and the illuminated fraction at midnight from the
    geocentric elongation, (1 - cos E) / 2, as the tables define it."""
    o = reference._observer(lon, lat)
    o.horizon = "-0:34"
    start, moon, found = reference.ephem_date(midnight), ephem.Moon(), {}
    for name, event in (("moonrise", o.next_rising), ("moonset", o.next_setting)):
        try:
            t = event(moon, start=start)
            found[name] = (t - start) * 86400 if t < start + 1 else None
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            found[name] = None
    moon.compute(start)
    m, s = ephem.Ecliptic(moon), ephem.Ecliptic(ephem.Sun(start))
    found["moon_fraction"] = (1 - math.cos(m.lon - s.lon) * math.cos(m.lat)) / 2
    return found


def polar_day(lon, lat, midnight):
    """The day's times at the nearest latitude toward the equator, by half degrees, at
    which the Sun rises and sets."""
    step = lat
    while step != 0:
        step -= math.copysign(min(0.5, abs(step)), step)
        found = sun_events(lon, step, midnight, DAY)
        if found["sunrise"] is not None and found["sunset"] is not None:
            return step, found
    raise ValueError("no latitude with a rising and a setting")


def timetables():
    def line(tolerance, lat, lon, zone, date, options, cells, comment):
        clock_option = f"--tz {zone}" if isinstance(zone, str) else f"--zone {zone}"
        return (f"{tolerance} | times --lat {abs(lat)}{'S' if lat < 0 else 'N'} --lon {abs(lon)}"
                f"{'E' if lon < 0 else 'W'} {clock_option} --from {date} --days 1 --csv "
                f"{options}| {cells}   # {comment}\n")

    def cells(found, names):
        return " ".join(f"{n}={'' if found[n] is None else clock(found[n])}" for n in names)

    with open(os.path.join(HERE, "timetables-pyephem.txt"), "w") as f:
        f.write(f"# Cells of `zerin times` tables by PyEphem {ephem.__version__} "
                "(bench/accuracy/make_test_references.py); the lines as in timetables.txt.\n"
                "\n# Rising and setting: the Sun's centre at -0.8333 degrees, no pressure.\n")
        for (name, lat, lon), zone, date in HORIZON_PLACES:
            found = sun_events(lon, lat, local_midnight(date, zone), RISING_SETTING)
            f.write(line(30, lat, lon, zone, date, "--seconds ", " ".join(
                f"{n}={seconds_text(found[n])}" for n in ("sunrise", "sunset")), name))
        f.write("\n# The Moon: upper limb, 34' of refraction, topocentric (horizon -0:34, no "
                "pressure); the fraction at local midnight, (1 - cos elongation) / 2.\n")
        for (name, lat, lon), zone, date in MOON_PLACES:
            found = moon_day(lon, lat, local_midnight(date, zone))
            f.write(line(60, lat, lon, zone, date, "--moon ", cells(found, ("moonrise", "moonset"))
                         + f" moon_fraction={found['moon_fraction']:.3f}~0.0015", name))
        f.write("\n# --polar nearest-latitude: the day's times at the nearest latitude toward the"
                " equator, by half degrees, where the Sun rises and sets.\n")
        for (name, lat, lon), zone, date in POLAR_PLACES:
            step, found = polar_day(lon, lat, local_midnight(date, zone))
            f.write(line(60, lat, lon, zone, date, "--polar nearest-latitude ",
                         cells(found, ("fajr", "sunrise", "transit", "sunset", "isha")),
                         f"{name}: the times at {step:g}"))


if __name__ == "__main__":
    sun_times()
    distances()
    sun_over_kaaba()
    timetables()
