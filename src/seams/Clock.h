// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wall clock, where the core needs the time of a write: the backup copies' names, the age of
// a temporary file a killed save left behind. The core never reads the system clock itself: the
// program's start hands in the real one, tests the time they need.

#include <ctime>
#include <functional>

namespace zadw {

using Clock = std::function<std::time_t()>;

} // namespace zadw
