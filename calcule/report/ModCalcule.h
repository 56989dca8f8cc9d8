// The calculation module: the observer and time inputs, the Sun, the Moon and the
// planets, each writing every step of its work into the report.
//
// What the windows call module-level variables lives in one ModCalcule object; the
// procedures without parameters are its member functions. Angles are degrees, right
// ascensions and times of day decimal hours, distances astronomical units (the Moon's
// kilometres). T counts Julian centuries of 36525 days from JD 2415020.0.
//
// The computations are the pure routines of JulianDay.h, Kepler.h, Ecliptic.h, Sun.h,
// Sky.h, Moon.h and Planet.h; the procedures here run them and write what they computed,
// item by item.
#pragma once

#include <cstdint>
#include <string>

#include "math/Errors.h"
#include "moon/Moon.h"
#include "planets/Planet.h"
#include "report/Fields.h"
#include "report/Report.h"
#include "sun/Sun.h"

namespace zerin {

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

    // Results of the latest computation of each body. In sunTimes a time the Sun never
    // reaches that day is NaN and the others keep their values.
    SunPlace sun;
    SkyPlace sunSky;
    SunTimes sunTimes;
    // When true (timetables), Calcul_Soleil writes no item after the diameter and sends
    // no message for a time the Sun does not reach: the times are in sunTimes alone.
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

    // Eccentric anomaly in degrees of Kepler's equation E - e sin E = m (32 Newton steps),
    // with its report item.
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

    Messenger& messenger() { return messenger_; }

  private:
    void SunPosition();
    void SunTransitAndPrayers();

    Messenger& messenger_;
};

}  // namespace zerin
