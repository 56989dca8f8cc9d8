"""The independent reference: PyEphem (libastro), with the program's conventions.

Quantities used:
- geocentric apparent right ascension and declination of date: `g_ra`, `g_dec`
  (light time, aberration, deflection, nutation and precession to the date);
- topocentric apparent place of date (the Moon and the planets): `ra`, `dec`
  computed for an
  observer at sea level with pressure 0 (no refraction);
- distance from the Earth's centre: `earth_distance` (au) of the body computed
  for the date alone (computed for an observer it is the topocentric distance);
- rising and setting: the Sun's centre at -0.25 degrees without refraction
  (pressure 0, horizon -0.25, use_center=True); dawn -19 and nightfall -17
  degrees the same way; transit: `next_transit`; the two afternoon times: the
  altitude whose shadow is the factor (1 or 2) plus the noon shadow, taken from
  the reference's own altitude at transit.
Dates given to ephem are UT; ephem applies its own Delta T (TT - UT).
"""

import datetime
import math

import ephem

AU_KM = 149597870.7
_EPHEM_EPOCH = datetime.datetime(1899, 12, 31, 12)  # ephem's day 0

BODIES = {"sun": ephem.Sun, "moon": ephem.Moon, "mercury": ephem.Mercury,
          "venus": ephem.Venus, "mars": ephem.Mars, "jupiter": ephem.Jupiter,
          "saturn": ephem.Saturn, "uranus": ephem.Uranus, "neptune": ephem.Neptune,
          "pluto": ephem.Pluto}


def ephem_date(ut):
    """A naive UT datetime as an ephem date (days since 1899-12-31 12:00 UT)."""
    return ephem.Date((ut - _EPHEM_EPOCH) / datetime.timedelta(days=1))


def _observer(lon, lat):
    """lon in the program's sense (West positive), lat North positive."""
    o = ephem.Observer()
    o.lon = math.radians(-lon)
    o.lat = math.radians(lat)
    o.elevation = 0
    o.pressure = 0
    return o


def place(body, lon, lat, ut):
    """Right ascension (hours), declination (degrees), distance (km), topocentric
    right ascension and declination (degrees) of the body at the UT instant."""
    date = ephem_date(ut)
    # Computed for a date alone, earth_distance is from the Earth's centre; for an
    # observer it is from the observer.
    geocentric = BODIES[body]()
    geocentric.compute(date)
    o = _observer(lon, lat)
    o.date = date
    topocentric = BODIES[body]()
    topocentric.compute(o)
    return {"ra_h": math.degrees(geocentric.g_ra) / 15,
            "dec_deg": math.degrees(geocentric.g_dec),
            "distance_km": geocentric.earth_distance * AU_KM,
            "topo_ra_deg": math.degrees(topocentric.ra),
            "topo_dec_deg": math.degrees(topocentric.dec)}


def place_at_dynamical_time(body, ut):
    """Geocentric right ascension (hours) and declination (degrees) at the instant
    whose Terrestrial Time reads the given clock: what the theory alone would give,
    since the program takes its clock time as the theory's time argument."""
    d = ephem_date(ut)
    b = BODIES[body]()
    b.compute(ephem.Date(d - ephem.delta_t(d) / 86400))
    return {"ra_h": math.degrees(b.g_ra) / 15, "dec_deg": math.degrees(b.g_dec)}


def _afternoon_altitude(noon_altitude, factor):
    """Altitude (degrees) at which an object's shadow is factor times its height
    plus its shadow at noon."""
    noon_zenith = 90 - noon_altitude
    return math.degrees(math.atan(1 / (factor + math.tan(math.radians(noon_zenith)))))


def _event(o, sun, transit, altitude, after_transit):
    """The Sun's centre at the altitude before or after the transit, or None."""
    o.horizon = math.radians(altitude)
    try:
        if after_transit:
            t = o.next_setting(sun, start=transit, use_center=True)
        else:
            t = o.previous_rising(sun, start=transit, use_center=True)
    except ephem.CircumpolarError:
        return None
    # An event of another day is no event of this one.
    return t if abs(t - transit) < 0.55 else None


def _lowest_altitude(o, sun, start, after):
    """The Sun's altitude (degrees) at its lower culmination after (or before) start."""
    o.date = o.next_antitransit(sun, start=start) if after else \
        o.previous_antitransit(sun, start=start)
    sun.compute(o)
    return math.degrees(sun.alt)


def day_times(lon, lat, local_midnight_ut):
    """The day's transit, rising, setting and prayer times as ephem dates (UT), or
    None where the Sun does not reach the altitude; and under "lowest" the Sun's
    altitude (degrees) at its lower culminations before and after the transit,
    which decide whether dawn and nightfall exist."""
    o = _observer(lon, lat)
    sun = ephem.Sun()
    midnight = ephem_date(local_midnight_ut)
    transit = o.next_transit(sun, start=midnight)
    o.date = transit
    sun.compute(o)
    noon_altitude = math.degrees(sun.alt)
    times = {"transit": transit}
    for name, altitude, after in (("fajr", -19, False), ("sunrise", -0.25, False),
                                  ("sunset", -0.25, True), ("isha", -17, True)):
        times[name] = _event(o, sun, transit, altitude, after)
    for name, factor in (("asr1", 1), ("asr2", 2)):
        times[name] = (_event(o, sun, transit, _afternoon_altitude(noon_altitude, factor), True)
                       if noon_altitude > 0 else None)
    times["lowest"] = {"before": _lowest_altitude(o, sun, transit, False),
                       "after": _lowest_altitude(o, sun, transit, True)}
    return times


def seconds_from(date, local_midnight_ut):
    """An ephem date as seconds after the local midnight (given in UT)."""
    if date is None:
        return None
    return (float(date) - float(ephem_date(local_midnight_ut))) * 86400
