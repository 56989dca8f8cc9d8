"""Tables and plots of the measured errors, and docs/accuracy.md from its template.

Every table gives the median, the 95th percentile and the maximum of the absolute
error, over the instants of 1950-2100 and over all of 1800-2200.
"""

import io
import os
import string

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402  (after the backend is chosen)
import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402  (Pillow comes with matplotlib)

HERE = os.path.dirname(os.path.abspath(__file__))
WINDOWS = ((1950, 2100), (1800, 2200))
PLANETS = ("mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto")
EVENTS = (("fajr", "dawn (Sun at −19°)"), ("sunrise", "rising (centre at −0.25°)"),
          ("transit", "transit"), ("asr1", "first afternoon (shadow factor 1)"),
          ("asr2", "second afternoon (shadow factor 2)"),
          ("sunset", "setting (centre at −0.25°)"), ("isha", "nightfall (Sun at −17°)"))
POSITION_ROWS = (("ra", "right ascension (″ on the sky)"), ("dec", "declination (″)"),
                 ("ra_tt", "right ascension, theory alone (″ on the sky)"),
                 ("dec_tt", "declination, theory alone (″)"), ("distance", "distance (km)"))
TOPO_ROWS = (("topo_ra", "topocentric right ascension (″ on the sky)"),
             ("topo_dec", "topocentric declination (″)"))
PNG_DPI, PNG_COLOURS = 80, 64
ANCHORS = {"sun": "the-sun", "moon": "the-moon"}  # the headings' link names
EVENT_COLOURS = {event: f"C{k}" for k, (event, _) in enumerate(EVENTS)}


def number(x):
    return f"{x:.1f}" if abs(x) < 10 else f"{x:,.0f}"


def stats(values):
    a = np.abs(np.asarray(values, dtype=float))
    if a.size == 0:
        return None
    return np.median(a), np.percentile(a, 95), a.max()


def _in(window, year):
    return window[0] <= year < window[1]


def _row(label, per_window):
    cells = []
    for s in per_window:
        cells += ["—"] * 3 if s is None else [number(v) for v in s]
    return f"| {label} | " + " | ".join(cells) + " |"


def _header(extra=()):
    cells = ["", "1950–2100 median", "95 %", "max", "1800–2200 median", "95 %", "max", *extra]
    return "| " + " | ".join(cells) + " |\n|---|" + "---:|" * (len(cells) - 1)


def position_table(records, body):
    rows = [r for r in records if r["body"] == body]
    keys = [k for k in POSITION_ROWS if body in ("sun", "moon") or not k[0].endswith("_tt")]
    keys += TOPO_ROWS if body != "sun" else ()
    lines = [_header()]
    for key, label in keys:
        lines.append(_row(label, [stats([r[key] for r in rows if _in(w, r["year"])])
                                  for w in WINDOWS]))
    return "\n".join(lines)


def glance_table(records):
    """One line per body: the errors of the geocentric place over 1950-2100."""
    lines = ["| | right ascension: median | 95 % | declination: median | 95 % "
             "| distance: median | 95 % |", "|---|---:|---:|---:|---:|---:|---:|"]
    for body in ("sun", "moon") + PLANETS:
        rows = [r for r in records if r["body"] == body and _in(WINDOWS[0], r["year"])]
        ra, dec = stats([r["ra"] for r in rows]), stats([r["dec"] for r in rows])
        distance = stats([r["distance_ppm"] for r in rows])
        lines.append(f"| [{body.capitalize()}](#{ANCHORS.get(body, body)}) | {number(ra[0])}″ | {number(ra[1])}″ | "
                     f"{number(dec[0])}″ | {number(dec[1])}″ | {_ppm(distance[0])} | "
                     f"{_ppm(distance[1])} |")
    return "\n".join(lines)


def _ppm(x):
    """Parts per million of the distance, as a percentage when that is shorter."""
    return f"{x / 1e4:.2f} %" if x >= 1000 else f"{x:.0f} ppm"


def _time_errors(days, event, window, other="reference", other_event=None, mine="zerin"):
    other_event = other_event or event
    return [d[mine][event] - d[other][other_event] for d in days if _in(window, d["year"])
            and d[mine][event] is not None and d[other][other_event] is not None]


def _missing_in_one(days, event, other="reference", other_event=None):
    other_event = other_event or event
    return sum((d["zerin"][event] is None) != (d[other][other_event] is None) for d in days)


def _missing_in_both(days, event):
    return sum(d["zerin"][event] is None and d["reference"][event] is None for d in days)


def times_table(days):
    lines = [_header(("none in both", "found by one only"))]
    for event, label in EVENTS:
        row = _row(label, [stats(_time_errors(days, event, w)) for w in WINDOWS])
        lines.append(row + f" {_missing_in_both(days, event)} | {_missing_in_one(days, event)} |")
    return "\n".join(lines)


# The tables' accuracy by latitude band: each time at its own instant (exact, the
# default) against every time from the Sun at 12:00 (--as-report, before).
BANDS = ((0, 20), (20, 35), (35, 45), (45, 55), (55, 65.01))
BAND_GROUPS = (("transit", ("transit",)), ("rising, setting", ("sunrise", "sunset")),
               ("afternoon", ("asr1", "asr2")), ("dawn, nightfall", ("fajr", "isha")))
GOAL_SECONDS = 30
# The altitudes (degrees) of the times, and the lower culmination that decides them.
LIMITS = {"fajr": (-19, "before"), "isha": (-17, "after"), "sunrise": (-0.25, "before"),
          "sunset": (-0.25, "after")}


def _band(days, band):
    return [d for d in days if band[0] <= abs(d["lat"]) < band[1]]


def _largest(days, events, mine):
    errors = [abs(e) for event in events
              for e in _time_errors(days, event, WINDOWS[1], mine=mine)]
    return max(errors) if errors else None


def _beyond(days, events, mine="zerin", seconds=GOAL_SECONDS):
    return sum(abs(e) > seconds for event in events
               for e in _time_errors(days, event, WINDOWS[1], mine=mine))


def _one_only(days, events, mine):
    return sum((d[mine][e] is None) != (d["reference"][e] is None) for d in days for e in events)


def bands_table(days):
    cells = ["latitude", "days"] + [f"{g}: before → after (max, s)" for g, _ in BAND_GROUPS]
    cells += [f"beyond {GOAL_SECONDS} s: before → after", "found by one only: before → after"]
    lines = ["| " + " | ".join(cells) + " |", "|---|" + "---:|" * (len(cells) - 1)]
    every = tuple(e for _, events in BAND_GROUPS for e in events)
    for band in BANDS:
        rows = _band(days, band)
        line = [f"{band[0]:.0f}–{min(band[1], 65):.0f}°", f"{len(rows):,}"]
        for _, events in BAND_GROUPS:
            before, after = _largest(rows, events, "zerin_report"), _largest(rows, events, "zerin")
            line.append("—" if before is None else f"{number(before)} → {number(after)}")
        line.append(f"{_beyond(rows, every, 'zerin_report')} → {_beyond(rows, every)}")
        line.append(f"{_one_only(rows, every, 'zerin_report')} → {_one_only(rows, every, 'zerin')}")
        lines.append("| " + " | ".join(line) + " |")
    return "\n".join(lines)


def _margin_arcsec(d, event):
    """How far (arcseconds) the Sun's lowest point around the time passes beyond the
    time's altitude: the smaller, the more a time depends on the declination."""
    altitude, side = LIMITS[event]
    return (altitude - d["lowest"][side]) * 3600


def beyond_table(days):
    """Every exact time more than the goal from the reference, or found by one only."""
    lines = ["| date | latitude | time | zerin − PyEphem (s) | lowest point beyond the "
             "altitude (″) |", "|---|---:|---|---:|---:|"]
    rows = []
    for d in days:
        for event in LIMITS:
            z, r = d["zerin"][event], d["reference"][event]
            if (z is None) != (r is None):
                rows.append((d, event, "found by " + ("zerin" if r is None else "PyEphem")
                             + " only"))
            elif z is not None and abs(z - r) > GOAL_SECONDS:
                rows.append((d, event, f"{z - r:+,.0f}"))
    rows.sort(key=lambda row: abs(_margin_arcsec(row[0], row[1])))
    for d, event, error in rows:
        lines.append(f"| {d['date']} | {d['lat']:.2f} | {event} | {error} | "
                     f"{_margin_arcsec(d, event):+.1f} |")
    return "\n".join(lines), len(rows)


ADHAN_ROWS = (("fajr", "fajr", "dawn (19°)"),
              ("sunrise", "sunrise", "rising: adhan's upper limb with refraction (−50′)"),
              ("sunrise", "sunrise25", "rising: adhan's method at zerin's −0.25°"),
              ("transit", "transit", "transit"),
              ("asr1", "asr1", "first afternoon (Shafi: factor 1)"),
              ("asr2", "asr2", "second afternoon (Hanafi: factor 2)"),
              ("sunset", "sunset", "setting: adhan's upper limb with refraction (−50′)"),
              ("sunset", "sunset25", "setting: adhan's method at zerin's −0.25°"),
              ("isha", "isha", "nightfall (17°)"))


def adhan_table(days):
    lines = ["| | zerin − adhan: mean | median | 95 % | max | found by one only "
             "| adhan − PyEphem: median | 95 % |",
             "|---|---:|---:|---:|---:|---:|---:|---:|"]
    for event, theirs, label in ADHAN_ROWS:
        diff = _time_errors(days, event, WINDOWS[1], "adhan", theirs)
        own = [d["adhan"][theirs] - d["reference"][event] for d in days
               if d["adhan"][theirs] is not None and d["reference"][event] is not None]
        s, o = stats(diff), stats(own)
        lines.append(f"| {label} | {np.mean(diff):+.1f} | " + " | ".join(number(v) for v in s)
                     + f" | {_missing_in_one(days, event, 'adhan', theirs)} | "
                     + " | ".join(number(v) for v in o[:2]) + " |")
    return "\n".join(lines)


# Plots --------------------------------------------------------------------------


def _scatter(ax, x, y, label=None, color=None, size=2):
    ax.scatter(x, y, s=size, lw=0, label=label, color=color, rasterized=True)


def _body_panel(ax, rows, key, title, unit, theory_key=None):
    years = [r["year"] for r in rows]
    if theory_key:
        _scatter(ax, years, [r[theory_key] for r in rows], "theory alone (no ΔT)", "0.7")
    _scatter(ax, years, [r[key] for r in rows], "at the civil instant (UT)", "C0")
    ax.axhline(0, color="k", lw=0.5)
    ax.set_title(title, fontsize=9)
    ax.set_ylabel(unit, fontsize=8)
    ax.tick_params(labelsize=7)
    ax.axvspan(1950, 2100, color="C2", alpha=0.06, lw=0)


def _save(fig, docs, name):
    """Writes the figure as a PNG of a few dozen colours: a small file for the docs."""
    fig.tight_layout()
    buffer = io.BytesIO()
    fig.savefig(buffer, format="png", dpi=PNG_DPI)
    plt.close(fig)
    buffer.seek(0)
    image = Image.open(buffer).convert("RGB").quantize(colors=PNG_COLOURS)
    image.save(os.path.join(docs, name), optimize=True)


def plot_sun_moon(records, docs):
    for body, panels in (
            ("sun", (("ra", "right ascension", "arcsec", "ra_tt"),
                     ("dec", "declination", "arcsec", "dec_tt"),
                     ("distance", "distance", "km", None))),
            ("moon", (("ra", "right ascension", "arcsec", "ra_tt"),
                      ("dec", "declination", "arcsec", "dec_tt"),
                      ("topo_ra", "topocentric right ascension", "arcsec", None),
                      ("topo_dec", "topocentric declination", "arcsec", None),
                      ("distance", "distance", "km", None)))):
        rows = [r for r in records if r["body"] == body]
        fig, axes = plt.subplots(len(panels), 1, figsize=(7, 1.7 * len(panels) + 0.4),
                                 sharex=True)
        for ax, (key, title, unit, theory) in zip(axes, panels):
            _body_panel(ax, rows, key, f"{body.capitalize()}: {title}, zerin − PyEphem", unit,
                        theory)
        axes[0].legend(fontsize=7, markerscale=4, loc="upper left")
        axes[-1].set_xlabel("year", fontsize=8)
        _save(fig, docs, f"accuracy-{body}.png")


def plot_planets(records, docs):
    fig, axes = plt.subplots(4, 2, figsize=(8, 8.5), sharex=True)
    for ax, body in zip(axes.flat, PLANETS):
        rows = [r for r in records if r["body"] == body]
        years = [r["year"] for r in rows]
        _scatter(ax, years, [r["ra"] for r in rows], "right ascension", "C0")
        _scatter(ax, years, [r["dec"] for r in rows], "declination", "C3")
        ax.axhline(0, color="k", lw=0.5)
        ax.axvspan(1950, 2100, color="C2", alpha=0.06, lw=0)
        ax.set_title(body.capitalize(), fontsize=9)
        ax.set_ylabel("arcsec", fontsize=8)
        ax.tick_params(labelsize=7)
    axes[0, 0].legend(fontsize=7, markerscale=4, loc="upper left")
    fig.suptitle("Planets: zerin − PyEphem, geocentric apparent place", fontsize=10)
    _save(fig, docs, "accuracy-planets.png")


def plot_times(days, docs):
    fig, (by_year, by_lat) = plt.subplots(2, 1, figsize=(7, 6.4))
    for event, label in EVENTS:
        kept = [d for d in days if d["zerin"][event] is not None
                and d["reference"][event] is not None]
        errors = [d["zerin"][event] - d["reference"][event] for d in kept]
        colour = EVENT_COLOURS[event]
        _scatter(by_year, [d["year"] for d in kept], errors, label.split(" (")[0], colour)
        _scatter(by_lat, [d["lat"] for d in kept], errors, None, colour)
    for ax, xlabel in ((by_year, "year"), (by_lat, "latitude (°, North positive)")):
        ax.axhline(0, color="k", lw=0.5)
        ax.set_yscale("symlog", linthresh=10)
        ax.set_ylabel("s", fontsize=8)
        ax.set_xlabel(xlabel, fontsize=8)
        ax.tick_params(labelsize=7)
    by_year.set_title("Sun's times: zerin − PyEphem (same conventions)", fontsize=9)
    by_year.legend(fontsize=7, markerscale=4, ncol=4, loc="upper left")
    _save(fig, docs, "accuracy-times.png")


def plot_adhan(days, docs):
    fig, ax = plt.subplots(figsize=(7, 3.6))
    for event, theirs, label in ADHAN_ROWS:
        if theirs in ("sunrise", "sunset"):
            continue
        kept = [d for d in days if d["zerin"][event] is not None
                and d["adhan"][theirs] is not None]
        _scatter(ax, [d["lat"] for d in kept],
                 [d["zerin"][event] - d["adhan"][theirs] for d in kept],
                 label.split(":")[0].split(" (")[0], EVENT_COLOURS[event])
    ax.axhline(0, color="k", lw=0.5)
    ax.set_yscale("symlog", linthresh=10)
    ax.set_title("Prayer times: zerin − adhan (rising and setting both at −0.25°)", fontsize=9)
    ax.set_xlabel("latitude (°, North positive)", fontsize=8)
    ax.set_ylabel("s", fontsize=8)
    ax.tick_params(labelsize=7)
    ax.legend(fontsize=7, markerscale=4, ncol=4, loc="upper left")
    _save(fig, docs, "accuracy-adhan.png")


# The document -------------------------------------------------------------------


def _put(v, prefix, s):
    """The median, 95th percentile and maximum as the fields PREFIX_median, _p95, _max."""
    for name, x in zip(("median", "p95", "max"), s):
        v[f"{prefix}_{name}"] = number(x)


def values(seed, places, records, days):
    """The template's fields."""
    v = {"seed": seed, "places": f"{len(places):,}",
         "instants": f"{len({(r['lon'], r['lat'], r['ut']) for r in records}):,}",
         "days": f"{len(days):,}", "table_times": times_table(days),
         "table_bands": bands_table(days),
         "table_adhan": adhan_table(days), "table_glance": glance_table(records)}
    suns = [r for r in records if r["body"] == "sun"]
    v["instants_modern"] = f"{sum(_in(WINDOWS[0], r['year']) for r in suns):,}"
    for body in ("sun", "moon") + PLANETS:
        v[f"table_{body}"] = position_table(records, body)
        for key in ("ra", "dec", "ra_tt", "distance", "topo_ra", "topo_dec"):
            if body == "sun" and key.startswith("topo"):
                continue
            for name, window in zip(("modern", "wide"), WINDOWS):
                _put(v, f"{body}_{key}_{name}", stats(
                    [r[key] for r in records if r["body"] == body and _in(window, r["year"])]))
    wide = WINDOWS[1]
    # How much earlier adhan's sunrise is, and how much later its sunset.
    v["adhan_rising_mean"] = number(np.mean(_time_errors(days, "sunrise", wide, "adhan")))
    v["adhan_setting_mean"] = number(-np.mean(_time_errors(days, "sunset", wide, "adhan")))
    for event in ("asr1", "asr2"):
        _put(v, f"adhan_{event}_own", stats([d["adhan"][event] - d["reference"][event]
                                             for d in days]))
    for event, _ in EVENTS:
        _put(v, event, stats(_time_errors(days, event, wide)))
        _put(v, f"report_{event}", stats(_time_errors(days, event, wide, mine="zerin_report")))
    every = tuple(e for e, _ in EVENTS)
    v["beyond_exact"] = _beyond(days, every)
    v["beyond_report"] = _beyond(days, every, "zerin_report")
    v["table_beyond"], v["beyond_rows"] = beyond_table(days)
    v["transit_beyond_5"] = _beyond(days, ("transit",), seconds=5)
    others = ("sunrise", "sunset", "asr1", "asr2")
    v["others_max"] = number(max(abs(e) for ev in others for e in _time_errors(days, ev, wide)))
    return v


def write(docs, seed, places, records, days):
    os.makedirs(docs, exist_ok=True)
    plot_sun_moon(records, docs)
    plot_planets(records, docs)
    plot_times(days, docs)
    plot_adhan(days, docs)
    with open(os.path.join(HERE, "accuracy.md.in"), encoding="utf-8") as f:
        template = string.Template(f.read())
    text = template.substitute(values(seed, places, records, days))
    with open(os.path.join(docs, "accuracy.md"), "w", encoding="utf-8") as f:
        f.write(text)
