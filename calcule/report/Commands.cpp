#include "report/Commands.h"

#include <array>

namespace zerin {

namespace {

struct BodyEntry {
    Body body;
    const char* name;
    void (ModCalcule::*compute)();
};

constexpr std::array<BodyEntry, kBodyCount> kBodies{{
    {Body::Sun, "sun", &ModCalcule::Calcul_Soleil},
    {Body::Moon, "moon", &ModCalcule::Calcul_Lune},
    {Body::Mercury, "mercury", &ModCalcule::Calcul_Mercure},
    {Body::Venus, "venus", &ModCalcule::Calcul_Venus},
    {Body::Mars, "mars", &ModCalcule::Calcul_Mars},
    {Body::Jupiter, "jupiter", &ModCalcule::Calcul_Jupiter},
    {Body::Saturn, "saturn", &ModCalcule::Calcul_Saturne},
    {Body::Uranus, "uranus", &ModCalcule::Calcul_Uranus},
    {Body::Neptune, "neptune", &ModCalcule::Calcul_Neptune},
    {Body::Pluto, "pluto", &ModCalcule::Calcul_Pluton},
}};

}  // namespace

Message FaultMessage(std::string_view quantity, const CalcError& error) {
    const std::string name(quantity);
    return {"تعذّر حساب " + name + " : توقف الحساب عند هذه القيمة",
            "could not compute " + name + " (" + error.what() + "); the report stops before it"};
}

std::optional<Body> BodyFromName(std::string_view name) {
    for (const BodyEntry& entry : kBodies)
        if (name == entry.name) return entry.body;
    return std::nullopt;
}

const char* BodyName(Body body) {
    return kBodies[static_cast<int>(body)].name;
}

namespace {

// The summer-time and zone fields into EteRegl and Zone; throws InputError naming the field when a
// number does not fit.
void ReadZoneFields(ModCalcule& calc) {
    calc.EteRegl = ReadInt16(calc.fields.TxtEteRegl, "تعديل التوقيت الصيفي", "summer-time");
    calc.Zone = ReadInt16(calc.fields.TxtZone, "المنطقة الزمنية", "time-zone");
}

}  // namespace

bool EnterInstant(ModCalcule& calc) {
    try {
        ReadZoneFields(calc);
        calc.Calcul_JJ();
        return true;
    } catch (const InputError& refused) {
        calc.messenger().critical(refused.message());
        return false;
    }
}

Outcome RunBody(ModCalcule& calc, Body body) {
    if (body == Body::Sun) AdjustDay(calc.fields);
    if (!EnterInstant(calc)) return Outcome::Refused;
    try {
        if (body != Body::Sun) calc.SunForInstant();
        (calc.*kBodies[static_cast<int>(body)].compute)();
    } catch (const CalcError& fault) {
        calc.messenger().critical(FaultMessage(calc.report.Current(), fault));
        return Outcome::Fault;
    }
    return Outcome::Written;
}

}  // namespace zerin
