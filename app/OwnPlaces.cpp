#include "OwnPlaces.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "PlaceFields.h"
#include "Places.h"
#include "TableWriter.h"

namespace zerin::places {

namespace {

// Writes bytes to a new file beside path and renames it over path once it is complete and on
// the disk, so that a failed save leaves the previous file as it was; a previous file's
// permissions are kept. (The same way as the report window's save.)
bool WriteAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    struct stat previous {};
    const bool keepMode = ::lstat(path.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);
    std::random_device random;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        temporary = path + suffix;
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && (!keepMode || ::fchmod(fd, previous.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    int why = errno ? errno : EIO;
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        why = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        error = "cannot write '" + path + "': " + std::strerror(why);
    }
    return ok;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"#") == std::string::npos && text.front() != ' ' &&
        text.back() != ' ')
        return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// An angle in the form of --lat and --lon: D:M:S with its side's letter.
std::string AngleText(double degrees, char positive, char negative) {
    const AngleTexts a = AngleFieldTexts(degrees);
    return a.degrees + ":" + a.minutes + ":" + a.seconds + (degrees < 0 ? negative : positive);
}

}  // namespace

std::string OwnPlacesPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::string(data) + "/zerin/places.csv";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/zerin/places.csv";
    return "";
}

bool LoadOwnPlaces(const std::string& path, std::vector<GazetteerPlace>& places,
                   std::string& error) {
    places.clear();
    std::error_code missing;
    if (path.empty() || !std::filesystem::exists(path, missing)) return true;
    cli::TableOptions options;
    options.zone = 0;  // a row without a zone keeps Greenwich's
    std::vector<cli::TablePlace> rows;
    if (!cli::ReadPlacesFile(path, options, rows, error)) return false;
    for (const cli::TablePlace& row : rows) {
        GazetteerPlace p;
        p.name = p.latinName = row.name;
        p.latitude = row.place.Lat;
        p.longitude = -row.place.Lon;  // the calculation's longitude is West positive
        p.zone = row.zone;
        p.own = true;
        places.push_back(std::move(p));
    }
    return true;
}

std::string OwnPlacesText(const std::vector<GazetteerPlace>& places) {
    std::string text =
        "# Your own places (zerin places --mine), written by Zerin: one place a row.\n"
        "name,latitude,longitude,zone\n";
    for (const GazetteerPlace& p : places)
        text += CsvField(p.name) + "," + AngleText(p.latitude, 'N', 'S') + "," +
                AngleText(p.longitude, 'E', 'W') + "," + CsvField(p.zone.empty() ? "0" : p.zone) +
                "\n";
    return text;
}

bool CheckOwnPlaceName(const std::string& name, std::string& error) {
    if (name.find_first_not_of(" \t") == std::string::npos) {
        error = "the place needs a name";
        return false;
    }
    if (name.find_first_of("\r\n") != std::string::npos) {
        error = "a place's name is one line";
        return false;
    }
    if (cli::DisplayWidth(name) > 60) {
        error = "a place's name has at most 60 characters";
        return false;
    }
    return true;
}

bool SaveOwnPlace(const std::string& path, const GazetteerPlace& place, std::string& error) {
    if (path.empty()) {
        error = "no folder for your places: neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    if (!CheckOwnPlaceName(place.name, error)) return false;
    std::vector<GazetteerPlace> places;
    if (!LoadOwnPlaces(path, places, error)) return false;
    GazetteerPlace saved = place;
    saved.name.erase(0, saved.name.find_first_not_of(" \t"));
    saved.name.erase(saved.name.find_last_not_of(" \t") + 1);
    saved.own = true;
    bool replaced = false;
    for (GazetteerPlace& p : places)
        if (p.name == saved.name) {
            p = saved;
            replaced = true;
        }
    if (!replaced) places.push_back(saved);
    // What is written must read back: a zone the places file cannot take is refused here.
    const std::string text = OwnPlacesText(places);
    std::istringstream check(text);
    cli::TableOptions options;
    options.zone = 0;
    std::vector<cli::TablePlace> rows;
    if (!cli::ReadPlaces(check, path, options, rows, error)) return false;
    std::error_code why;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), why);
    if (why) {
        error = "cannot create the folder of '" + path + "': " + why.message();
        return false;
    }
    return WriteAtomically(path, text, error);
}

}  // namespace zerin::places
