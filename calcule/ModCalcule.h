// The calculation module: the observer and time inputs, the Sun, the Moon and the
// planets, each writing every step of its work into the report.
//
// What the windows call module-level variables lives in one ModCalcule object; the
// procedures without parameters are its member functions. Angles are degrees, right
// ascensions and times of day decimal hours, distances astronomical units (the Moon's
// kilometres). T counts Julian centuries of 36525 days from JD 2415020.0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Errors.h"
#include "Fields.h"
#include "Report.h"

namespace zerin {

// The Sun's place (mean elements to declination), for the instant T.
struct SunPlace {
    double L = 0, m = 0, e = 0, EE = 0, R_soleil = 0, N = 0, C = 0, Lg_Soleil = 0, O = 0;
    double Asc = 0;  // hours
    double Dec = 0;
};

// A body on the observer's sky: sidereal times (hours), hour angle, azimuth, altitude.
struct SkyPlace {
    double UT = 0;  // fraction of the day since 0 h UT
    double TS_GMT = 0, TS_Loc = 0;
    double Ha = 0, Azimut = 0, Altitude = 0;
};

// The topocentric correction shared by the Moon and the planets.
struct TopoPlace {
    double GeocLat = 0, DiCentre = 0, Geo = 0;
    double TopoAsc = 0;  // degrees
    double TopoDec = 0;
};

// Transit, rising, setting and prayer times: decimal hours of the zone's standard time.
struct SunTimes {
    double Diam = 0, MIDI = 0, Duirn = 0, Lever = 0, Coucher = 0;
    double Asr1 = 0, Asr2 = 0, Icha = 0, Fajr = 0;
    bool complete = false;  // false when the high-latitude stop ended the computation
};

struct MoonResult {
    double Lg_Lune = 0, b = 0, Ge = 0, r_lune = 0, O = 0, Asc = 0, Dec = 0;
    SkyPlace sky;
    double Paralax = 0;
    TopoPlace topo;
    double Diam = 0, eLong = 0, illum = 0;
};

struct PlanetResult {
    double L = 0, R_Pt = 0, Be = 0, r_Pln_Erth = 0, O = 0, Asc = 0, Dec = 0;
    SkyPlace sky;
    double Paralax = 0;
    TopoPlace topo;
    double Diam = 0, eLong = 0, FV = 0, illum = 0;
};

class ModCalcule {
public:
    explicit ModCalcule(Messenger& messenger) : messenger_(messenger) {}

    Report report;
    FieldTexts fields;  // the main window's field texts, read by Calcul_JJ

    // Module-level variables.
    bool IsEast = false, IsNorth = true;
    std::int16_t Zone = 0, EteRegl = 0;
    double Lon = 0, Lat = 0;  // degrees, West and North positive
    double h = 0, Min = 0;    // hour / 24 and minute / 1440
    double JJ = 0, T = 0;
    double Long_Soleil = 0, R_soleil = 0, e_Soleil = 0;

    // Results of the latest computation of each body.
    SunPlace sun;
    SkyPlace sunSky;
    SunTimes sunTimes;
    // When true, Calcul_Soleil computes each of the day's times on its own (timetables):
    // a time whose altitude the Sun never reaches that day is NaN while the others keep
    // their values, and no message is sent. Only the diameter then writes a report item.
    bool sunTimesEach = false;
    MoonResult moon;
    PlanetResult planet;

    // Clears the report, reads the place, date and time fields, writes the Julian-day
    // section and sets T. Throws InputError for a date in the Gregorian gap or a field
    // whose number overflows; JJ and T are then left as they were.
    void Calcul_JJ();

    // The Sun's three sections and the end line. When the Sun never reaches an altitude
    // the day needs, the message goes to the messenger and the report ends there.
    void Calcul_Soleil();
    // The Sun's place alone, without report lines: Long_Soleil, R_soleil and e_Soleil for
    // the current T, for the Moon and the planets.
    void SunForInstant();

    // Eccentric anomaly in degrees of Kepler's equation E - e sin E = m (32 Newton steps).
    double Calcul_Kepler(double m, double e);

    void Calcul_Lune();

    void Calcul_Mercure();
    void Calcul_Venus();
    void Calcul_Mars();
    void Calcul_Jupiter();
    void Calcul_Saturne();
    void Calcul_Uranus();
    void Calcul_Neptune();
    void Calcul_Pluton();
    // Geocentric and observed place of a planet from its elements; returns the
    // geocentric longitude as the report writes it.
    std::string Calcul_Planete(double L, double a, double e, double i, double W, double N,
                               float diam_Pln);

    // Sidereal times, hour angle, azimuth and altitude of a body at (Asc hours, Dec),
    // as report items under the section's banner.
    SkyPlace ObserverSky(std::string_view banner, std::string_view azimuthLabel, double Asc,
                         double Dec);
    // Observer's geocentric latitude and distance, and the topocentric place.
    TopoPlace Topocentric(double Paralax, double Asc, double Dec, double Ha);

    Messenger& messenger() { return messenger_; }

private:
    void SunPosition();
    void SunTransitAndPrayers();

    // --- Moon: private stretches of Calcul_Lune ---
    struct MoonArguments;  // the fundamental arguments handed between the stretches
    // The Moon's fundamental arguments and true longitude (sets moon.Lg_Lune).
    MoonArguments MoonLongitude();
    // Latitude, parallax, distance, obliquity, right ascension and declination.
    void MoonLatitude(const MoonArguments& a);
    // Sky place, parallax, topocentric place, diameter, elongation, illumination.
    void MoonSky(const MoonArguments& a);
    // --- end Moon ---

    // --- Planets: private parts of the planet procedures ---
    // The observer's half of Calcul_Planete: sky place, parallax, topocentric place,
    // diameter (arcseconds), elongation and illuminated fraction, from `planet`.
    void PlanetFromObserver(float diam_Pln);
    // --- end Planets ---

    Messenger& messenger_;
};

}  // namespace zerin
