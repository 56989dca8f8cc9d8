#!/bin/sh
# Installs the Debian packages that building, running and testing Zerin need (khal and
# python3-icalendar read the calendars of `zerin times --ics` in tests/ics_clients_test.py).
# Idempotent: apt-get runs only when a package is missing.
set -e
PACKAGES="build-essential cmake make pkg-config python3 python3-ephem
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  fonts-noto-core fonts-hosny-amiri fonts-kacst fonts-dejavu-core
  qt6-translations-l10n
  xvfb xauth x11-utils x11-xkb-utils openbox xdotool locales
  clang clang-format libclang-rt-14-dev
  dpkg-dev lintian librsvg2-bin appstream tzdata libhowardhinnant-date-dev libicu-dev
  poppler-utils at-spi2-core python3-pyatspi dbus
  khal python3-icalendar"
if [ -n "$ZERIN_EXTRA_PACKAGES" ]; then PACKAGES="$PACKAGES $ZERIN_EXTRA_PACKAGES"; fi

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# A comma-decimal locale for the tests of the regional decimal separator.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi

# The npm package adhan (bench/adhan), against which the tests check every prayer method;
# without node and npm that test is skipped.
if command -v npm >/dev/null 2>&1 && [ ! -d "$(dirname "$0")/../bench/adhan/node_modules/adhan" ]; then
    npm ci --prefix "$(dirname "$0")/../bench/adhan" --no-audit --no-fund --silent ||
        echo "install-deps: adhan (npm) not installed; the test of the methods will be skipped"
fi
