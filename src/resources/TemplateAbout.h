// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box's controls.

#include "DialogTemplates.h"

namespace zadw {

enum class AboutCtl : int {
    Ok = 1,
};
template <> inline constexpr bool kIsControlIdEnum<AboutCtl> = true;

} // namespace zadw
