#include "Gazetteer.h"

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
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <numbers>

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

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

template <typename T>
bool Number(std::string_view text, T& value) {
    const auto [end, why] = std::from_chars(text.data(), text.data() + text.size(), value);
    return why == std::errc() && end == text.data() + text.size();
}

std::u32string CodePoints(std::string_view text) {
    std::u32string out;
    for (int32_t k = 0; k < static_cast<int32_t>(text.size());) {
        UChar32 c;
        U8_NEXT(text.data(), k, static_cast<int32_t>(text.size()), c);
        out += static_cast<char32_t>(c < 0 ? 0xFFFD : c);
    }
    return out;
}

// The edit distance between two names (insertions, deletions and replacements).
std::size_t EditDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
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

bool Gazetteer::Load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open the gazetteer '" + path + "': " + std::strerror(errno);
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxFileBytes) {
        error = "the gazetteer '" + path + "' is not a gazetteer (more than 64 MB)";
        return false;
    }
    file.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!file.read(text.data(), size)) {
        error = "the gazetteer '" + path + "' could not be read";
        return false;
    }
    return Parse(std::move(text), path, error);
}

bool Gazetteer::Parse(std::string text, const std::string& source, std::string& error) {
    text_ = std::move(text);
    zones_.clear();
    placeLines_.clear();
    keyLines_.clear();
    keyPlaces_.clear();
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
        error = "the gazetteer '" + source + "' is damaged: line " + std::to_string(lineNumber) +
                ": " + what;
        text_.clear();
        zones_.clear();
        placeLines_.clear();
        keyLines_.clear();
        keyPlaces_.clear();
        return false;
    };
    const auto section = [&](std::string_view name, std::size_t& count) {
        while (next() && line.starts_with('#')) {
        }
        const std::vector<std::string_view> f = Fields(line);
        return f.size() == 2 && f[0] == name && Number(f[1], count);
    };
    std::size_t count = 0;
    if (!section("zones", count)) return fail("no \"zones\" count where one is expected");
    for (std::size_t k = 0; k < count; ++k) {
        if (!next()) return fail("the file ends within the zones");
        zones_.push_back(line);
    }
    if (!section("places", count)) return fail("no \"places\" count where one is expected");
    placeLines_.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t offset = static_cast<std::uint32_t>(pos);
        if (!next()) return fail("the file ends within the places");
        if (std::count(line.begin(), line.end(), '\t') != 8)
            return fail("a place of other than 9 fields");
        placeLines_.push_back(offset);
    }
    if (!section("keys", count)) return fail("no \"keys\" count where one is expected");
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
    return true;
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
    const std::vector<std::string_view> f = Fields(Line(placeLines_.at(index)));
    GazetteerPlace p;
    p.latinName = f[0];
    p.arabicName = f[1];
    p.name = p.arabicName.empty() ? p.latinName : p.arabicName;
    p.country = f[2];
    p.region = f[3];
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
    std::size_t low = 0, high = keyLines_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Key(middle) < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    std::size_t k = low;
    for (; k < keyLines_.size(); ++k) {
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
        const std::vector<std::string_view> f = Fields(Line(placeLines_[k]));
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

std::vector<GazetteerPlace> Gazetteer::Suggestions(std::string_view query,
                                                   std::size_t count) const {
    // No town's name is longer: a longer query is compared by its start.
    std::u32string wanted = CodePoints(NormaliseName(query));
    if (wanted.size() > kLongestName) wanted.resize(kLongestName);
    // (distance, place) of every key.
    std::vector<std::pair<std::size_t, std::uint32_t>> near;
    near.reserve(keyLines_.size());
    for (std::size_t k = 0; k < keyLines_.size(); ++k)
        near.emplace_back(EditDistance(wanted, CodePoints(Key(k))), keyPlaces_[k]);
    std::sort(near.begin(), near.end());
    std::vector<GazetteerPlace> found;
    std::vector<std::uint32_t> seen;
    for (const auto& [distance, place] : near) {
        if (found.size() >= count) break;
        if (std::find(seen.begin(), seen.end(), place) != seen.end()) continue;
        seen.push_back(place);
        found.push_back(Town(place));
    }
    return found;
}

std::string FindGazetteerFile(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + kGazetteerFileName;
        if (std::ifstream(path).good()) return path;
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
