#include "FieldOptions.h"

#include "report/Echo.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

bool IsOption(const std::string& arg, std::string_view option) {
    return arg.starts_with(option) && (arg.size() == option.size() || arg[option.size()] == '=');
}

bool OptionValue(const std::vector<std::string>& args, std::size_t& k, const std::string& option,
                 std::string& value, std::string& error) {
    const std::string& a = args[k];
    if (a.rfind(option + "=", 0) == 0) {
        value = a.substr(option.size() + 1);
        return true;
    }
    if (k + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
    }
    value = args[++k];
    return true;
}

bool FileOptionValue(const std::vector<std::string>& args, std::size_t& k,
                     const std::string& option, std::string& file, std::string& error) {
    // "--pdf --csv" forgot the file's name: the next option is not taken for it (a name that
    // does start with two dashes is written "--pdf=--name" or "--pdf ./--name").
    const bool attached = args[k].size() > option.size();
    if (!attached && k + 1 < args.size() && args[k + 1].size() > 2 &&
        args[k + 1].rfind("--", 0) == 0) {
        error = option + " needs a file's name, not the option '" + Echo(args[k + 1]) + "'";
        return false;
    }
    return OptionValue(args, k, option, file, error);
}

bool TakeFieldOption(const std::vector<std::string>& args, std::size_t& k, FieldOptions& o,
                     std::string& error) {
    const std::string& a = args[k];
    if (a == "--east" || a == "--west") {
        o.east = a == "--east";
        return true;
    }
    if (a == "--north" || a == "--south") {
        o.north = a == "--north";
        return true;
    }
    for (const FieldTextOption& t : kFieldTextOptions) {
        const std::string option = t.option;
        if (!IsOption(a, option)) continue;
        if (!OptionValue(args, k, option, o.fields.*t.field, error))
            error += " (the text of the field)";
        return true;
    }
    return false;
}

const char* const kFieldOptionsHelp =
    R"(Field options: each takes the raw text of one field of the main window, read as the
window reads it: blanks anywhere are skipped, then a leading number with a period as
decimal point and an optional exponent (E or D); "&H" and "&O" start a hexadecimal or
octal integer; an empty or non-numeric text reads as 0. Arabic-Indic and Persian digits
read as 0-9 and the Arabic decimal separator as the period (a comma, which the windows
read as a decimal separator too, ends the number here: 34,5 is 34). Defaults are the
window's.
  --lon-deg TEXT --lon-min TEXT --lon-sec TEXT   longitude (default 5 40 0)
  --east | --west          longitude East or West of Greenwich (default --west)
  --lat-deg TEXT --lat-min TEXT --lat-sec TEXT   latitude (default 32 56 0)
  --north | --south        latitude North or South (default --north)
  --lon ANGLE, --lat ANGLE the whole longitude or latitude as the tables take it
                           (5:40:0W, -5.6667, 32:56:0N), instead of its three fields
  --zone TEXT              time zone in hours, East of Greenwich negative (default 0)
  --summer TEXT            summer-time correction in hours (default 0)
  --year TEXT --month TEXT --day TEXT            date (default today, local clock)
  --hour TEXT --minute TEXT --second TEXT        time (default now, local clock)
Sign conventions: East longitudes are negative and West positive; North latitudes
positive; the zone follows the longitude (one hour ahead of Greenwich is -1).
--east only sets the East flag: the zone text is taken as given. The zone and the
summer time are rounded to whole hours (ties to even) and must lie in -32768..32767.
)";

}  // namespace zerin::cli
