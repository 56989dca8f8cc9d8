#include "OwnPlaces.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "AtomicFile.h"
#include "PlaceFields.h"
#include "Places.h"
#include "TableWriter.h"
#include "Utf8.h"
#include "report/Echo.h"

namespace zerin::places {

namespace {

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

// The file a path names: a symbolic link (places.csv kept in a dotfiles folder) is followed to
// its file, however many links lead there, so that the new file is written beside that one
// and the link stays. False with a message for a loop of links.
bool FileOfPath(const std::string& path, std::string& file, std::string& error) {
    file = path;
    for (int link = 0; link < 40; ++link) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(file.c_str(), target, sizeof target);
        // Not a link, or nothing there yet: that is the file.
        if (n < 0 || static_cast<std::size_t>(n) == sizeof target) return true;
        file = (std::filesystem::path(file).parent_path() / std::string(target, n)).string();
    }
    error = "cannot follow the links of '" + EchoPath(path) + "': " + std::strerror(ELOOP);
    return false;
}

// An exclusive lock on a file of places while it is read, changed and written again: held on
// FILE.lock beside it, which stays (a lock file removed while another process waits on it
// would let a third one in beside the second).
class PlacesLock {
  public:
    ~PlacesLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Take(const std::string& file, std::string& error) {
        const std::string path = file + ".lock";
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        int locked = -1;
        while (fd_ >= 0 && (locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked == 0) return true;
        error = "cannot lock '" + EchoPath(path) + "': " + std::strerror(errno);
        return false;
    }

  private:
    int fd_ = -1;
};

}  // namespace

std::string OwnPlacesPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::string(data) + "/zerin/places.csv";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/zerin/places.csv";
    return "";
}

bool LoadOwnPlaces(const std::string& path, std::vector<GazetteerPlace>& places, std::string& error,
                   std::vector<std::string>* alike) {
    places.clear();
    std::error_code missing;
    if (path.empty() || !std::filesystem::exists(path, missing)) return true;
    services::TableOptions options;
    options.zone = 0;  // a row without a zone keeps Greenwich's
    std::vector<services::TablePlace> rows;
    std::vector<std::string> alikeNames;
    if (!services::ReadPlacesFile(path, options, rows, error, &alikeNames)) return false;
    if (alike) *alike = std::move(alikeNames);
    for (const services::TablePlace& row : rows) {
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
    if (services::DisplayWidth(name) > 60) {
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
    std::string file;
    if (!FileOfPath(path, file, error)) return false;
    std::error_code why;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), why);
    if (why) {
        error = "cannot create the folder of '" + EchoPath(file) + "': " + why.message();
        return false;
    }
    // Read again under the lock: what another window saved a moment ago is kept.
    PlacesLock lock;
    if (!lock.Take(file, error)) return false;
    std::vector<GazetteerPlace> places;
    if (!LoadOwnPlaces(file, places, error)) return false;
    GazetteerPlace saved = place;
    saved.name.erase(0, saved.name.find_first_not_of(" \t"));
    saved.name.erase(saved.name.find_last_not_of(" \t") + 1);
    saved.own = true;
    // The place takes the row of the first of its name, and the others of that name go.
    const std::string name = services::Nfc(saved.name);
    const auto same = [&name](const GazetteerPlace& p) { return services::Nfc(p.name) == name; };
    const auto first = std::find_if(places.begin(), places.end(), same);
    if (first == places.end()) {
        places.push_back(saved);
    } else {
        *first = saved;
        places.erase(std::remove_if(first + 1, places.end(), same), places.end());
    }
    // What is written must read back: a zone the places file cannot take is refused here.
    const std::string text = OwnPlacesText(places);
    std::istringstream check(text);
    services::TableOptions options;
    options.zone = 0;
    std::vector<services::TablePlace> rows;
    std::vector<std::string> alike;
    if (!services::ReadPlaces(check, file, options, rows, error, &alike)) return false;
    return WriteFileAtomically(file, text, error);
}

bool LoadPlaces(Gazetteer& gazetteer, const std::vector<std::string>& folders, std::string& error,
                std::string& ownError, std::string* ownNote) {
    std::vector<GazetteerPlace> own;
    std::vector<std::string> alike;
    LoadOwnPlaces(OwnPlacesPath(), own, ownError, &alike);
    if (ownNote) {
        ownNote->clear();
        for (const std::string& line : alike) *ownNote += (ownNote->empty() ? "" : "; ") + line;
    }
    gazetteer.SetOwnPlaces(std::move(own));
    const std::string path = LocateGazetteer(folders);
    if (!path.empty()) return gazetteer.Load(path, error);
    error =
        "the gazetteer (gazetteer.txt) is neither beside the program nor in its data folder "
        "(share/zerin)";
    return false;
}

}  // namespace zerin::places
