#!/usr/bin/python3
"""The calendars of `zerin times --ics` in khal (configured in a temporary folder: each time at
the table's local time, replaced when imported again by another method) and in Python's
icalendar (100 random places, 20 runs of 5 with random options and a fixed seed: the events the
table implies at its times less the UTC offsets zoneinfo gives, lines of at most 75 octets ending
in CR LF, the same bytes twice). Exit 77 without them; --full: 400 days a place."""
import csv, datetime, io, os, random, re, shutil, subprocess, sys, tempfile
from zoneinfo import ZoneInfo

try:
    import icalendar
except ImportError:
    icalendar = None
if not icalendar or not shutil.which("khal"):
    sys.exit(print("skipped: khal or python3-icalendar is not installed") or 77)

ZERIN = sys.argv[sys.argv.index("--zerin") + 1]
# Each event's column (a table without "maghrib" has Maghrib at the setting; "asr" is the
# second Asr when it is alone).
COLUMNS = {"fajr": "fajr", "sunrise": "sunrise", "dhuhr": "transit", "asr": "asr1",
           "asr2": "asr2", "maghrib": "maghrib", "isha": "isha", "midnight": "midnight",
           "last": "last_third", "imsak": "fajr", "iftar": "maghrib"}
failures = []
check = lambda ok, what: ok or failures.append(what) or print("FAIL:", what)


def zerin(*args):
    done = subprocess.run([ZERIN, "times", *args], capture_output=True,
                          env={**os.environ, "SOURCE_DATE_EPOCH": "1700000000"})
    if done.returncode:
        sys.exit(f"zerin times {' '.join(args)}: {done.stderr!r}")
    return done.stdout


def table(*args):
    text = re.sub(r"^# .*\n", "", zerin(*args, "--csv").decode())
    return list(csv.DictReader(io.StringIO(text)))


def offset(row):
    sign, hours, minutes = row["utc_offset"][0], *row["utc_offset"][1:6].split(":")
    return int(sign + "1") * datetime.timedelta(hours=int(hours), minutes=int(minutes))


def expected(rows, ids, imsak=10):
    """{(YYYYMMDD, id): UTC instant} of every event the table's rows imply."""
    events = {}
    for row, event in ((row, event) for row in rows for event in ids):
        column = COLUMNS[event]
        column = column if column in row else {"maghrib": "sunset", "asr1": "asr2"}[column]
        if not row[column] or (event in ("imsak", "iftar") and row["hijri"][5:7] != "09"):
            continue
        h, m, s, shift = re.fullmatch(r"(\d\d):(\d\d)(?::(\d\d))?([+-]\d)?",
                                      row[column]).groups()
        local = datetime.datetime.fromisoformat(row["date"]) + datetime.timedelta(
            days=int(shift or 0), hours=int(h), seconds=int(s or 0),
            minutes=int(m) - (imsak if event == "imsak" else 0))
        events[(row["date"].replace("-", ""), event)] = (local - offset(row)).replace(
            tzinfo=datetime.timezone.utc)
    return events


def sweep(full):
    rng, read = random.Random(36), 0
    zones = ["Africa/Casablanca", "Europe/London", "Australia/Sydney", "America/Santiago",
             "Asia/Tehran", "Asia/Kathmandu", "Europe/Oslo"]
    names = ["Place {}", "مدينة {}", "a/b {}", ".dot {}", 'Q"uote; {}', "back\\slash, {}"]
    choices = {"--asr": ["shafii", "hanafi", "both"], "--high-lat": ["none", "middle", "angle"],
               "--method": ["morocco", "mwl", "isna", "moonsighting", "tehran", "singapore"],
               "--polar": ["none", "nearest-latitude", "nearest-day"],
               "--hijri-rule": ["umm-al-qura", "civil", "astronomical"], "--lang": ["ar", "en"],
               "--imsak": ["10", "0", "180"], "--ics-alarm": ["0", "15"],
               "--ics-duration": ["20", "fajr=20,isha=5"]}
    with tempfile.TemporaryDirectory() as folder:
        for run in range(20):
            o = {option: rng.choice(values) for option, values in choices.items()}
            flags = rng.sample(["--seconds", "--extras", "--ics-sunrise"], 2)
            ramadan = rng.random() < 0.5  # then a stretch that meets Ramadan 1447
            first = datetime.date(2025, 6, 1) + datetime.timedelta(
                days=rng.randrange(250, 295) if ramadan and not full else rng.randrange(400))
            places = [(rng.choice(names).format(run * 5 + k), round(rng.uniform(-70, 70), 3),
                       round(rng.uniform(-180, 180), 3), rng.choice(zones)) for k in range(5)]
            with open(f"{folder}/places.csv", "w", newline="", encoding="utf-8") as out:
                csv.writer(out).writerows([("name", "latitude", "longitude", "zone"), *places])
            pairs = lambda *names: [x for name in names for x in (name, o[name])]
            options = ["--places", f"{folder}/places.csv", "--from", first.isoformat(), "--days",
                       str(400 if full else rng.randint(1, 14))]
            options += pairs("--asr", "--high-lat", "--method", "--polar", "--hijri-rule")
            options += [flag for flag in flags if flag != "--ics-sunrise"]
            calendar = pairs("--lang", "--ics-alarm", "--ics-duration") + ["--ramadan"] * ramadan
            calendar += pairs("--imsak") * ramadan + ["--ics-sunrise"] * ("--ics-sunrise" in flags)
            ids = ["fajr", "dhuhr", "asr", "maghrib", "isha"] + ["asr2"] * (o["--asr"] == "both")
            ids += ["midnight", "last"] * ("--extras" in flags) + ["imsak", "iftar"] * ramadan + [
                "sunrise"] * ("--ics-sunrise" in flags)
            for target in ("run", "again"):
                zerin(*options, *calendar, "--ics", f"{folder}/{target}{run}/")
            rows = table(*options)
            for name, lat, lon, zone in places:
                file = re.sub(r"^\.", "_", re.sub(r"[/\x00-\x1f\x7f]", "-", name)) + ".ics"
                data = open(f"{folder}/run{run}/{file}", "rb").read()
                check(data == open(f"{folder}/again{run}/{file}", "rb").read(), f"{file}: bytes")
                lines = data.split(b"\r\n")
                check(lines[-1] == b"" and b"\n" not in b"".join(lines) and
                      max(map(len, lines)) <= 75, f"{file}: lines of at most 75 octets, CR LF")
                parsed = icalendar.Calendar.from_ical(data)
                check(not parsed.errors, f"{file}: {parsed.errors}")
                events = {tuple(str(e["UID"]).split("-")[:2]): e.decoded("DTSTART")
                          for e in parsed.walk("VEVENT")}
                mine = [row for row in rows if row["place"] == name]
                for row in mine:
                    noon = datetime.datetime.fromisoformat(row["date"] + "T12:00")
                    check(ZoneInfo(zone).utcoffset(noon) == offset(row), f"{file}: {row}")
                want = expected(mine, ids, int(o["--imsak"]))
                differ = sorted(set(events.items()) ^ set(want.items()))
                check(not differ, f"{file}: events that differ from the table's: {differ[:3]}")
                read += len(events)
    print(f"sweep: 100 places, {read} events read by icalendar")


def khal(folder, zone, *args):
    """khal with a configuration and a calendar of its own in folder."""
    os.makedirs(f"{folder}/config/khal", exist_ok=True)
    os.makedirs(f"{folder}/calendar", exist_ok=True)
    with open(f"{folder}/config/khal/config", "w") as config:
        config.write(f"[calendars]\n[[zerin]]\npath = {folder}/calendar\n[locale]\ntimeformat = "
                     f"%H:%M\ndateformat = %Y-%m-%d\nlocal_timezone = {zone}\ndefault_timezone = "
                     f"{zone}\n")
    return subprocess.run(["khal", *args], capture_output=True, text=True, check=True, env={
        **os.environ, "XDG_CONFIG_HOME": f"{folder}/config", "XDG_DATA_HOME": folder}).stdout


def khal_cases():
    titles = {e: e.capitalize() for e in "fajr dhuhr asr maghrib isha imsak iftar".split()}
    for what, place, zone, first, imports in [  # each import: the table's options
            ("Rabat, Ramadan begins", "6:50W 34:01N", "Africa/Casablanca", "2026-02-17", [""]),
            ("Rabat, the clock moves", "6:50W 34:01N", "Africa/Casablanca", "2026-03-21",
             ["", "--method mwl"]),  # imported again by another method: replaced
            ("London", "0:7W 51:30N", "Europe/London", "2026-06-20",
             ["--method isna --high-lat angle"]),
            ("Sydney", "151:12E 33:52S", "Australia/Sydney", "2026-04-04", [""]),
            ("Tromso", "18:57E 69:39N", "Europe/Oslo", "2026-06-20", ["--polar nearest-latitude"])]:
        end = (datetime.date.fromisoformat(first) + datetime.timedelta(days=3)).isoformat()
        with tempfile.TemporaryDirectory() as folder:
            ics = f"{folder}/times.ics"
            for more in imports:
                lon, lat = place.split()
                args = ["--lon", lon, "--lat", lat, "--tz", zone, "--from", first, "--days", "3",
                        "--asr", "shafii", "--hijri-rule", "umm-al-qura", *more.split()]
                zerin(*args, "--ics", ics, "--name", what, "--lang", "en", "--ramadan")
                want = sorted(f"{t + offset(row):%Y-%m-%d %H:%M} {titles[e]}"
                              for row in table(*args) for (_, e), t in expected([row], titles).items()
                              if first <= (t + offset(row)).date().isoformat() < end)
                khal(folder, zone, "import", "--batch", "-a", "zerin", ics)
                shown = sorted(line for line in khal(
                    folder, zone, "list", "--format", "{start-date} {start-time} {title}",
                    "--day-format", "", first, "3d").split("\n") if line.strip())
                check(shown == want, f"{what} {more}: khal shows {shown}, the table {want}")
        if zone == "Europe/Oslo":  # no Isha under the midnight Sun: Maghrib's description says so
            notes = [e["DESCRIPTION"] for e in icalendar.Calendar.from_ical(zerin(
                *args, "--ics", "-", "--lang", "en")).walk("VEVENT") if e["SUMMARY"] == "Maghrib"]
            check(len(notes) == 3 and all("altitude of: Fajr, Isha" in n and "polar rule" in n
                                          for n in notes), f"{what}: Maghrib's note")
    print("khal: 5 places")


khal_cases()
sweep("--full" in sys.argv)
print(f"{0 if failures else 1} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
