// The computing commands as the main window's buttons run them, shared by the windows
// and the command line.
#pragma once

#include <optional>
#include <string_view>

#include "report/ModCalcule.h"

namespace zerin {

std::optional<Body> BodyFromName(std::string_view name);  // "sun", "moon", "mercury"...
const char* BodyName(Body body);

enum class Outcome {
    Written,  // the report is whole (the Sun's high-latitude stop included)
    Refused,  // an input was refused with a message; nothing was computed
    Fault,    // a calculation fault stopped the body; the report holds what came before
};

// The body's report for an observer: the Julian-day section, then the body's sections (for
// the Moon and the planets after the Sun's place for the same instant, computed silently).
// A calculation fault sends its message to the messenger and gives Fault.
Outcome WriteBodyReport(Report& report, Messenger& messenger, const Observer& observer, Body body,
                        SunItems sunItems = SunItems::All);

// The observer of the field texts (ReadObserver); a refused input sends its message to the
// messenger and gives nothing.
std::optional<Observer> EnterObserver(Messenger& messenger, const FieldTexts& fields, bool east,
                                      bool north, TimeOfDay time = TimeOfDay::Fields);

// The body's command on the field texts: for the Sun AdjustDay first (which rewrites the
// day text), then the observer of the fields and the body's report.
Outcome RunBody(Report& report, Messenger& messenger, FieldTexts& fields, bool east, bool north,
                Body body);

// Runs write(), which writes a report: a calculation fault sends its message, naming the
// quantity the report stopped at, to the messenger and gives Fault.
template <class Write>
Outcome Guarded(Report& report, Messenger& messenger, Write&& write);

// The message of a calculation fault that stopped a report at a quantity.
Message FaultMessage(std::string_view quantity, const CalcError& error);

template <class Write>
Outcome Guarded(Report& report, Messenger& messenger, Write&& write) {
    try {
        write();
    } catch (const CalcError& fault) {
        messenger.critical(FaultMessage(report.Current(), fault));
        return Outcome::Fault;
    }
    return Outcome::Written;
}

}  // namespace zerin
