#include "Ephemeris.h"

#include "Json.h"
#include "ReportCommand.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "report/Echo.h"
#include "report/NumText.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

// The first day of the Gregorian calendar; the calculation refuses the ten days before it.
constexpr Civil kGregorianStart{1582, 10, 15, 0, 0, 0};

constexpr EphemerisQuantity kRa{"ra_h", "RA (h)", "المطالع المستقيمة (h)", "Asc"};
constexpr EphemerisQuantity kDec{"dec_deg", "Dec (deg)", "الميل (deg)", "Dec"};
constexpr EphemerisQuantity kSunDistance{"distance_au", "Distance (au)", "البعد (au)", "R_soleil"};
constexpr EphemerisQuantity kMoonDistance{"distance_km", "Distance (km)", "البعد (km)", "r_lune"};
constexpr EphemerisQuantity kPlanetDistance{"distance_au", "Distance (au)", "البعد (au)",
                                            "r_Pln_Erth"};
constexpr EphemerisQuantity kAltitude{"altitude_deg", "Altitude (deg)", "الارتفاع (deg)",
                                      "Altitude"};
constexpr EphemerisQuantity kAzimuth{"azimuth_deg", "Azimuth (deg)", "السمت (deg)", "Azimut"};
constexpr EphemerisQuantity kTopoRa{"topo_ra_deg", "Topo RA (deg)", "المطالع المرئية (deg)",
                                    "TopoAsc"};
constexpr EphemerisQuantity kTopoDec{"topo_dec_deg", "Topo Dec (deg)", "الميل المرئي (deg)",
                                     "TopoDec"};
constexpr EphemerisQuantity kDiameterArcmin{"diameter_arcmin", "Diameter (arcmin)",
                                            "القطر الظاهري (arcmin)", "Diam"};
constexpr EphemerisQuantity kDiameterArcsec{"diameter_arcsec", "Diameter (arcsec)",
                                            "القطر الظاهري (arcsec)", "Diam"};
constexpr EphemerisQuantity kElongation{"elongation_deg", "Elongation (deg)", "الاستطالة (deg)",
                                        "eLong"};
constexpr EphemerisQuantity kIllumination{"illumination_pct", "Illuminated (%)", "النور (%)",
                                          "illum"};

// Computes the rows of one body at one place on one clock.
class EphemerisRows {
  public:
    // The place as CheckPlace gives it.
    EphemerisRows(Body body, const Place& place, const ZoneClock& clock, std::string separator,
                  char timeSeparator)
        : place_(place),
          body_(body),
          quantities_(EphemerisQuantities(body)),
          where_(quantities_.size(), kUnknown),
          clock_(clock),
          separator_(std::move(separator)),
          timeSeparator_(timeSeparator) {
        report_.SetSinks(Report::kValues);
    }

    // The cells of the instant utc; the values a refused or faulted computation did not reach are
    // missing.
    RowResult Row(Seconds utc, std::vector<Cell>& cells) {
        const ClockOffset offset = clock_.At(utc);
        // The instant goes in on the clock of the zone's and the summer time's whole hours.
        const CalculationClock reading = CalculationClockAt(clock_, utc);
        const Seconds zone = reading.zone, summer = reading.summer;
        const Civil& entered = reading.entered;
        const Outcome outcome = Compute(reading);

        cells.clear();
        cells.push_back(DateTimeText(CivilOf(utc + offset.Total()), timeSeparator_));
        cells.push_back(OffsetText(offset.Total()));
        const std::vector<ReportValue>& values = report_.Values();
        for (std::size_t q = 0; q < quantities_.size(); ++q) {
            const std::size_t at = outcome == Outcome::Refused
                                       ? kUnknown
                                       : Where(values, q, outcome == Outcome::Written);
            if (at == kUnknown)
                cells.emplace_back();
            else
                cells.push_back(NumText(values[at].value, separator_));
        }
        if (outcome == Outcome::Fault) return {RowEnd::Fault, messages_.last};
        if (outcome == Outcome::Written) return {};
        if (SecondsOf(entered) >= SecondsOf(kGregorianStart))
            return {RowEnd::Refused, messages_.last};
        std::string clock = "zone " + std::to_string(-zone);
        if (summer != 0) clock += " with summer time " + std::to_string(summer);
        return {RowEnd::Refused, "on the calculation's clock (" + clock +
                                     ", the whole hours of the zone) " + *cells.front() + " is " +
                                     DateTimeText(entered, 'T') +
                                     ", in the days the Gregorian reform dropped (5 to 14 October "
                                     "1582)"};
    }

  private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    // The body's report, its values alone, for the reading of the calculation's clock; the Sun
    // without its times (each a column of the timetables, not of this table).
    Outcome Compute(const CalculationClock& reading) {
        const Reading<Observer> observer = ObserverOf(place_, reading);
        if (!observer) {
            messages_.last = observer.refused().english;
            return Outcome::Refused;
        }
        return WriteBodyReport(report_, messages_, *observer, body_, SunItems::ThroughDiameter);
    }

    // The last value recorded under the quantity's name. Whole computations record their values in
    // the same order, so the place found once is checked, not searched again.
    std::size_t Where(const std::vector<ReportValue>& values, std::size_t q, bool whole) {
        const char* name = quantities_[q].name;
        std::size_t& known = where_[q];
        if (whole && known < values.size() && values[known].name == name) return known;
        std::size_t found = kUnknown;
        for (std::size_t k = values.size(); k-- > 0;) {
            if (values[k].name == name) {
                found = k;
                break;
            }
        }
        if (whole) known = found;
        return found;
    }

    TableMessenger messages_;
    Report report_;
    Place place_;
    Body body_;
    std::vector<EphemerisQuantity> quantities_;
    std::vector<std::size_t> where_;
    const ZoneClock& clock_;
    std::string separator_;
    char timeSeparator_;
};

struct EphemerisRequest {
    Body body = Body::Sun;
    TableOptions table;
    Civil from, to;
    Seconds step = 0;
    bool calendarDays = false;  // a step in days keeps the local clock time
};

// "30m", "1h", "2d" in seconds; -1 when the text is not such a step.
Seconds ReadStep(const std::string& text, bool& days) {
    if (text.size() < 2 || text.size() > 8) return -1;
    const std::string digits = text.substr(0, text.size() - 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    const Seconds n = std::stoll(digits);
    const char unit = text.back();
    days = unit == 'd';
    if (unit == 'd') return n * kDay;
    if (unit == 'h') return n * kHour;
    if (unit == 'm') return n * 60;
    return -1;
}

int ReadEphemerisRequest(const std::vector<std::string>& args, EphemerisRequest& r,
                         std::FILE* err) {
    if (args.size() < 2 || args[1].rfind("--", 0) == 0)
        return Refuse(err, "ephemeris needs a body: sun, moon, mercury ... pluto");
    const std::optional<Body> body = BodyFromName(args[1]);
    if (!body) return Refuse(err, "unknown body '" + Echo(args[1]) + "'");
    r.body = *body;
    std::string from, to, step;
    PlaceGiven given;
    for (std::size_t k = 2; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error;
        const std::string option = a.substr(0, a.find('='));
        if (TakeTableOption(args, k, r.table, given, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (option == "--from" || option == "--to" || option == "--step") {
            std::string& target = option == "--from" ? from : option == "--to" ? to : step;
            if (!OptionValue(args, k, option, target, error)) return Refuse(err, error);
        } else {
            return Refuse(err, "unknown option of ephemeris '" + Echo(a) + "'");
        }
    }
    if (from.empty() || to.empty() || step.empty())
        return Refuse(err, "ephemeris needs --from, --to and --step");
    std::string error;
    if (!ParseDate(from, true, r.from, error) || !ParseDate(to, true, r.to, error))
        return Refuse(err, error);
    r.step = ReadStep(step, r.calendarDays);
    if (r.step < 0)
        return Refuse(err, "--step takes a whole number and d, h or m (30m, 1h, 1d), not '" +
                               Echo(step) + "'");
    if (r.step == 0)
        return Refuse(err, "--step " + Echo(step) + ": a step of zero never reaches --to");
    return 0;
}

}  // namespace

std::vector<EphemerisQuantity> EphemerisQuantities(Body body) {
    const bool sun = body == Body::Sun, moon = body == Body::Moon;
    std::vector<EphemerisQuantity> q = {kRa, kDec};
    q.push_back(sun ? kSunDistance : moon ? kMoonDistance : kPlanetDistance);
    q.push_back(kAltitude);
    q.push_back(kAzimuth);
    if (!sun) {
        q.push_back(kTopoRa);
        q.push_back(kTopoDec);
    }
    q.push_back(sun || moon ? kDiameterArcmin : kDiameterArcsec);
    if (!sun) {
        q.push_back(kElongation);
        q.push_back(kIllumination);
    }
    return q;
}

int RunEphemeris(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    EphemerisRequest r;
    if (const int refused = ReadEphemerisRequest(args, r, err)) return refused;
    std::string error;
    Place place;
    if (!CheckPlace(r.table.place, place, error)) return Refuse(err, error);
    const std::unique_ptr<ZoneClock> clock = MakeClock(r.table, error);
    if (!clock) return Refuse(err, error);

    // Days step on the local clock, hours and minutes on elapsed time.
    const Seconds fromLocal = SecondsOf(r.from), toLocal = SecondsOf(r.to);
    const Seconds fromUtc = clock->FromLocal(fromLocal), toUtc = clock->FromLocal(toLocal);
    if (toUtc < fromUtc || toLocal < fromLocal) return Refuse(err, "--to is before --from");
    const Seconds span = r.calendarDays ? toLocal - fromLocal : toUtc - fromUtc;
    const Seconds count = span / r.step + 1;
    if (count > static_cast<Seconds>(kMaxRows))
        return Refuse(err, "a table of " + std::to_string(count) + " rows: at most 1,000,000");
    const auto instant = [&](Seconds k) {
        return r.calendarDays ? clock->FromLocal(fromLocal + k * r.step) : fromUtc + k * r.step;
    };
    if (!ClockKnows(*clock, r.table, instant(count - 1), error)) return Refuse(err, error);

    const Format format = r.table.format;
    std::vector<TableColumn> columns = {
        {"time", "Local time", "الوقت المحلي", TableColumn::Text, 19},
        {"utc_offset", "UTC offset", "فرق التوقيت", TableColumn::Text, 9}};
    for (const EphemerisQuantity& q : EphemerisQuantities(r.body))
        columns.push_back({q.key, q.english, q.arabic, TableColumn::Number, kNumberWidth});
    TableWriter writer(format, HeaderLanguage(r.table), std::move(columns), out, err);
    writer.SetJsonHead("\"body\": " + JsonString(BodyName(r.body)) + ", \"lon\": " +
                       NumText(place.Lon, ".") + ", \"lat\": " + NumText(place.Lat, ".") + ", ");
    // The text table writes numbers as the report does, with the regional separator.
    EphemerisRows rows(r.body, place, *clock,
                       format == Format::Text ? RegionalDecimalSeparator() : ".",
                       format == Format::Text ? ' ' : 'T');
    const auto row = [&](std::size_t k, std::vector<Cell>& cells) {
        return rows.Row(instant(static_cast<Seconds>(k)), cells);
    };
    return WriteRows(writer, static_cast<std::size_t>(count), row, err);
}

}  // namespace zerin::cli
