"""Runs the zerin command line for the sample and reads its JSON tables.

`zerin ephemeris BODY` gives one row per instant of a place; `zerin times` the
day's prayer times (each at its own instant, or with --as-report the Sun
command's values for 12:00 local standard time).
Every row's instant is read back with its UTC offset, so that the conversion to
UT is the program's own.
"""

import datetime
import json
import os
import re
import subprocess

BODIES = ("sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus",
          "neptune", "pluto")
TIMES = ("fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha")

_ENV = dict(os.environ, LC_ALL="C")
_CLOCK = re.compile(r"^(\d\d):(\d\d):(\d\d)([+-]1)?$")


class ZerinError(RuntimeError):
    pass


def _run(zerin, args):
    done = subprocess.run([zerin, *args], capture_output=True, text=True, env=_ENV)
    if done.returncode != 0:
        raise ZerinError(f"zerin {' '.join(args)}: exit {done.returncode}: "
                         f"{done.stderr.strip()}")
    return json.loads(done.stdout)


def _place_options(place):
    return ["--lon", f"{place.lon:.4f}", "--lat", f"{place.lat:.4f}",
            "--zone", str(place.zone)]


def _offset(text):
    """"+02:00" -> timedelta of two hours ahead of UTC."""
    sign = -1 if text[0] == "-" else 1
    hours, minutes = text[1:].split(":")
    return sign * datetime.timedelta(hours=int(hours), minutes=int(minutes))


def ephemeris(zerin, place, body):
    """The body's rows at the place's instants: each a dict of the table's numbers
    with "ut" (datetime, UT) added, and the place as the program read it."""
    instants = place.local_instants()
    args = ["ephemeris", body, *_place_options(place),
            "--from", instants[0].isoformat(), "--to", instants[-1].isoformat(),
            "--step", f"{place.step_hours}h", "--json"]
    table = _run(zerin, args)
    rows = []
    for row in table["rows"]:
        local = datetime.datetime.fromisoformat(row["time"])
        rows.append(dict(row, ut=local - _offset(row["utc_offset"])))
    if len(rows) != len(instants):
        raise ZerinError(f"zerin {' '.join(args)}: {len(rows)} rows, not {len(instants)}")
    return {"lon": table["lon"], "lat": table["lat"], "rows": rows}


def _seconds(cell):
    """"05:01:58" -> seconds from local midnight; "00:04:17+1" -> past 86400."""
    if cell is None:
        return None
    match = _CLOCK.match(cell)
    if not match:
        raise ZerinError(f"unexpected time cell '{cell}'")
    h, m, s, day = match.groups()
    return int(h) * 3600 + int(m) * 60 + int(s) + (int(day) * 86400 if day else 0)


def day_times(zerin, place, date, as_report=False):
    """The prayer times of one local date, in seconds from local midnight (None
    where the Sun does not reach the altitude), with the day's UTC offset: each
    time at its own instant, or with as_report every time from the Sun's place at
    12:00 (--as-report)."""
    table = _run(zerin, ["times", *_place_options(place), "--from", date.isoformat(),
                         "--days", "1", "--seconds", "--json"]
                 # The report's horizon (-0.25 degrees), which the references take.
                 + (["--as-report"] if as_report else ["--horizon", "report"]))
    row = table["rows"][0]
    times = {name: _seconds(row[name]) for name in TIMES}
    return {"lon": table["lon"], "lat": table["lat"], "offset": _offset(row["utc_offset"]),
            "times": times}
