// The working values that the three stretches of the Moon's computation hand on to each
// other: the fundamental arguments and the true longitude, in degrees.
#pragma once

#include "ModCalcule.h"

namespace zerin {

struct ModCalcule::MoonArguments {
    double Tc = 0;       // periodic correction of Lp, Mp, D and F
    double Lp = 0;       // Moon's mean longitude, 0..360
    double Mp = 0;       // Moon's mean anomaly, 0..360
    double N = 0;        // longitude of the ascending node, not reduced
    double m = 0;        // Sun's mean anomaly, 0..360
    double D = 0;        // Moon's mean elongation from the Sun, 0..360
    double F = 0;        // Moon's argument of latitude, 0..360
    double e = 0;        // eccentricity factor of the terms in m (unitless)
    double Lg_Lune = 0;  // Moon's true ecliptic longitude, 0..360
};

// c0 + c1 T + c2 T^2 + c3 T^3, summed left to right with T^2 as T * T, as the formula
// texts read (a term written with a minus sign takes a negative coefficient here).
inline double Cubic(double T, double c0, double c1, double c2, double c3) {
    return c0 + (c1 * T) + (c2 * T * T) + (c3 * T * T * T);
}

}  // namespace zerin
