#include "ChartCommand.h"

#include "AtomicFile.h"
#include "FieldOptions.h"
#include "ModuleLoader.h"
#include "Output.h"
#include "SkyChart.h"
#include "TableOptions.h"
#include "TimesCommand.h"
#include "report/Echo.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

constexpr int kSmallest = 200, kLargest = 8000;

// What every chart takes besides its place: the file and its format, the size, the date, the
// time and the place's name.
struct PictureOptions {
    std::string png, svg;
    std::string size, date, time, name;
};

// If args[k] is an option of the picture, consumes it (and its value) and returns true; sets
// error when its value is missing.
bool TakePictureOption(const std::vector<std::string>& args, std::size_t& k, PictureOptions& p,
                       std::string& error) {
    const std::pair<const char*, std::string PictureOptions::*> options[] = {
        {"--png", &PictureOptions::png},   {"--svg", &PictureOptions::svg},
        {"--size", &PictureOptions::size}, {"--date", &PictureOptions::date},
        {"--time", &PictureOptions::time}, {"--name", &PictureOptions::name}};
    for (const auto& [option, text] : options) {
        if (!IsOption(args[k], option)) continue;
        if (FileOptionValue(args, k, option, p.*text, error) && (p.*text).empty())
            error = std::string(option) + " needs a value";
        return true;
    }
    return false;
}

// "960x600" into the drawing's size; false with a message otherwise.
bool ReadSize(const std::string& text, ChartDrawing& drawing, std::string& error) {
    int width = 0, height = 0;
    char end = 0;
    if (text.empty() ||
        (std::sscanf(text.c_str(), "%5dx%5d%c", &width, &height, &end) == 2 && width >= kSmallest &&
         width <= kLargest && height >= kSmallest && height <= kLargest)) {
        if (!text.empty()) drawing.width = width, drawing.height = height;
        return true;
    }
    error = "--size takes WIDTHxHEIGHT in pixels, each 200 to 8000, not '" + Echo(text) + "'";
    return false;
}

// The picture's file and format, the size, the date and time read; 0 or the exit status of a
// refusal whose message is on err.
int ReadPicture(const PictureOptions& p, const TableOptions& table, ChartDrawing& drawing,
                std::optional<Civil>& date, std::optional<Civil>& time, std::FILE* err) {
    if (p.png.empty() == p.svg.empty())
        return Refuse(err, "chart needs one of --png FILE and --svg FILE (- for standard output)");
    drawing.format = p.png.empty() ? ChartFormat::Svg : ChartFormat::Png;
    if (table.format != Format::Text || table.language)
        return Refuse(err, "chart draws a picture: --csv, --json and --lang are options of tables");
    std::string error;
    if (!ReadSize(p.size, drawing, error)) return Refuse(err, error);
    Civil read;
    if (!p.date.empty()) {
        if (!ParseDate(p.date, false, read, error)) return Refuse(err, error);
        date = read;
    }
    if (!p.time.empty()) {
        if (!ReadDate("2000-01-01T" + p.time, {.allowTime = true}, read))
            return Refuse(err, "--time takes HH:MM or HH:MM:SS, not '" + Echo(p.time) + "'");
        time = read;
    }
    return 0;
}

// Draws the chart through the windows' module and writes its bytes to the file, or to out for
// "-"; the exit status.
int WriteChart(const ChartDrawing& drawing, const std::string& path, std::FILE* out,
               std::FILE* err) {
    std::string failures;
    const WindowsEntries* windows = LoadWindowsEntries(failures);
    if (!windows) {
        std::fprintf(err,
                     "zerin: the chart is drawn by the windows' module, which could not be "
                     "loaded:%s\n",
                     failures.c_str());
        return 1;
    }
    std::string bytes, message;
    const int status = windows->drawChart(drawing, bytes, message);
    if (!message.empty()) std::fprintf(err, "zerin: %s\n", message.c_str());
    if (status != 0) return status;
    // Standard output as the tables write it.
    if (path == "-") return WriteAll(out, err, bytes) ? 0 : 1;
    if (WriteFileAtomically(path, bytes, message)) return 0;
    std::fprintf(err, "zerin: %s\n", message.c_str());
    return 1;
}

}  // namespace

int RunChart(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (args.size() < 2 || (args[1] != "day" && args[1] != "sky"))
        return Refuse(err, "chart needs day (the Sun's day) or sky (the sky of an instant)");
    const bool day = args[1] == "day";
    TableOptions table;
    PlaceGiven given;
    PictureOptions picture;
    PrayerOptions prayer;
    for (std::size_t k = 2; k < args.size(); ++k) {
        std::string error;
        if (TakeTableOption(args, k, table, given, error) ||
            TakePictureOption(args, k, picture, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (const int taken = day ? TakePrayerOption(args, k, prayer, err) : -1;
                   taken >= 0) {
            if (taken > 0) return taken;
        } else {
            return Refuse(err, "unknown option of chart " + args[1] + " '" + Echo(args[k]) + "'");
        }
    }
    ChartDrawing drawing;
    std::optional<Civil> date, time;
    if (const int refused = ReadPicture(picture, table, drawing, date, time, err)) return refused;
    const std::string& path = picture.png.empty() ? picture.svg : picture.png;
    std::string error;
    if (day) {
        if (time) return Refuse(err, "--time is an option of chart sky: the day is drawn whole");
        if (prayer.rules.extras || prayer.rules.moon)
            return Refuse(err, std::string(prayer.rules.extras ? "--extras" : "--moon") +
                                   " adds columns of tables: chart day draws the day's times");
        DayChartRequest request{table, date, {}, picture.name};
        if (const int refused =
                ResolvePrayerOptions(prayer, TimesMethod::Exact, request.settings, err))
            return refused;
        DayChart chart;
        if (!DayChartOf(request, chart, error)) return Refuse(err, error);
        drawing.day = &chart;
        return WriteChart(drawing, path, out, err);
    }
    SkyChart chart;
    if (!SkyChartOf({table, date, time, picture.name}, chart, error)) return Refuse(err, error);
    drawing.sky = &chart;
    return WriteChart(drawing, path, out, err);
}

const char* const kChartHelp =
    R"(
Charts: zerin chart day and zerin chart sky
  zerin chart day [PLACE] [--date YYYY-MM-DD] [ZONE] [--method NAME] [METHOD OPTIONS]
              (--png FILE | --svg FILE) [--size WxH] [--name TEXT]
  zerin chart sky [PLACE] [--date YYYY-MM-DD] [--time HH:MM[:SS]] [ZONE]
              (--png FILE | --svg FILE) [--size WxH] [--name TEXT]

  chart day: the Sun's altitude through the date on the local clock (summer time
  added), midnight to midnight, computed as zerin times computes the day (each point
  at its own instant); lines at the altitude of rising and setting, of the method's
  dawn and nightfall (none for a nightfall by interval), of Maghrib by its own angle,
  and of the afternoon times --asr shows (the shadow equal to the object plus its noon
  shadow, and twice it); each time marked where the curve reaches its line and
  labelled with the time zerin times gives; the twilights (-6, -12, -18 degrees)
  shaded. A time the Sun does not reach that day is said under the chart, or marked
  on its line with the rule that gave it (--high-lat, --polar). Default date: today
  on the place's clock.
  chart sky: the sky above the place at the reading of its clock (default: now):
  the horizon as a circle round the zenith, North up and East to the left as seen
  looking up, altitude circles every 30 degrees; the Sun, the Moon (its illuminated
  part toward the Sun) and the eight planets where the observer sees them (the
  Moon's and the planets' topocentric place), each from the routine of its report;
  the ecliptic; the bodies below the horizon listed beside the circle.
  PLACE and ZONE as for the tables (--place NAME names the chart after the place
  unless --name gives another). --png writes a PNG of --size pixels (default
  960x600), --svg a vector SVG whose texts are text; - writes to standard output.
  The file is replaced only once the whole picture is written. The same command
  gives the same bytes. Drawn by the windows' module without a display.
)";

}  // namespace zerin::cli
