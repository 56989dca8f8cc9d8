#!/usr/bin/python3
"""The calendars of `zerin times --ics` read by a real calendar client and a real parser.

- khal (Debian's khal) imports each calendar into a scratch calendar of its own (its
  configuration and data in a temporary folder, never the user's), and `khal list` for three
  days shows each time at the local time `zerin times --csv` prints: Rabat as Ramadan begins
  and as the clock moves after it, London in summer time, Sydney as summer time ends, Tromso
  under the midnight Sun. The same place imported again with another method replaces the
  events (the same UIDs) instead of doubling them.
- Python's icalendar (Debian's python3-icalendar) reads every file of a sweep of 100 random
  places (20 runs of 5, each run with random options over a random stretch of 400 days; a
  fixed seed): every event the table implies and no other, each DTSTART the table's local
  time less the row's UTC offset, that offset the one Python's zoneinfo gives; no line longer
  than 75 octets, CR LF line ends, and the same bytes from run to run with SOURCE_DATE_EPOCH.

Exit 77 (skipped) without khal or icalendar. --full gives each place all 400 days (about
240,000 events: a minute and more of icalendar's parsing).
"""
import argparse
import csv
import datetime
import io
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from zoneinfo import ZoneInfo

SKIPPED = 77
try:
    import icalendar
except ImportError:
    print("skipped: python3-icalendar is not installed")
    sys.exit(SKIPPED)
if not shutil.which("khal"):
    print("skipped: khal is not installed")
    sys.exit(SKIPPED)

EPOCH = {"SOURCE_DATE_EPOCH": "1700000000"}
# Each event's column in the table (a table without a "maghrib" column has Maghrib at the
# setting; with the second Asr alone, "asr" is that one).
EVENT_COLUMNS = {
    "fajr": "fajr", "sunrise": "sunrise", "dhuhr": "transit", "asr": "asr1", "asr2": "asr2",
    "maghrib": "maghrib", "isha": "isha", "midnight": "midnight", "last-third": "last_third",
    "imsak": "fajr", "iftar": "maghrib",
}
TITLES = {"fajr": "Fajr", "dhuhr": "Dhuhr", "asr": "Asr", "maghrib": "Maghrib", "isha": "Isha",
          "imsak": "Imsak", "iftar": "Iftar"}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(zerin, args, env=None):
    done = subprocess.run([zerin, "times", *args], capture_output=True,
                          env={**os.environ, "LC_ALL": "C", **(env or {})})
    if done.returncode != 0:
        raise SystemExit(f"zerin times {' '.join(args)}: {done.returncode} {done.stderr!r}")
    return done.stdout


def table_rows(zerin, args):
    """The CSV rows of `zerin times ARGS --csv`, as dicts."""
    text = run(zerin, [*args, "--csv"]).decode()
    lines = [line for line in text.splitlines() if not line.startswith("# ")]
    return list(csv.DictReader(io.StringIO("\n".join(lines))))


def local_reading(row, cell):
    """A table's cell ("05:20", "00:40+1", "05:20:07") as a naive local date and time."""
    match = re.fullmatch(r"(\d\d):(\d\d)(?::(\d\d))?([+-]\d+)?", cell)
    day = datetime.date.fromisoformat(row["date"]) + datetime.timedelta(days=int(match[4] or 0))
    return datetime.datetime.combine(day, datetime.time(int(match[1]), int(match[2]),
                                                        int(match[3] or 0)))


def utc_offset(row):
    sign = -1 if row["utc_offset"][0] == "-" else 1
    hours, minutes = row["utc_offset"][1:].split(":")[:2]
    return sign * datetime.timedelta(hours=int(hours), minutes=int(minutes))


def expected_events(rows, ids, imsak):
    """{(date, id): UTC instant} of every event the table's rows imply."""
    events = {}
    for row in rows:
        ramadan = row.get("hijri", "")[5:7] == "09"
        for event in ids:
            if event in ("imsak", "iftar") and not ramadan:
                continue
            column = EVENT_COLUMNS[event]
            if column not in row:  # Maghrib at the setting, the second Asr alone
                column = {"maghrib": "sunset", "asr1": "asr2"}[column]
            if not row[column]:
                continue
            instant = local_reading(row, row[column]) - utc_offset(row)
            if event == "imsak":
                instant -= datetime.timedelta(minutes=imsak)
            events[(row["date"].replace("-", ""), event)] = instant.replace(
                tzinfo=datetime.timezone.utc)
    return events


def event_ids(options):
    asr = {"shafii": ["asr"], "hanafi": ["asr"], "both": ["asr", "asr2"]}[options["--asr"]]
    ids = ["fajr", "dhuhr", *asr, "maghrib", "isha"]
    if "--ics-sunrise" in options:
        ids.append("sunrise")
    if "--extras" in options:
        ids += ["midnight", "last-third"]
    if "--ramadan" in options:
        ids += ["imsak", "iftar"]
    return ids


def read_calendar(data, where):
    """The events of a calendar's bytes, after checking its lines."""
    lines = data.split(b"\r\n")
    check(lines[-1] == b"" and b"\n" not in b"".join(lines), f"{where}: CR LF line ends")
    check(max(len(line) for line in lines) <= 75, f"{where}: a line of more than 75 octets")
    calendar = icalendar.Calendar.from_ical(data)
    check(not calendar.errors, f"{where}: {calendar.errors}")
    return calendar.walk("VEVENT")


def sweep(zerin, full):
    rng = random.Random(36)
    zones = ["Africa/Casablanca", "Europe/London", "Australia/Sydney", "America/New_York",
             "Asia/Kolkata", "Asia/Tehran", "Asia/Kathmandu", "America/Santiago",
             "Europe/Oslo", "Asia/Riyadh"]
    names = ["Place {}", "مدينة {}", "a/b {}", ".dot {}", 'Q"uote; {}', "back\\slash, {}"]
    events_read = ramadan_read = 0
    with tempfile.TemporaryDirectory() as folder:
        for run_number in range(20):
            ramadan = rng.random() < 0.5
            # With --ramadan, a stretch that meets Ramadan 1447 (18 February to 19 March 2026).
            first = datetime.date(2025, 6, 1) + datetime.timedelta(
                days=rng.randrange(250, 295) if ramadan and not full else rng.randrange(400))
            days = 400 if full else rng.randint(1, 14)
            places = []
            for k in range(5):
                places.append((rng.choice(names).format(run_number * 5 + k),
                               round(rng.uniform(-70, 70), 3), round(rng.uniform(-180, 180), 3),
                               rng.choice(zones)))
            places_file = os.path.join(folder, f"places{run_number}.csv")
            with open(places_file, "w", newline="", encoding="utf-8") as out:
                writer = csv.writer(out)
                writer.writerow(["name", "latitude", "longitude", "zone"])
                for name, lat, lon, zone in places:
                    writer.writerow([name, lat, -lon, zone])  # West positive
            options = {"--asr": rng.choice(["shafii", "hanafi", "both"])}
            table = ["--places", places_file, "--from", first.isoformat(), "--days", str(days),
                     "--method", rng.choice(["morocco", "mwl", "isna", "umm-al-qura",
                                             "moonsighting", "tehran", "dubai", "singapore"]),
                     "--asr", options["--asr"],
                     "--high-lat", rng.choice(["none", "middle", "seventh", "angle"]),
                     "--polar", rng.choice(["none", "nearest-latitude", "nearest-day"])]
            if rng.random() < 0.3:
                table.append("--seconds")
            if rng.random() < 0.5:
                table.append("--extras")
                options["--extras"] = True
            hijri = rng.choice(["umm-al-qura", "civil", "astronomical", None])
            calendar = ["--lang", rng.choice(["ar", "en"])]
            if hijri:
                calendar += ["--hijri-rule", hijri]
            imsak = 10
            if ramadan:
                options["--ramadan"] = True
                calendar.append("--ramadan")
                if rng.random() < 0.5:
                    imsak = rng.choice([0, 15, 180])
                    calendar += ["--imsak", str(imsak)]
            if rng.random() < 0.5:
                options["--ics-sunrise"] = True
                calendar.append("--ics-sunrise")
            if rng.random() < 0.5:
                calendar += ["--ics-alarm", str(rng.randrange(121))]
            if rng.random() < 0.5:
                calendar += ["--ics-duration", rng.choice(["20", "fajr=20,isha=5", "0"])]
            target = os.path.join(folder, f"run{run_number}/")
            run(zerin, [*table, *calendar, "--ics", target], EPOCH)
            again = os.path.join(folder, f"again{run_number}/")
            run(zerin, [*table, *calendar, "--ics", again], EPOCH)
            rows = table_rows(zerin, [*table, "--hijri-rule", hijri or "umm-al-qura"])
            for name, lat, lon, zone in places:
                file_name = re.sub(r"^\.", "_", re.sub(r"[/\x00-\x1f\x7f]", "-", name)) + ".ics"
                data = open(os.path.join(target, file_name), "rb").read()
                where = f"run {run_number}, {name}"
                check(data == open(os.path.join(again, file_name), "rb").read(),
                      f"{where}: not the same bytes from run to run")
                place_rows = [row for row in rows if row["place"] == name]
                for row in place_rows:
                    noon = datetime.datetime.fromisoformat(row["date"] + "T12:00")
                    check(ZoneInfo(zone).utcoffset(noon) == utc_offset(row),
                          f"{where}: {row['date']}'s offset {row['utc_offset']}")
                expected = expected_events(place_rows, event_ids(options), imsak)
                read = {}
                for event in read_calendar(data, where):
                    day, event_id = str(event["UID"]).split("-", 2)[:2]
                    event_id = "last-third" if event_id == "last" else event_id
                    read[(day, event_id)] = event.decoded("DTSTART")
                events_read += len(read)
                ramadan_read += sum(event_id == "imsak" for _, event_id in read)
                check(read == expected,
                      f"{where}: events differ from the table's: "
                      f"{sorted(set(read.items()) ^ set(expected.items()))[:4]}")
    print(f"sweep: 100 places, {events_read} events read by icalendar "
          f"({ramadan_read} of them Imsak)")


KHAL_CASES = [
    # what, place, zone, first day, options of the table (--ramadan: of the calendar)
    ("Rabat as Ramadan begins", "--lon 6:50W --lat 34:01N", "Africa/Casablanca", "2026-02-17",
     "--ramadan"),
    ("Rabat as the clock moves after Ramadan", "--lon 6:50W --lat 34:01N", "Africa/Casablanca",
     "2026-03-21", ""),
    ("London in summer time", "--lon 0:7W --lat 51:30N", "Europe/London", "2026-06-20",
     "--method isna --high-lat angle"),
    ("Sydney as summer time ends", "--lon 151:12E --lat 33:52S", "Australia/Sydney",
     "2026-04-04", "--method mwl"),
    ("Tromso under the midnight Sun", "--lon 18:57E --lat 69:39N", "Europe/Oslo", "2026-06-20",
     "--polar nearest-latitude"),
]


class Khal:
    """khal with a configuration and a calendar of its own in a temporary folder."""

    def __init__(self, folder, zone):
        self.env = {**os.environ, "XDG_CONFIG_HOME": os.path.join(folder, "config"),
                    "XDG_DATA_HOME": os.path.join(folder, "data")}
        calendar = os.path.join(folder, "data", "calendar")
        os.makedirs(calendar, exist_ok=True)
        os.makedirs(os.path.join(folder, "config", "khal"), exist_ok=True)
        with open(os.path.join(folder, "config", "khal", "config"), "w") as config:
            config.write(f"[calendars]\n[[zerin]]\npath = {calendar}\ntype = calendar\n"
                         "[locale]\ntimeformat = %H:%M\ndateformat = %Y-%m-%d\n"
                         "longdateformat = %Y-%m-%d\ndatetimeformat = %Y-%m-%d %H:%M\n"
                         "longdatetimeformat = %Y-%m-%d %H:%M\n"
                         f"local_timezone = {zone}\ndefault_timezone = {zone}\n"
                         "[default]\ndefault_calendar = zerin\n")

    def run(self, *args):
        return subprocess.run(["khal", *args], capture_output=True, text=True, check=True,
                              env=self.env).stdout

    def events(self, first, days):
        listed = self.run("list", "--format", "{start-date} {start-time} {title}",
                          "--day-format", "", first, f"{days}d")
        return sorted(line for line in listed.splitlines() if line.strip())


def shown_in_khal(rows, ids, first, days):
    """The lines `khal list` shows for the table's rows: each time on the table's clock."""
    lines = []
    last = (datetime.date.fromisoformat(first) + datetime.timedelta(days=days)).isoformat()
    for (day, event), instant in expected_events(rows, ids, 10).items():
        row = next(row for row in rows if row["date"].replace("-", "") == day)
        local = instant.replace(tzinfo=None) + utc_offset(row)
        if first <= local.date().isoformat() < last:
            lines.append(f"{local:%Y-%m-%d %H:%M} {TITLES[event]}")
    return sorted(lines)


def khal_cases(zerin):
    for what, place, zone, first, more in KHAL_CASES:
        with tempfile.TemporaryDirectory() as folder:
            khal = Khal(folder, zone)
            ramadan = more == "--ramadan"
            table = [*place.split(), "--tz", zone, "--from", first, "--days", "3", "--asr",
                     "shafii", *([] if ramadan else more.split())]
            ics = os.path.join(folder, "times.ics")
            run(zerin, [*table, "--ics", ics, "--name", what, "--lang", "en",
                        *(["--ramadan"] if ramadan else [])])
            khal.run("import", "--batch", "-a", "zerin", ics)
            rows = table_rows(zerin, [*table, "--hijri-rule", "umm-al-qura"])
            ids = event_ids({"--asr": "shafii", **({"--ramadan": 1} if ramadan else {})})
            expected = shown_in_khal(rows, ids, first, 3)
            check(khal.events(first, 3) == expected,
                  f"{what}: khal shows {khal.events(first, 3)}, the table {expected}")
            if zone == "Europe/Oslo":
                maghrib = [e for e in icalendar.Calendar.from_ical(open(ics, "rb").read())
                           .walk("VEVENT") if e["SUMMARY"] == "Maghrib"]
                check(len(maghrib) == 3 and all(
                    "does not reach the altitude of: Fajr, Isha" in e["DESCRIPTION"]
                    and "taken by the polar rule" in e["DESCRIPTION"] for e in maghrib),
                    f"{what}: Maghrib's description says why there is no Isha")
            if first == "2026-03-21":
                # Another method, imported again: replaced, not doubled.
                run(zerin, [*table, "--method", "mwl", "--ics", ics, "--name", what, "--lang",
                            "en"])
                khal.run("import", "--batch", "-a", "zerin", ics)
                expected = shown_in_khal(table_rows(zerin, [*table, "--method", "mwl"]), ids,
                                         first, 3)
                check(khal.events(first, 3) == expected,
                      f"{what}, imported again with another method: {khal.events(first, 3)}")
    print(f"khal: {len(KHAL_CASES)} places")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zerin", required=True)
    parser.add_argument("--full", action="store_true")
    arguments = parser.parse_args()
    khal_cases(arguments.zerin)
    sweep(arguments.zerin, arguments.full)
    print(f"{0 if failures else 1} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
