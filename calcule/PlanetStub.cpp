// Placeholder until the planets are built.
#include "ModCalcule.h"

namespace zerin {
void ModCalcule::Calcul_Mercure() { throw CalcError("the planets are not built yet"); }
void ModCalcule::Calcul_Venus() { Calcul_Mercure(); }
void ModCalcule::Calcul_Mars() { Calcul_Mercure(); }
void ModCalcule::Calcul_Jupiter() { Calcul_Mercure(); }
void ModCalcule::Calcul_Saturne() { Calcul_Mercure(); }
void ModCalcule::Calcul_Uranus() { Calcul_Mercure(); }
void ModCalcule::Calcul_Neptune() { Calcul_Mercure(); }
void ModCalcule::Calcul_Pluton() { Calcul_Mercure(); }
std::string ModCalcule::Calcul_Planete(double, double, double, double, double, double, float) {
    return {};
}
}  // namespace zerin
