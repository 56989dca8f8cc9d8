// The computing commands as the main window's buttons run them, shared by the windows
// and the command line.
#pragma once

#include <optional>
#include <string_view>

#include "report/ModCalcule.h"

namespace zerin {

enum class Body { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto };
inline constexpr int kBodyCount = 10;

std::optional<Body> BodyFromName(std::string_view name);  // "sun", "moon", "mercury"...
const char* BodyName(Body body);

enum class Outcome {
    Written,  // the report is whole (the Sun's high-latitude stop included)
    Refused,  // an input was refused with a message; nothing was computed
    Fault,    // a calculation fault stopped the body; the report holds what came before
};

// Runs the body's command on the module's field texts: for the Sun, AdjustDay (which
// rewrites the day text), the summer-time and zone fields, Calcul_JJ and Calcul_Soleil;
// for the Moon and the planets, the two fields, Calcul_JJ, the Sun's place for the same
// instant (silently) and the body. Messages go to the module's messenger.
Outcome RunBody(ModCalcule& calc, Body body);

// Reads the summer-time and zone fields into EteRegl and Zone, then Calcul_JJ: the instant of the
// fields. A refused input goes to the
// module's messenger and gives false.
bool EnterInstant(ModCalcule& calc);

// The message of a calculation fault that stopped a report at a quantity.
Message FaultMessage(std::string_view quantity, const CalcError& error);

}  // namespace zerin
