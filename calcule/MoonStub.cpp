// Placeholder until the Moon is built.
#include "ModCalcule.h"

namespace zerin {
void ModCalcule::Calcul_Lune() { throw CalcError("the Moon is not built yet"); }
}  // namespace zerin
