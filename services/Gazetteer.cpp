#include "Gazetteer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>

#include "report/Echo.h"

namespace zerin::places {

namespace {

constexpr std::string_view kArticle = "\xD8\xA7\xD9\x84";  // ال
// A gazetteer is a few megabytes: a guard against reading some other, huge file whole.
constexpr std::size_t kMaxFileBytes = 64u << 20;
constexpr double kEarthRadiusKm = 6371.0088;
// The longest name the suggestions compare, in code points.
constexpr std::size_t kLongestName = 64;

void AppendUtf8(std::string& out, UChar32 c) {
    char bytes[4];
    int32_t length = 0;
    UBool error = false;
    U8_APPEND(reinterpret_cast<uint8_t*>(bytes), length, 4, c, error);
    if (!error) out.append(bytes, static_cast<std::size_t>(length));
}

bool IsSeparator(UChar32 c) {
    if (c == '-' || c == '_' || c == ',' || c == 0x060C) return true;
    const int8_t type = u_charType(c);
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR ||
           (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x1F) || c == 0x85;
}

bool IsLeftOut(UChar32 c) {
    return c == 0x0640 || c == 0x0670 || (c >= 0x064B && c <= 0x065F) || c == '\'' || c == 0x2019 ||
           c == 0x02BB || c == 0x02BC || c == '`' || c == '.';
}

// A letter outside the Arabic block: decomposed, without its marks, case folded.
void AppendFolded(std::string& out, UChar32 c) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString parts;
    if (U_FAILURE(status) || !nfd->getDecomposition(c, parts)) parts = icu::UnicodeString(c);
    icu::UnicodeString kept;
    for (int32_t k = 0; k < parts.length();) {
        const UChar32 part = parts.char32At(k);
        k += U16_LENGTH(part);
        if (u_charType(part) != U_NON_SPACING_MARK) kept.append(part);
    }
    kept.foldCase(U_FOLD_CASE_DEFAULT);
    kept.toUTF8String(out);
}

// The article left off each word that has more after it.
std::string WithoutArticles(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        std::string_view word(text.data() + start, end - start);
        if (word.size() > kArticle.size() && word.starts_with(kArticle))
            word.remove_prefix(kArticle.size());
        if (!out.empty()) out += ' ';
        out += word;
        start = end + 1;
    }
    return out;
}

template <typename T>
bool Number(std::string_view text, T& value) {
    const auto [end, why] = std::from_chars(text.data(), text.data() + text.size(), value);
    return why == std::errc() && end == text.data() + text.size();
}

// A letter's place among 64 kinds of letter (letters that share one are as one).
unsigned LetterKind(char32_t c) {
    return (static_cast<std::uint32_t>(c) * 2654435761u) >> 26;
}

// The code points of UTF-8 text into out (whose room is kept from call to call); returns the
// kinds of letter it holds, a bit each.
std::uint64_t CodePoints(std::string_view text, std::u32string& out) {
    out.clear();
    std::uint64_t kinds = 0;
    for (int32_t k = 0; k < static_cast<int32_t>(text.size());) {
        UChar32 c;
        U8_NEXT(text.data(), k, static_cast<int32_t>(text.size()), c);
        out += static_cast<char32_t>(c < 0 ? 0xFFFD : c);
        kinds |= std::uint64_t{1} << LetterKind(out.back());
    }
    return kinds;
}

// A bound below the edit distance of two names from their letters alone: each letter of one
// that the other lacks takes an edit of its own. `wanted` counts the first name's letters
// of each kind; the second is `name`, whose kinds are `kinds`. A bound past `bound` may be
// returned before it is the largest.
std::size_t LettersApart(const std::array<int, 64>& wanted, std::uint64_t wantedKinds,
                         const std::u32string& name, std::uint64_t kinds, std::size_t bound) {
    // The kinds one name has and the other has not: cheap, and most names end here.
    const auto absent = static_cast<std::size_t>(
        std::max(std::popcount(wantedKinds & ~kinds), std::popcount(kinds & ~wantedKinds)));
    if (absent > bound) return absent;
    std::array<int, 64> left = wanted;
    for (const char32_t c : name) --left[LetterKind(c)];
    std::size_t more = 0, fewer = 0;
    for (const int n : left) (n > 0 ? more : fewer) += static_cast<std::size_t>(n > 0 ? n : -n);
    return std::max({absent, more, fewer});
}

// The edit distance between two names (insertions, deletions and replacements) when it is at
// most `bound`, otherwise bound + 1. Only the cells within `bound` of the diagonal can hold
// less (Ukkonen), and a row whose every cell is past the bound ends the work: a name far
// from the query costs a few cells, not the whole table.
std::size_t EditDistanceWithin(const std::u32string& a, const std::u32string& b, std::size_t bound,
                               std::vector<std::size_t>& row) {
    const std::size_t past = bound + 1;
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > bound) return past;
    row.resize(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = std::min(j, past);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        const std::size_t low = i > bound ? i - bound : 1;
        const std::size_t high = std::min(b.size(), i + bound);
        std::size_t diagonal = row[low - 1];
        row[low - 1] = low == 1 ? std::min(i, past) : past;
        std::size_t least = row[low - 1];
        for (std::size_t j = low; j <= high; ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1]), past});
            diagonal = above;
            least = std::min(least, row[j]);
        }
        if (least > bound) return past;
    }
    return row[b.size()];
}

std::string Utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// The ISO codes ICU knows, with their Arabic and English names normalised.
struct CountryName {
    std::string code, arabic, english;
};

const std::vector<CountryName>& CountryNames() {
    static const std::vector<CountryName> names = [] {
        std::vector<CountryName> list;
        const icu::Locale arabic("ar"), english("en");
        for (const char* const* code = icu::Locale::getISOCountries(); *code; ++code) {
            const icu::Locale country("", *code);
            icu::UnicodeString ar, en;
            country.getDisplayCountry(arabic, ar);
            country.getDisplayCountry(english, en);
            list.push_back({*code, NormaliseName(Utf8(ar)), NormaliseName(Utf8(en))});
        }
        return list;
    }();
    return names;
}

}  // namespace

std::vector<std::string_view> TabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::string NormaliseName(std::string_view name) {
    std::string folded;
    for (int32_t k = 0; k < static_cast<int32_t>(name.size());) {
        UChar32 c;
        U8_NEXT(name.data(), k, static_cast<int32_t>(name.size()), c);
        if (c < 0) continue;  // a byte that is not UTF-8
        if (c == 0x0623 || c == 0x0625 || c == 0x0622 || c == 0x0671) c = 0x0627;
        if (c == 0x0629) c = 0x0647;
        if (c == 0x0649) c = 0x064A;
        if (IsLeftOut(c)) continue;
        if (IsSeparator(c)) {
            folded += ' ';
        } else if (c >= 0x0600 && c <= 0x06FF) {
            AppendUtf8(folded, c);
        } else {
            AppendFolded(folded, c);
        }
    }
    // Single blanks, none at either end.
    std::string blanks;
    for (const char c : folded)
        if (c != ' ' || (!blanks.empty() && blanks.back() != ' ')) blanks += c;
    while (!blanks.empty() && blanks.back() == ' ') blanks.pop_back();
    return WithoutArticles(blanks);
}

std::string CountryNameArabic(const std::string& code) {
    if (code.size() != 2) return code;
    icu::UnicodeString name;
    icu::Locale("", code.c_str()).getDisplayCountry(icu::Locale("ar"), name);
    const std::string text = Utf8(name);
    return text.empty() ? code : text;
}

std::string ZoneCityCountryArabic(const std::string& zone) {
    static const std::unique_ptr<icu::TimeZoneNames> names = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::TimeZoneNames> made(
            icu::TimeZoneNames::createInstance(icu::Locale("ar"), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    const icu::UnicodeString id = icu::UnicodeString::fromUTF8(zone);
    std::string city;
    if (names) {
        icu::UnicodeString name;
        names->getExemplarLocationName(id, name);
        city = Utf8(name);
    }
    char region[8] = {};
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone::getRegion(id, region, sizeof region, status);
    const std::string country =
        U_SUCCESS(status) && std::strlen(region) == 2 ? CountryNameArabic(region) : "";
    if (city.empty() || country.empty()) return city + country;
    return city + "\xD8\x8C " + country;  // the Arabic comma
}

std::string CountryCodeOf(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.size() == 2 && std::isalpha(static_cast<unsigned char>(text[0])) &&
        std::isalpha(static_cast<unsigned char>(text[1]))) {
        std::string code(text);
        for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return code;
    }
    const std::string wanted = NormaliseName(text);
    if (wanted.empty()) return "";
    for (const CountryName& c : CountryNames())
        if (c.arabic == wanted || c.english == wanted) return c.code;
    for (const CountryName& c : CountryNames())
        if (c.arabic.starts_with(wanted) || c.english.starts_with(wanted)) return c.code;
    return "";
}

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double rad = std::numbers::pi / 180;
    const double dLat = (lat2 - lat1) * rad, dLon = (lon2 - lon1) * rad;
    const double h =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

namespace {

// "a FIFO": what stands at a path that is not a regular file.
const char* KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Reads a regular file whole, no further than kMaxFileBytes + 1 bytes: the size the system
// gives is not trusted (the files of /proc say 0). False with a message.
bool ReadGazetteerFile(const std::string& path, std::string& text, std::string& error) {
    const auto cannotOpen = [&path, &error]() {
        error = "cannot open the gazetteer '" + EchoPath(path) + "': " + std::strerror(errno);
        return false;
    };
    const auto notAFile = [&path, &error](mode_t mode) {
        error = "the gazetteer " + EchoPath(path) + " cannot be read: it is " + KindOfFile(mode) +
                ", not a file";
        return false;
    };
    // A FIFO would wait for ever for a writer: what is not a regular file is never opened, and
    // the file opened is checked again (O_NONBLOCK: a FIFO put there meanwhile cannot block).
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return cannotOpen();
    if (!S_ISREG(info.st_mode)) return notAFile(info.st_mode);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return cannotOpen();
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return notAFile(info.st_mode);
    }
    text.clear();
    text.reserve(
        std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), kMaxFileBytes));
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxFileBytes) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    const int why = errno;
    ::close(fd);
    if (n > 0) error = "the gazetteer " + EchoPath(path) + " is not a gazetteer (more than 64 MB)";
    if (n < 0)
        error = "the gazetteer " + EchoPath(path) + " could not be read: " + std::strerror(why);
    return n == 0;
}

}  // namespace

bool Gazetteer::Load(const std::string& path, std::string& error) {
    std::string text;
    if (!ReadGazetteerFile(path, text, error)) return false;
    return Parse(std::move(text), path, error);
}

namespace {

// The fewest bytes a line of each section takes, with its line end: a count larger than the
// rest of the file could hold is damage, refused before anything is reserved for it.
constexpr std::size_t kLeastPlaceLine = 12;  // eight tabs, a digit for each number
constexpr std::size_t kLeastKeyLine = 3;     // a tab and a digit
constexpr std::size_t kLeastRegionLine = 6;  // "C.R", a tab, a letter
// More zones than the time-zone database will ever have.
constexpr std::size_t kMostZones = 10000;
// Above any town (La Rinconada, 5,100 m), below any shore (the Dead Sea's, -430 m).
constexpr double kMostElevation = 9000;

// The nine fields of a place's line, or false when it has other than nine.
bool SplitPlace(std::string_view line, std::string_view (&f)[9]) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < 9; ++k) {
        const std::size_t tab = line.find('\t', start);
        if ((tab == std::string_view::npos) != (k == 8)) return false;
        f[k] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        start = tab + 1;
    }
    return true;
}

// What is wrong with a place's fields, or "" when they are sound: the coordinates finite and
// on the globe, the elevation (when given) a height a town may have, the zone one of the
// file's, the population a whole number.
std::string PlaceFault(const std::string_view (&f)[9], std::size_t zones) {
    double latitude = 0, longitude = 0, elevation = 0;
    std::size_t zone = 0;
    long long population = 0;
    if (!Number(f[4], latitude) || !(std::fabs(latitude) <= 90))
        return "a latitude that is not a number from -90 to 90: '" + Echo(f[4]) + "'";
    if (!Number(f[5], longitude) || !(std::fabs(longitude) <= 180))
        return "a longitude that is not a number from -180 to 180: '" + Echo(f[5]) + "'";
    if (!f[6].empty() && (!Number(f[6], elevation) || !(std::fabs(elevation) <= kMostElevation)))
        return "an elevation that is not a number of metres: '" + Echo(f[6]) + "'";
    if (!Number(f[7], zone) || zone >= zones)
        return "a zone that is not the number of one of the " + std::to_string(zones) +
               " zones: '" + Echo(f[7]) + "'";
    if (!Number(f[8], population) || population < 0)
        return "a population that is not a whole number: '" + Echo(f[8]) + "'";
    return "";
}

}  // namespace

bool Gazetteer::Parse(std::string text, const std::string& source, std::string& error) {
    text_ = std::move(text);
    zones_.clear();
    placeLines_.clear();
    keyLines_.clear();
    keyPlaces_.clear();
    regions_.clear();
    std::size_t pos = 0, lineNumber = 0;
    std::string_view line;
    const auto next = [&]() {
        if (pos >= text_.size()) return false;
        const char* start = text_.data() + pos;
        const void* end = std::memchr(start, '\n', text_.size() - pos);
        const std::size_t length =
            end ? static_cast<std::size_t>(static_cast<const char*>(end) - start)
                : text_.size() - pos;
        line = std::string_view(start, length);
        pos += length + 1;
        ++lineNumber;
        return true;
    };
    const auto fail = [&](const std::string& what) {
        error = "the gazetteer " + EchoPath(source) + " is damaged: line " +
                std::to_string(lineNumber) + " (" + what + ")";
        text_.clear();
        zones_.clear();
        placeLines_.clear();
        keyLines_.clear();
        keyPlaces_.clear();
        regions_.clear();
        return false;
    };
    const auto section = [&](std::string_view name, std::size_t& count) {
        while (next() && line.starts_with('#')) {
        }
        const std::vector<std::string_view> f = TabFields(line);
        return f.size() == 2 && f[0] == name && Number(f[1], count);
    };
    // A count of lines of at least `least` bytes that the rest of the file cannot hold.
    const auto tooMany = [&](std::size_t count, std::size_t least) {
        return count > (text_.size() - std::min(pos, text_.size())) / least;
    };
    const auto refuseCount = [&](std::size_t count, const char* what) {
        return fail("a count of " + std::to_string(count) + " " + what + ", more than the " +
                    std::to_string(text_.size()) + " bytes of the file can hold");
    };
    std::size_t count = 0;
    if (!section("zones", count)) return fail("no \"zones\" count where one is expected");
    if (count > kMostZones || tooMany(count, 2)) return refuseCount(count, "zones");
    zones_.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (!next()) return fail("the file ends within the zones");
        zones_.push_back(line);
    }
    if (!section("places", count)) return fail("no \"places\" count where one is expected");
    if (tooMany(count, kLeastPlaceLine)) return refuseCount(count, "places");
    placeLines_.reserve(count);
    std::string_view fields[9];
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t offset = static_cast<std::uint32_t>(pos);
        if (!next()) return fail("the file ends within the places");
        if (!SplitPlace(line, fields)) return fail("a place of other than 9 fields");
        if (const std::string fault = PlaceFault(fields, zones_.size()); !fault.empty())
            return fail(fault);
        placeLines_.push_back(offset);
    }
    if (!section("keys", count)) return fail("no \"keys\" count where one is expected");
    if (tooMany(count, kLeastKeyLine)) return refuseCount(count, "keys");
    keyLines_.reserve(count);
    keyPlaces_.reserve(count);
    std::string_view previous;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t offset = static_cast<std::uint32_t>(pos);
        if (!next()) return fail("the file ends within the keys");
        const std::size_t tab = line.rfind('\t');
        std::uint32_t place = 0;
        if (tab == std::string_view::npos || !Number(line.substr(tab + 1), place) ||
            place >= placeLines_.size())
            return fail("a key without the number of a place");
        const std::string_view key = line.substr(0, tab);
        if (key < previous) return fail("the keys are not in order");
        previous = key;
        keyLines_.push_back(offset);
        keyPlaces_.push_back(place);
    }
    // The regions' names come last, so that a reader of the first three parts stops before them;
    // a file without them is whole.
    if (pos >= text_.size()) return true;
    if (!section("regions", count)) return fail("no \"regions\" count where one is expected");
    if (tooMany(count, kLeastRegionLine)) return refuseCount(count, "regions");
    regions_.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (!next()) return fail("the file ends within the regions");
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.find('.') > tab)
            return fail("a region without its code");
        if (!regions_.empty() && line.substr(0, tab + 1) < regions_.back())
            return fail("the regions are not in order");
        regions_.push_back(line);
    }
    return true;
}

std::string_view Gazetteer::RegionName(std::string_view country, std::string_view region) const {
    if (region.empty() || regions_.empty()) return {};
    std::string code(country);
    code += '.';
    code += region;
    code += '\t';
    const auto found = std::lower_bound(regions_.begin(), regions_.end(), std::string_view(code));
    return found != regions_.end() && found->starts_with(code) ? found->substr(code.size())
                                                               : std::string_view();
}

std::string_view Gazetteer::Line(std::uint32_t offset) const {
    const std::size_t end = text_.find('\n', offset);
    return std::string_view(text_).substr(offset, end == std::string::npos ? end : end - offset);
}

std::string_view Gazetteer::Key(std::size_t k) const {
    const std::string_view line = Line(keyLines_[k]);
    return line.substr(0, line.rfind('\t'));
}

GazetteerPlace Gazetteer::Town(std::size_t index) const {
    const std::vector<std::string_view> f = TabFields(Line(placeLines_.at(index)));
    GazetteerPlace p;
    p.latinName = f[0];
    p.arabicName = f[1];
    p.name = p.arabicName.empty() ? p.latinName : p.arabicName;
    p.country = f[2];
    p.region = f[3];
    p.regionName = RegionName(f[2], f[3]);
    Number(f[4], p.latitude);
    Number(f[5], p.longitude);
    double elevation = 0;
    if (Number(f[6], elevation)) p.elevation = elevation;
    std::size_t zone = 0;
    if (Number(f[7], zone) && zone < zones_.size()) p.zone = zones_[zone];
    Number(f[8], p.population);
    return p;
}

std::vector<GazetteerPlace> Gazetteer::Search(std::string_view query, const std::string& country,
                                              std::size_t limit) const {
    return Search(query, country, limit, true);
}

std::vector<GazetteerPlace> Gazetteer::Search(std::string_view query, const std::string& country,
                                              std::size_t limit, bool lendNames) const {
    std::string wantedCountry = country;
    // "Rabat, MT", "رباط، مالطا": the part after the last comma names the country.
    const std::size_t latinComma = query.rfind(',');
    const std::size_t arabicComma = query.rfind("\xD8\x8C");
    std::size_t comma = std::string_view::npos, commaBytes = 0;
    if (latinComma != std::string_view::npos) comma = latinComma, commaBytes = 1;
    if (arabicComma != std::string_view::npos &&
        (comma == std::string_view::npos || arabicComma > comma))
        comma = arabicComma, commaBytes = 2;
    if (comma != std::string_view::npos) {
        const std::string code = CountryCodeOf(query.substr(comma + commaBytes));
        if (!code.empty()) {
            if (wantedCountry.empty()) wantedCountry = code;
            query = query.substr(0, comma);
        }
    }
    const std::string wanted = NormaliseName(query);
    std::vector<GazetteerPlace> found;
    if (wanted.empty() || limit == 0) return found;
    if (wantedCountry.empty())
        for (const GazetteerPlace& p : own_)
            if (found.size() < limit && NormaliseName(p.name).starts_with(wanted)) {
                found.push_back(p);
                found.back().exact = NormaliseName(p.name) == wanted;
            }
    // (exactness, place) of every key that starts with the query, each place once.
    std::vector<std::pair<int, std::uint32_t>> matches;
    for (std::size_t k = FirstKeyFrom(wanted); k < keyLines_.size(); ++k) {
        const std::string_view key = Key(k);
        if (!key.starts_with(wanted)) break;
        matches.emplace_back(key == wanted ? 0 : 1, keyPlaces_[k]);
    }
    std::sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
        return std::tie(a.second, a.first) < std::tie(b.second, b.first);
    });
    matches.erase(std::unique(matches.begin(), matches.end(),
                              [](const auto& a, const auto& b) { return a.second == b.second; }),
                  matches.end());
    std::sort(matches.begin(), matches.end());
    const std::size_t before = found.size();
    for (const auto& [exactness, place] : matches) {
        if (found.size() >= limit) break;
        GazetteerPlace town = Town(place);
        town.exact = exactness == 0;
        if (wantedCountry.empty() || town.country == wantedCountry)
            found.push_back(std::move(town));
    }
    // A name whose spelling the country's town does not have in Arabic ("رباط، مالطا": Malta's
    // Rabat is written رابات): the towns of that name elsewhere lend their Latin name.
    if (found.size() == before && !wantedCountry.empty() && lendNames) {
        std::vector<std::string> latinNames;
        for (std::size_t k = 0; k < matches.size() && latinNames.size() < 3; ++k) {
            const std::string latin = Town(matches[k].second).latinName;
            if (NormaliseName(latin) != wanted &&
                std::find(latinNames.begin(), latinNames.end(), latin) == latinNames.end())
                latinNames.push_back(latin);
        }
        for (const std::string& latin : latinNames)
            for (GazetteerPlace& town : Search(latin, wantedCountry, limit - found.size(), false))
                if (!town.own) found.push_back(std::move(town));
    }
    return found;
}

std::vector<std::pair<GazetteerPlace, double>> Gazetteer::Nearest(double latitude, double longitude,
                                                                  std::size_t count) const {
    std::vector<std::pair<double, std::size_t>> distances;
    distances.reserve(placeLines_.size());
    for (std::size_t k = 0; k < placeLines_.size(); ++k) {
        const std::vector<std::string_view> f = TabFields(Line(placeLines_[k]));
        double lat = 0, lon = 0;
        if (Number(f[4], lat) && Number(f[5], lon))
            distances.emplace_back(DistanceKm(latitude, longitude, lat, lon), k);
    }
    count = std::min(count, distances.size());
    std::partial_sort(distances.begin(), distances.begin() + static_cast<std::ptrdiff_t>(count),
                      distances.end());
    std::vector<std::pair<GazetteerPlace, double>> nearest;
    for (std::size_t k = 0; k < count; ++k)
        nearest.emplace_back(Town(distances[k].second), distances[k].first);
    return nearest;
}

std::size_t Gazetteer::FirstKeyFrom(std::string_view wanted) const {
    std::size_t low = 0, high = keyLines_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Key(middle) < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::vector<GazetteerPlace> Gazetteer::Suggestions(std::string_view query,
                                                   std::size_t count) const {
    if (count == 0) return {};
    const std::string normalised = NormaliseName(query);
    std::u32string wanted, key;
    CodePoints(normalised, wanted);
    // No town's name is longer: a longer query is compared by its start.
    if (wanted.size() > kLongestName) wanted.resize(kLongestName);
    std::array<int, 64> wantedCounts{};
    std::uint64_t wantedKinds = 0;
    for (const char32_t c : wanted) {
        ++wantedCounts[LetterKind(c)];
        wantedKinds |= std::uint64_t{1} << LetterKind(c);
    }
    // The `count` nearest places so far by (distance, place), each place once: the last one's
    // distance bounds the search of every other key.
    std::vector<std::pair<std::size_t, std::uint32_t>> best;
    std::vector<std::size_t> row;
    const auto consider = [&](std::size_t k) {
        const std::size_t bound = best.size() < count ? kLongestName * 4 : best.back().first;
        const std::uint64_t kinds = CodePoints(Key(k), key);
        if (std::max(key.size(), wanted.size()) - std::min(key.size(), wanted.size()) > bound ||
            LettersApart(wantedCounts, wantedKinds, key, kinds, bound) > bound)
            return;
        const std::pair<std::size_t, std::uint32_t> found = {
            EditDistanceWithin(wanted, key, bound, row), keyPlaces_[k]};
        if (found.first > bound) return;
        const auto same = std::find_if(
            best.begin(), best.end(), [&found](const auto& b) { return b.second == found.second; });
        if (same != best.end() && *same <= found) return;
        if (same != best.end()) best.erase(same);
        best.insert(std::upper_bound(best.begin(), best.end(), found), found);
        if (best.size() > count) best.pop_back();
    };
    // The keys that start with the query's first letters come first: the nearest names are
    // most often among them, and the bound they leave makes the other keys quick.
    for (const std::size_t letters : {2, 1}) {
        if (wanted.size() < letters) continue;
        std::string start;
        icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(wanted.data()),
                                      static_cast<int32_t>(letters))
            .toUTF8String(start);
        for (std::size_t k = FirstKeyFrom(start); k < keyLines_.size() && Key(k).starts_with(start);
             ++k)
            consider(k);
    }
    for (std::size_t k = 0; k < keyLines_.size(); ++k) consider(k);
    std::vector<GazetteerPlace> found;
    for (const auto& [distance, place] : best) found.push_back(Town(place));
    return found;
}

std::string FindGazetteerFile(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + kGazetteerFileName;
        if (::access(path.c_str(), R_OK) == 0) return path;
    }
    return "";
}

std::string LocateGazetteer(const std::vector<std::string>& folders) {
    const char* named = std::getenv("ZERIN_GAZETTEER");
    return named && *named ? std::string(named) : FindGazetteerFile(folders);
}

std::vector<std::string> ProgramDataFolders() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string program(path, static_cast<std::size_t>(n));
    program.erase(program.rfind('/'));
    return {program, program + "/../share/zerin"};
}

}  // namespace zerin::places
