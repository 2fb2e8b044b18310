// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zadw {

// Makes the icon and other built-in files reachable under ":/zadw/"; safe to call repeatedly.
void initResources();

} // namespace zadw
