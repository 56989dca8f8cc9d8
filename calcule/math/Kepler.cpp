// Kepler's equation E - e sin E = m, solved for the eccentric anomaly in degrees.
#include "math/Kepler.h"

#include <bit>
#include <cstdint>

#include "math/Angles.h"
#include "report/Report.h"

namespace zerin {

double EccentricAnomaly(double m, double e) {
    const double k = 180 / 3.141592654;  // the ten-digit Pi of the formula text
    double E = m + k * e * Sine(m) * (1 + e * Cosine(m));
    // A Newton step is a function of E alone: once it returns E itself, or the value of
    // the step before (a two-cycle), the rest of the 32 steps is known and is skipped,
    // keeping exactly the value the 32nd step gives.
    double before = E;
    for (int step = 0; step < 32; ++step) {
        const double next = E - ((E - k * e * Sine(E)) - m) / (1 - e * Cosine(E));
        if (std::bit_cast<std::uint64_t>(next) == std::bit_cast<std::uint64_t>(E)) break;
        if (std::bit_cast<std::uint64_t>(next) == std::bit_cast<std::uint64_t>(before)) {
            if ((31 - step) % 2 == 0) E = next;  // step 32 lands on next, else on E
            break;
        }
        before = E;
        E = next;
    }
    return E;
}

void WriteEccentricAnomaly(Report& report, double EE) {
    static const SectionText kText =
        " الخاصّة الإنحرافية بالدرج \r\n"
        "E0 = m + ((180 / Pi) * e * Sine(m) * (1 + (e * Cosine(m))))\r\n"
        "E1 = E0 - ((E0 - ((180 / Pi) * e * Sine(E0)) - m)) / (1 - (e * Cosine(E0)))\r\n"
        "E2 = E1 - ((E1 - ((180 / Pi) * e * Sine(E1)) - m)) / (1 - (e * Cosine(E1))) \r\n"
        "E3 = E2 - ((E2 - ((180 / Pi) * e * Sine(E2)) - m)) / (1 - (e * Cosine(E2))) \r\n"
        "E4 = E3 - ((E3 - ((180 / Pi) * e * Sine(E3)) - m)) / (1 - (e * Cosine(E3))) \r\n"
        "  ..\r\n  ..\r\n  ..\r\n  ..\r\n"
        "إلى أن يكون الفرق بين متتاليتين مساوياً لصفر أو أقرب إليه \r\n"
        " = {EE:deg}\r\n\r\n\r\n";
    report.Section(kText, {EE});
}

}  // namespace zerin
