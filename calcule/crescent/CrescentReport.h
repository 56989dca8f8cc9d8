// The crescent's report: Delta T, the conjunction, sunset and moonset (sunrise and
// moonrise), the best time and the verdicts of Yallop's and Odeh's criteria, each step
// an item; a thin writer over the routines of Crescent.h.
#pragma once

#include <string>

#include "crescent/Crescent.h"
#include "report/Commands.h"
#include "report/ModCalcule.h"

namespace zerin {

// What the crescent command computed.
struct CrescentReport {
    bool morning = false;
    DeltaTValue deltaT;
    Conjunction conjunction;
    CrescentEvening evening;
    double midnight = 0;  // Julian day (UT) of 0 h of the date on the zone's standard time
    // An instant as hours of the zone's standard time since the date's 0 h.
    double Hours(double JJ) const { return (JJ - midnight) * 24; }
};

// The meaning of a zone of a criterion as the report gives it, in one Arabic sentence
// ("" for a letter that is not a zone).
std::string ZoneMeaning(Criterion criterion, char zone);

// The crescent's sections and the end line for an observer whose clock reads 12:00:00 of
// the date on the local clock. Delta T is that of the date's month. A day without sunset
// (sunrise) or moonset (moonrise) sends its message to the messenger and ends the report
// there; a conjunction after sunset (before sunrise) or a Moon that sets first (rises after
// the Sun) ends it with a line that says so.
CrescentReport Calcul_Croissant(Report& report, Messenger& messenger, const Observer& atNoon,
                                bool morning);

// The Julian-day section and the crescent's; a calculation fault sends its message to the
// messenger. result, when given, receives what was computed.
Outcome WriteCrescentReport(Report& report, Messenger& messenger, const Observer& atNoon,
                            bool morning, CrescentReport* result = nullptr);

// The crescent command on the field texts: AdjustDay (which rewrites the day text), the
// observer of the fields at 12:00:00 of the date (the time fields are not read), then its
// report. A refused input sends its message to the messenger.
Outcome RunCrescent(Report& report, Messenger& messenger, FieldTexts& fields, bool east, bool north,
                    bool morning, CrescentReport* result = nullptr);

}  // namespace zerin
