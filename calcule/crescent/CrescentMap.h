// The crescent over the world on one evening (or morning): the zone of Yallop's and of
// Odeh's criterion for each cell of a grid of longitudes and latitudes, computed by the
// crescent's own routines on the places of the Sun and the Moon interpolated between
// instants where the theories computed them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "crescent/Crescent.h"

namespace zerin {

/*
 * InterpolatedSunMoon: the places of TheorySunMoon tabulated at every hour of a span and
 * interpolated between them (four-point Lagrange on the right ascension, declination,
 * longitude, latitude and parallax, unwrapped across 24 h and 360 degrees); an instant
 * outside the span is taken from the theories themselves.
 *
 *   theories  the source tabulated (its Delta T)
 *   from, to  the span, Julian days (UT)
 *
 * The Moon moves half a degree an hour: a cubic through four hourly places keeps within
 * about a thousandth of a second of arc of the theory.
 */
class InterpolatedSunMoon : public SunMoonSource {
  public:
    InterpolatedSunMoon(const TheorySunMoon& theories, double from, double to);
    BodyPlace SunAt(double JJ) const override;
    BodyPlace MoonAt(double JJ) const override;

  private:
    static constexpr double kStep = 1.0 / 24;
    BodyPlace Interpolate(const std::vector<BodyPlace>& table, double JJ) const;
    const TheorySunMoon& theories_;
    double from_;
    std::vector<BodyPlace> sun_, moon_;
};

// A cell's letter: the zone, 'A' to 'F' (Yallop) or 'A' to 'D' (Odeh), or one of these
// when there is nothing to see.
inline constexpr char kCellNoSunset = '0';          // no sunset (sunrise), or no moonset
inline constexpr char kCellConjunctionAfter = '1';  // the conjunction after sunset
inline constexpr char kCellMoonFirst = '2';         // the Moon sets before the Sun

struct CrescentMapGrid {
    int year = 0, month = 0, day = 0;
    bool morning = false;
    double step = 1;  // degrees of a cell's side
    double south = -60, north = 60;
    int columns = 0, rows = 0;       // columns from 180 W eastwards, rows from the north
    std::vector<char> yallop, odeh;  // rows * columns letters
    DeltaTValue deltaT;
    Conjunction conjunction;
    // The cell's letter under a criterion; the cell's centre.
    char At(Criterion c, int row, int column) const {
        return (c == Criterion::Yallop ? yallop : odeh)[row * columns + column];
    }
    double EastLongitude(int column) const { return -180 + (column + 0.5) * step; }
    double Latitude(int row) const { return north - (row + 0.5) * step; }
};

/*
 * CrescentMapOf: both criteria over the world on the evening (morning) of a date.
 *
 *   year, month, day  the date (Gregorian from 1582 October 15, Julian before)
 *   morning           the old crescent before sunrise instead of the new one
 *   step              degrees of a cell's side (1 or finer)
 *   progress          called after each row with the rows done and the rows in all
 *
 * Returned: for each cell, at its centre, the evening of that date on the place's own
 * mean time (sunset after the local noon, longitude / 15 hours from Greenwich's), with
 * the conjunction nearest the date's noon at Greenwich and Delta T of the date's month.
 */
CrescentMapGrid CrescentMapOf(int year, int month, int day, bool morning, double step = 1,
                              const std::function<void(int done, int all)>& progress = {});

/*
 * FirstEveningAfterConjunction: the date of the map that shows the crescent of the
 * conjunction nearest a date: the first evening (18 h local mean time) at a place after that
 * conjunction, or with `morning` the last morning (6 h) before it.
 *
 *   year, month, day  the date whose nearest conjunction is taken (noon at Greenwich)
 *   eastLongitude     the place's longitude, degrees East positive
 *
 * Returned: the date, and the conjunction (UT) in `conjunction`; the date given back
 * unchanged when the conjunction cannot be found.
 */
struct MapDate {
    int year = 0, month = 0, day = 0;
};
MapDate FirstEveningAfterConjunction(int year, int month, int day, double eastLongitude,
                                     bool morning, double* conjunction = nullptr);

// What the crescent map's command hands to the windows' module.
struct CrescentMapRequest {
    int year = 0, month = 0, day = 0;
    bool morning = false;
    Criterion criterion = Criterion::Yallop;
    std::string png;  // the file to write
};

}  // namespace zerin
