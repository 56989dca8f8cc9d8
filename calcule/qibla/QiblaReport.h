// The Qibla report: the direction of the Kaaba from the place and the distance to it, every
// step as a report item, and the two days when the Sun stands over the Kaaba.
#pragma once

#include "report/Commands.h"

namespace zerin {

// The Qibla's section and the end line, for the observer's place and the year of its date.
void WriteQibla(Report& report, const Observer& observer);

// The Qibla command as its button runs it: the observer of the fields, the Julian-day
// section, then WriteQibla; messages go to the messenger.
Outcome RunQibla(Report& report, Messenger& messenger, const FieldTexts& fields, bool east,
                 bool north);

}  // namespace zerin
