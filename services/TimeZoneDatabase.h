// Howard Hinnant's date/tz: the system's time-zone database (date::locate_zone) and the POSIX TZ
// rules that end its compiled files (Posix::time_zone).
#pragma once

#include <date/tz.h>

// ptz.h names hh_mm_ss without a namespace where both date's and the standard library's are
// visible (C++20): this alias, found first, settles which one.
namespace Posix {
template <class Duration>
using hh_mm_ss = date::hh_mm_ss<Duration>;
}  // namespace Posix

#include <date/ptz.h>
