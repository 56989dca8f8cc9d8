#include "report/Commands.h"

#include <array>

namespace zerin {

namespace {

constexpr std::array<const char*, kBodyCount> kBodyNames{
    "sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"};

}  // namespace

Message FaultMessage(std::string_view quantity, const CalcError& error) {
    const std::string name(quantity);
    return {"تعذّر حساب " + name + " : توقف الحساب عند هذه القيمة",
            "could not compute " + name + " (" + error.what() + "); the report stops before it"};
}

std::optional<Body> BodyFromName(std::string_view name) {
    for (int k = 0; k < kBodyCount; ++k)
        if (name == kBodyNames[k]) return static_cast<Body>(k);
    return std::nullopt;
}

const char* BodyName(Body body) {
    return kBodyNames[static_cast<int>(body)];
}

std::optional<Observer> EnterObserver(Messenger& messenger, const FieldTexts& fields, bool east,
                                      bool north, TimeOfDay time) {
    const Reading<Observer> read = ReadObserver(fields, east, north, time);
    if (read) return *read;
    messenger.critical(read.refused());
    return std::nullopt;
}

Outcome WriteBodyReport(Report& report, Messenger& messenger, const Observer& o, Body body,
                        SunItems sunItems) {
    Calcul_JJ(report, o);
    return Guarded(report, messenger, [&] {
        if (body == Body::Sun) {
            Calcul_Soleil(report, o, messenger, sunItems);
            return;
        }
        // The Sun's place for this same instant, without its items.
        SunPlace sun;
        {
            SinkScope silent(report, Report::kNone);
            sun = WriteSunPlace(report, o.T);
        }
        if (body == Body::Moon)
            Calcul_Lune(report, o, sun.Lg_Soleil);
        else
            WritePlanetReport(report, o, sun, body);
    });
}

Outcome RunBody(Report& report, Messenger& messenger, FieldTexts& fields, bool east, bool north,
                Body body) {
    if (body == Body::Sun) AdjustDay(fields);
    const std::optional<Observer> observer = EnterObserver(messenger, fields, east, north);
    if (!observer) return Outcome::Refused;
    return WriteBodyReport(report, messenger, *observer, body, SunItems::All);
}

}  // namespace zerin
