"""The measurement: zerin's values and the references' for the sample, as errors.

A position record holds, for one body at one place and instant, zerin minus the
reference: right ascension (arcseconds on the sky, that is times the cosine of
the declination) and declination (arcseconds) of the geocentric apparent place,
the same at the instant whose Terrestrial Time reads the clock ("theory alone",
without Delta T), the distance (km), and for the Moon and the planets the
topocentric place.
A time record holds one prayer time of one day: zerin's, PyEphem's and adhan's,
in seconds from local midnight.
"""

import concurrent.futures
import datetime
import json
import math
import os
import subprocess
import sys

import reference
import sample
import zerin_runs

HERE = os.path.dirname(os.path.abspath(__file__))


def decimal_year(t):
    start = datetime.datetime(t.year, 1, 1)
    length = datetime.datetime(t.year + 1, 1, 1) - start
    return t.year + (t - start) / length


def _arcsec(degrees):
    """A difference of angles in degrees, brought into -180..180, in arcseconds."""
    return ((degrees + 180) % 360 - 180) * 3600


def _sky_errors(z_ra_h, z_dec, r_ra_h, r_dec):
    return (_arcsec((z_ra_h - r_ra_h) * 15) * math.cos(math.radians(r_dec)),
            _arcsec(z_dec - r_dec))


def _zerin_distance_km(row):
    return row["distance_km"] if "distance_km" in row else row["distance_au"] * reference.AU_KM


class MisreadError(RuntimeError):
    pass


def check_read(what, place, table, ut=None, expected_ut=None):
    """The reference is computed for the place and instant that were asked for:
    zerin must have read them so."""
    if abs(table["lon"] - place.lon) > 1e-9 or abs(table["lat"] - place.lat) > 1e-9:
        raise MisreadError(f"{what}: zerin read the place {place.lon}, {place.lat} as "
                           f"{table['lon']}, {table['lat']}")
    if ut != expected_ut:
        raise MisreadError(f"{what}: the instant {expected_ut} UT came back as {ut} UT")


def position_record(body, place, table, row, expected_ut):
    ut = row["ut"]
    check_read(body, place, table, ut, expected_ut)
    ref = reference.place(body, place.lon, place.lat, ut)
    theory = reference.place_at_dynamical_time(body, ut)
    rec = {"body": body, "group": place.group, "year": decimal_year(ut), "lat": place.lat,
           "lon": place.lon, "ut": ut.isoformat()}
    rec["ra"], rec["dec"] = _sky_errors(row["ra_h"], row["dec_deg"], ref["ra_h"], ref["dec_deg"])
    rec["ra_tt"], rec["dec_tt"] = _sky_errors(row["ra_h"], row["dec_deg"], theory["ra_h"],
                                              theory["dec_deg"])
    rec["distance"] = _zerin_distance_km(row) - ref["distance_km"]
    rec["distance_ppm"] = rec["distance"] / ref["distance_km"] * 1e6
    if body != "sun":
        rec["topo_ra"], rec["topo_dec"] = _sky_errors(
            row["topo_ra_deg"] / 15, row["topo_dec_deg"], ref["topo_ra_deg"] / 15,
            ref["topo_dec_deg"])
    return rec


def _parallel(jobs, function, tasks):
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        return list(pool.map(lambda task: function(*task), tasks))


def positions(zerin, places, jobs):
    tasks = [(zerin, p, body) for p in places for body in zerin_runs.BODIES]
    tables = _parallel(jobs, zerin_runs.ephemeris, tasks)
    return [position_record(body, p, table, row, ut)
            for (_, p, body), table in zip(tasks, tables)
            for row, ut in zip(table["rows"], p.ut_instants())]


def _day_tasks(zerin, places):
    """One day per instant: the local date of the instant."""
    return [(zerin, p, t.date()) for p in places for t in p.local_instants()]


def times(zerin, places, jobs):
    """The day records, one per sampled day: zerin's times (each at its own
    instant, and as the report computes them, from the Sun at 12:00) and
    PyEphem's, with the Sun's lowest altitudes around the day."""
    tasks = _day_tasks(zerin, places)
    days = _parallel(jobs, zerin_runs.day_times, tasks)
    as_report = _parallel(jobs, zerin_runs.day_times, [(*t, True) for t in tasks])
    records = []
    for (_, p, date), day, report_day in zip(tasks, days, as_report):
        midnight = datetime.datetime.combine(date, datetime.time())
        midnight_ut = midnight + p.zone * sample.HOUR
        check_read(f"times of {date}", p, day, midnight - day["offset"], midnight_ut)
        check_read(f"times of {date} as the report", p, report_day,
                   midnight - report_day["offset"], midnight_ut)
        ref = reference.day_times(p.lon, p.lat, midnight_ut)
        lowest = ref.pop("lowest")
        records.append({
            "group": p.group, "year": decimal_year(midnight_ut), "lat": p.lat,
            "lon": p.lon, "date": date.isoformat(),
            "offset": day["offset"].total_seconds(), "zerin": day["times"],
            "zerin_report": report_day["times"], "lowest": lowest,
            "reference": {k: reference.seconds_from(v, midnight_ut) for k, v in ref.items()}})
    return records


def add_adhan(day_records):
    """adhan's times of the same places and days, added to each day record."""
    query = [{"lat": d["lat"], "lon": -d["lon"], "date": d["date"], "offset": d["offset"]}
             for d in day_records]
    done = subprocess.run(["node", os.path.join(HERE, "adhan_times.js")],
                          input=json.dumps(query), capture_output=True, text=True, check=True,
                          env=dict(os.environ, TZ="UTC"))
    for d, a in zip(day_records, json.loads(done.stdout)):
        d["adhan"] = a


def measure(zerin, seed, jobs, groups):
    places = sample.draw(seed, groups)
    return places, positions(zerin, places, jobs), times(zerin, places, jobs)


# Bounds of the smoke run, about three times the largest error of the whole run:
# they catch a broken conversion (a sign, a zone, a unit), not the theory.
# Body: (arcseconds, parts per million of the distance).
SMOKE_BOUNDS = {"sun": (120, 250), "moon": (900, 500), "mercury": (250, 800),
                "venus": (400, 1200), "mars": (1100, 3500), "jupiter": (1700, 5000),
                "saturn": (5000, 16000), "uranus": (3200, 12000), "neptune": (1000, 7000),
                "pluto": (10000, 36000)}
# Prayer time: seconds. Dawn and nightfall near the latitude where they cease are
# very sensitive, and may be found by one side only.
SMOKE_BOUNDS_SECONDS = {"fajr": 3600, "sunrise": 60, "transit": 10, "asr1": 60,
                        "asr2": 60, "sunset": 60, "isha": 3600}
MAY_BE_MISSING_IN_ONE = ("fajr", "isha")


def _smoke_faults(position_records, day_records):
    faults = []
    for r in position_records:
        arcsec, ppm = SMOKE_BOUNDS[r["body"]]
        for key in ("ra", "dec", "topo_ra", "topo_dec"):
            if key in r and abs(r[key]) > arcsec:
                faults.append(f"{r['body']} {key} at {r['ut']} UT: {r[key]:.0f} arcsec")
        if abs(r["distance_ppm"]) > ppm:
            faults.append(f"{r['body']} distance at {r['ut']} UT: {r['distance_ppm']:.0f} ppm")
    for d in day_records:
        for name, z in d["zerin"].items():
            ref = d["reference"][name]
            where = f"{name} on {d['date']} at {d['lon']}, {d['lat']}"
            if (z is None) != (ref is None):
                if name not in MAY_BE_MISSING_IN_ONE:
                    faults.append(f"{where}: zerin {z}, reference {ref}")
            elif z is not None and abs(z - ref) > SMOKE_BOUNDS_SECONDS[name]:
                faults.append(f"{where}: {z - ref:.0f} s")
    return faults


def smoke(zerin, seed, jobs):
    _, position_records, day_records = measure(zerin, seed, jobs, sample.SMOKE)
    faults = _smoke_faults(position_records, day_records)
    for f in faults:
        print(f"accuracy smoke: {f}", file=sys.stderr)
    print(f"accuracy smoke: {len(position_records)} body places and {len(day_records)} days "
          f"measured, {len(faults)} errors beyond their bounds")
    return 1 if faults else 0


def full(zerin, seed, jobs, docs):
    import summary  # matplotlib is needed only here

    started = datetime.datetime.now()
    places, position_records, day_records = measure(zerin, seed, jobs, sample.FULL)
    add_adhan(day_records)
    seconds = (datetime.datetime.now() - started).total_seconds()
    summary.write(docs, seed, places, position_records, day_records)
    print(f"accuracy: {len(position_records)} body places and {len(day_records)} days "
          f"measured in {seconds:.0f} s; {os.path.join(docs, 'accuracy.md')} written")
