// Kepler's equation, for the Sun's apparent orbit and the planets'.
#pragma once

namespace zerin {

class Report;

/*
 * EccentricAnomaly: Kepler's equation E - (180 / Pi) e sin E = m solved for E.
 *
 *   m  mean anomaly (degrees)
 *   e  eccentricity, 0 <= e < 1
 *
 * Returned: the eccentric anomaly E (degrees), not reduced to 0..360: it stays within
 * about 57.3 e degrees of m. e = 0 gives m exactly.
 *
 * The starting value m + (180 / Pi) e sin m (1 + e cos m), then exactly 32 Newton steps
 * with no convergence test, Pi taken as 3.141592654: the result is the value of the 32nd
 * step, to the last bit.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 30.
 */
double EccentricAnomaly(double m, double e);

// The report's item of the eccentric anomaly (the method and E).
void WriteEccentricAnomaly(Report& report, double EE);

}  // namespace zerin
