// The instant a body crosses an altitude, or the meridian, near a given instant: the one
// iteration under the crescent's sunset and moonset, the timetables' exact times and the
// Sun's transit over the Kaaba.
#pragma once

#include <cmath>
#include <limits>

namespace zerin {

enum class CrossingKind {
    Found,       // the instant is found; of one instant: the altitude is reached that day
    NeverSets,   // the body stays above the altitude all day (midnight sun)
    NeverRises,  // it stays below (polar night)
    Unsettled,   // the steps did not settle (only at the edge of the two above)
};

// The body at one instant, as the iteration sees it.
struct HourAngleMiss {
    CrossingKind kind = CrossingKind::Found;  // Found: miss and rate hold
    // The body's hour angle less the hour angle at which it has the altitude sought (0 for
    // the transit), brought within half a turn, in any unit of angle (degrees, hours, turns).
    double miss = 0;
    // How fast that difference grows: the same unit a day (the sidereal rate less the body's
    // own motion, and less the motion of the sought hour angle when it is known).
    double rate = 1;
    // A step shorter than this (days) is the last: the instant is found.
    double settled = 0;
};

// How the iteration goes on.
struct CrossingSteps {
    int most = 12;  // steps at most
    // Halvings back toward the instant before, when a step reaches an instant where the
    // altitude is not reached (0: the first such instant ends the search).
    int halvings = 0;
};

struct CrossingFound {
    CrossingKind kind = CrossingKind::Unsettled;
    double JJ = std::numeric_limits<double>::quiet_NaN();  // the instant reached (days)
    int count = 0;                                         // steps taken
};

/*
 * CrossingNear: the instant a body reaches an altitude, or transits, near a start.
 *
 *   missAt  the body at an instant: missAt(JJ, step) gives the HourAngleMiss at JJ (days,
 *           the caller's time scale) for the step-th step (0 first), from the body's place
 *           at JJ (its right ascension and declination, or its hour angle and declination)
 *   JJ      the instant to start from (days)
 *   first   missAt(JJ, 0), which its caller often has already
 *   before  the instant to halve back toward if the first step starts where the altitude
 *           is not reached (days; the start itself when there is none)
 *   steps   the number of steps at most, and of halvings back
 *   onStep  told of each instant reached: onStep(step, JJ)
 *
 * Each step moves by -miss / rate days from the instant reached (Newton's method on the
 * hour angle: the body's place is taken again at every instant). Found when a step is
 * shorter than the settled time of its instant (with a settled time of 0, every step is
 * taken and the last instant is returned as Unsettled); NeverSets or NeverRises when an
 * instant, after its halvings, does not reach the altitude; Unsettled after the last step,
 * with the instant it reached.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 15 (rising, transit
 * and setting; the correction of the instant by the hour angle), iterated with the body's
 * place at each instant.
 */
template <class MissAt, class OnStep>
CrossingFound CrossingNear(MissAt&& missAt, double JJ, const HourAngleMiss& first, double before,
                           CrossingSteps steps, OnStep&& onStep) {
    CrossingFound f;
    double t = JJ, last = before;
    HourAngleMiss m = first;
    for (int k = 0; k < steps.most;) {
        if (m.kind != CrossingKind::Found) {
            for (int h = 0; m.kind != CrossingKind::Found && h < steps.halvings; ++h) {
                t = (t + last) / 2;
                m = missAt(t, k);
            }
            if (m.kind != CrossingKind::Found) {
                f.kind = m.kind;
                f.count = k;
                return f;
            }
        }
        const double step = -m.miss / m.rate;
        last = t;
        t += step;
        onStep(k, t);
        if (std::fabs(step) < m.settled) {
            f.kind = CrossingKind::Found;
            f.JJ = t;
            f.count = k + 1;
            return f;
        }
        if (++k < steps.most) m = missAt(t, k);
    }
    f.JJ = t;
    f.count = steps.most;
    return f;
}

// CrossingNear from the body at the start, without a halving's instant or a listener.
template <class MissAt>
CrossingFound CrossingNear(MissAt&& missAt, double JJ, CrossingSteps steps) {
    return CrossingNear(missAt, JJ, missAt(JJ, 0), JJ, steps, [](int, double) {});
}

}  // namespace zerin
