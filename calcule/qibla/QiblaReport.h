// The Qibla report: the direction of the Kaaba from the place and the distance to it, every
// step as a report item, and the two days when the Sun stands over the Kaaba.
#pragma once

#include "report/Commands.h"
#include "report/ModCalcule.h"

namespace zerin {

// The Qibla's section and the end line, for the place and the date's year that Calcul_JJ
// read (Lon, Lat, Zone, EteRegl and the year field).
void WriteQibla(ModCalcule& calc);

// The Qibla command as its button runs it: the summer-time and zone fields, Calcul_JJ,
// then WriteQibla; messages go to the module's messenger.
Outcome RunQibla(ModCalcule& calc);

}  // namespace zerin
