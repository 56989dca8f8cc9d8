// The two pictures of the windows, drawn by the program itself: the main window's title
// band and the About window's logo, both a night sky with the Sun, the Moon and the
// planets that Zerin computes.
#pragma once

#include <QImage>
#include <QSize>

namespace zerin::ui {

inline constexpr QSize kTitleArtworkSize{898, 212};
inline constexpr QSize kLogoSize{762, 594};

// The title band: the Sun, the planets along the ecliptic, the Moon and the program's name.
QImage TitleArtwork();

// The logo: an astrolabe ring around the Sun, the planets on their orbits and the Moon.
QImage LogoArtwork();

}  // namespace zerin::ui
