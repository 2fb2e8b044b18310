// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GroupRecord.h"

namespace zadw {

// The group file's own text transformation of one publisher record, in place.
// direction +1 scrambles (before writing), -1 unscrambles (after reading).
void scrambleFields(GroupRecord& rec, int direction);

} // namespace zadw
