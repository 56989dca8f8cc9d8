"""The seeded sample of places and instants measured by accuracy.py.

Each place gets a few instants a fixed number of hours apart, so that one
`zerin ephemeris` run per body and place computes all of them. Two groups:
instants spread over 1800-2200, and as many again over 1950-2100, where the
sample is therefore denser. Latitudes are uniform in 65 S .. 65 N, longitudes in
180 W .. 180 E; each place keeps the whole-hour zone of its longitude.
"""

import datetime
import random
from dataclasses import dataclass

HOUR = datetime.timedelta(hours=1)


@dataclass(frozen=True)
class Group:
    name: str
    first_year: int
    end_year: int  # instants fall before 1 January of this year
    places: int
    instants_per_place: int


@dataclass(frozen=True)
class Place:
    """A place in the program's conventions and its instants on the zone's clock."""

    lon: float  # degrees, West positive, East negative
    lat: float  # degrees, North positive
    zone: int  # hours, in the sense of the longitude (one hour ahead of Greenwich is -1)
    start: datetime.datetime  # first instant, local standard time
    step_hours: int
    count: int
    group: str

    def local_instants(self):
        return [self.start + k * self.step_hours * HOUR for k in range(self.count)]

    def ut_instants(self):
        # Local time is UT minus the zone: one hour ahead of Greenwich is zone -1.
        return [t + self.zone * HOUR for t in self.local_instants()]


FULL = (Group("wide", 1800, 2200, 200, 6), Group("modern", 1950, 2100, 200, 6))
SMOKE = (Group("wide", 1800, 2200, 2, 2), Group("modern", 1950, 2100, 1, 2))


def _place(rng, group):
    lat = round(rng.uniform(-65.0, 65.0), 4)
    lon = round(rng.uniform(-180.0, 180.0), 4)
    zone = max(-12, min(12, round(lon / 15)))
    origin = datetime.datetime(group.first_year, 1, 1)
    span = datetime.datetime(group.end_year, 1, 1) - origin
    slot_hours = span / HOUR / group.instants_per_place
    # The first instant lies in the first slot, and every step is a little
    # shorter than a slot: the last instant stays before the group's end.
    start = origin + datetime.timedelta(seconds=rng.randrange(int(slot_hours * 3600)))
    step = rng.randrange(int(0.9 * slot_hours), int(slot_hours))
    return Place(lon, lat, zone, start, step, group.instants_per_place, group.name)


def draw(seed, groups=FULL):
    """The places of every group, drawn from one seeded generator."""
    rng = random.Random(seed)
    return [_place(rng, g) for g in groups for _ in range(g.places)]
