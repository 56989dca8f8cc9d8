// What a place puts into the fields, and the user's own places: saved, read back, replaced,
// and a failed save that leaves the file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "OwnPlaces.h"
#include "PlaceFields.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

using places::GazetteerPlace;

TEST(PlaceFields, AnglesAsTheFieldsWriteThem) {
    struct Case {
        double degrees;
        const char *d, *m, *s;
    };
    // clang-format off
    const Case cases[] = {
        {34.0132, "34", "0", "47.52"}, {-6.8326, "6", "49", "57.36"}, {21.4225, "21", "25", "21"},
        {39.8262, "39", "49", "34.32"}, {0, "0", "0", "0"}, {-0.0001, "0", "0", "0.36"},
        {10.999999999, "11", "0", "0"},  // carries into the degrees
        {179.9999, "179", "59", "59.64"}, {-90, "90", "0", "0"}, {1.5, "1", "30", "0"},
        {0.0125, "0", "0", "45"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const places::AngleTexts a = places::AngleFieldTexts(c.degrees);
        EXPECT_EQ(a.degrees, c.d) << c.degrees;
        EXPECT_EQ(a.minutes, c.m) << c.degrees;
        EXPECT_EQ(a.seconds, c.s) << c.degrees;
    }
    const std::pair<double, const char*> hours[] = {{-1, "-1"},  {5.5, "5.5"},     {0, "0"},
                                                    {-0.0, "0"}, {-5.75, "-5.75"}, {14, "14"}};
    for (const auto& [h, text] : hours) EXPECT_EQ(places::HoursText(h), text);
}

TEST(PlaceFields, TheZoneAndTheSummerTimeOfTheDate) {
    struct Case {
        double lat, lon;
        const char* zone;
        services::Civil local;
        const char *zoneText, *summerText;
        bool east, north;
    };
    // Offsets from the time-zone database's rules: Paris +1 with +1 of summer time from
    // the last Sunday of March; Casablanca +1 since 2018; Kolkata +5:30; Santiago -4 with
    // its summer (-3) in January; Riyadh +3 all year.
    const Case cases[] = {
        {48.85, 2.35, "Europe/Paris", {2025, 1, 15, 12, 0, 0}, "-1", "0", true, true},
        {48.85, 2.35, "Europe/Paris", {2025, 7, 15, 12, 0, 0}, "-1", "1", true, true},
        {48.85, 2.35, "Europe/Paris", {2025, 3, 30, 1, 0, 0}, "-1", "0", true, true},
        {48.85, 2.35, "Europe/Paris", {2025, 3, 30, 4, 0, 0}, "-1", "1", true, true},
        {34.0132, -6.8326, "Africa/Casablanca", {2025, 1, 15, 12, 0, 0}, "-1", "0", false, true},
        {22.57, 88.36, "Asia/Kolkata", {2025, 1, 15, 12, 0, 0}, "-5.5", "0", true, true},
        {-33.45, -70.66, "America/Santiago", {2025, 1, 15, 12, 0, 0}, "4", "1", false, false},
        {21.42, 39.83, "Asia/Riyadh", {2025, 7, 1, 12, 0, 0}, "-3", "0", true, true},
    };
    for (const Case& c : cases) {
        GazetteerPlace p;
        p.latitude = c.lat;
        p.longitude = c.lon;
        p.zone = c.zone;
        places::PlaceFields f;
        std::string error;
        ASSERT_TRUE(places::FieldsOfPlace(p, c.local, f, error)) << error;
        EXPECT_EQ(f.place.fields.TxtZone, c.zoneText) << c.zone << " " << c.local.month;
        EXPECT_EQ(f.place.fields.TxtEteRegl, c.summerText) << c.zone << " " << c.local.month;
        EXPECT_EQ(f.place.east, c.east) << c.zone;
        EXPECT_EQ(f.place.north, c.north) << c.zone;
        EXPECT_TRUE(f.summerKnown);
    }
    // An own place's zone of whole hours is the zone; the summer field keeps its text.
    GazetteerPlace own;
    own.zone = "-3";
    places::PlaceFields f;
    f.place.fields.TxtEteRegl = "1";
    std::string error;
    ASSERT_TRUE(places::FieldsOfPlace(own, {2025, 7, 1, 12, 0, 0}, f, error));
    EXPECT_EQ(f.place.fields.TxtZone, "-3");
    EXPECT_EQ(f.place.fields.TxtEteRegl, "1");
    EXPECT_FALSE(f.summerKnown);
    // A zone the database does not have is said.
    own.zone = "Africa/Atlantis";
    EXPECT_FALSE(places::FieldsOfPlace(own, {2025, 7, 1, 12, 0, 0}, f, error));
    EXPECT_NE(error.find("Africa/Atlantis"), std::string::npos);
}

class OwnPlacesTest : public ::testing::Test {
  protected:
    static GazetteerPlace Place(const std::string& name, double lat, double lon,
                                const std::string& zone) {
        GazetteerPlace p;
        p.name = p.latinName = name;
        p.latitude = lat;
        p.longitude = lon;
        p.zone = zone;
        return p;
    }
    const ScratchFolder scratch_;
    const std::string folder_ = scratch_ / "own", path_ = folder_ + "/zerin/places.csv";
};

TEST_F(OwnPlacesTest, SavedPlacesReadBack) {
    const GazetteerPlace saved[] = {
        Place("مسجد الحي", 34.0132, -6.8326, "Africa/Casablanca"),
        Place("Fes, \"medina\"", 34.0628, -4.9781, "-1"),
        Place("#3 south", -33.9249, 18.4241, "Africa/Johannesburg"),
        Place("Null Island", 0, 0, "0"),
    };
    std::string error;
    for (const GazetteerPlace& p : saved)
        ASSERT_TRUE(places::SaveOwnPlace(path_, p, error)) << error;
    std::vector<GazetteerPlace> read;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    ASSERT_EQ(read.size(), std::size(saved));
    for (std::size_t k = 0; k < read.size(); ++k) {
        EXPECT_EQ(read[k].name, saved[k].name);
        EXPECT_NEAR(read[k].latitude, saved[k].latitude, 1e-6) << saved[k].name;
        EXPECT_NEAR(read[k].longitude, saved[k].longitude, 1e-6) << saved[k].name;
        EXPECT_EQ(read[k].zone, saved[k].zone);
        EXPECT_TRUE(read[k].own);
    }
    // The file is a places file as --places reads it.
    EXPECT_NE(ReadFile(path_).find("name,latitude,longitude,zone\n"
                                   "مسجد الحي,34:0:47.52N,6:49:57.36W,Africa/Casablanca\n"
                                   "\"Fes, \"\"medina\"\"\",34:3:46.08N,4:58:41.16W,-1\n"),
              std::string::npos)
        << ReadFile(path_);
    // Saving a name again replaces the place.
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place("مسجد الحي", 35, -5, "Africa/Ceuta"), error));
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error));
    ASSERT_EQ(read.size(), std::size(saved));
    EXPECT_EQ(read[0].latitude, 35);
    EXPECT_EQ(read[0].zone, "Africa/Ceuta");
}

TEST_F(OwnPlacesTest, RefusedSavesLeaveTheFileAsItWas) {
    std::string error;
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place("Home", 34, -6, "0"), error));
    const std::pair<GazetteerPlace, const char*> refused[] = {
        {Place("", 1, 1, "0"), "needs a name"},
        {Place("a\nb", 1, 1, "0"), "one line"},
        {Place(std::string(61, 'x'), 1, 1, "0"), "at most 60"},
        {Place("Delhi", 28.6, 77.2, "-5.5"), "zone"},  // the places file takes whole hours
        {Place("Nowhere", 1, 1, "Africa/Atlantis"), "zone"},
    };
    for (const auto& [place, message] : refused) {
        error.clear();
        EXPECT_FALSE(places::SaveOwnPlace(path_, place, error)) << place.name;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    // A folder that cannot be written: the message names the file, the old file stays.
    ::chmod((folder_ + "/zerin").c_str(), 0555);
    if (::access((folder_ + "/zerin").c_str(), W_OK) != 0) {
        EXPECT_FALSE(places::SaveOwnPlace(path_, Place("Work", 33, -7, "0"), error));
        EXPECT_NE(error.find(path_), std::string::npos) << error;
    }
    ::chmod((folder_ + "/zerin").c_str(), 0755);
    std::vector<GazetteerPlace> read;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, "Home");
    // No stray temporary file is left beside it: the file and its lock.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ + "/zerin"),
                            std::filesystem::directory_iterator()),
              2);
}

// No file is no place; a damaged file is said with its line.
TEST_F(OwnPlacesTest, ADamagedFileIsSaidWithItsLine) {
    std::vector<GazetteerPlace> read = {Place("x", 0, 0, "0")};
    std::string error;
    EXPECT_TRUE(places::LoadOwnPlaces(path_, read, error));
    EXPECT_TRUE(read.empty());
    std::filesystem::create_directories(folder_ + "/zerin");
    std::ofstream(path_) << "name,latitude,longitude,zone\nHome,95N,6W,0\n";
    EXPECT_FALSE(places::LoadOwnPlaces(path_, read, error));
    EXPECT_NE(error.find(":2:"), std::string::npos) << error;
    // And is not overwritten by a save.
    EXPECT_FALSE(places::SaveOwnPlace(path_, Place("Work", 33, -7, "0"), error));
    EXPECT_EQ(ReadFile(path_), "name,latitude,longitude,zone\nHome,95N,6W,0\n");
}

// Two processes saving 50 places each into one file at once: the lock keeps all 100.
TEST_F(OwnPlacesTest, TwoProcessesSavingAtOnceLoseNoPlace) {
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        ASSERT_GE(children[c] = ::fork(), 0);
        if (children[c] > 0) continue;
        std::string error;
        for (int k = 0; k < 50; ++k)
            if (!places::SaveOwnPlace(
                    path_, Place(std::to_string(c) + "-" + std::to_string(k), k, c, "0"), error))
                ::_exit(1);
        ::_exit(0);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<GazetteerPlace> read;
    std::string error;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    EXPECT_EQ(read.size(), 100u);
}

// A places.csv that is a link (a dotfiles folder's) is followed: the file it names takes the
// place, the link stays. Names alike but for how their letters are composed (Fès twice, as an
// earlier save could leave them) are both read, and said; saving the name again keeps one.
TEST_F(OwnPlacesTest, ALinkIsFollowedAndNamesAlikeAreKept) {
    const std::string dotfiles = folder_ + "/dotfiles/places.csv", nfd = "Fe\xCC\x80s";
    for (const char* made : {"/dotfiles", "/zerin"})
        std::filesystem::create_directories(folder_ + made);
    std::ofstream(dotfiles) << "name,latitude,longitude,zone\nF\xC3\xA8s,34N,5W,0\n" + nfd +
                                   ",35N,5W,0\n";
    ASSERT_EQ(::symlink("../dotfiles/places.csv", path_.c_str()), 0);
    std::vector<GazetteerPlace> read;
    std::vector<std::string> alike;
    std::string error;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error, &alike)) << error;
    EXPECT_EQ(read.size(), 2u);
    EXPECT_EQ(alike, std::vector<std::string>{path_ + ":3: '" + nfd +
                                              "' is also the name on line 2 (the same letters, "
                                              "composed otherwise)"});
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place(nfd, 36, -5, "0"), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(ReadFile(dotfiles), places::OwnPlacesText({Place(nfd, 36, -5, "0")}));
}

TEST(OwnPlacesPath, InTheUsersDataFolder) {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedData = data ? data : "", savedHome = home ? home : "";
    ::setenv("XDG_DATA_HOME", "/tmp/data", 1);
    EXPECT_EQ(places::OwnPlacesPath(), "/tmp/data/zerin/places.csv");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(places::OwnPlacesPath(), "/home/u/.local/share/zerin/places.csv");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(places::OwnPlacesPath(), "");
    std::string error;
    EXPECT_FALSE(places::SaveOwnPlace("", GazetteerPlace{}, error));
    if (data) ::setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace zerin::test
