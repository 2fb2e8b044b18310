// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogTemplates.h"

#include <iterator>

namespace zadw {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {2, K::PushButton, "&Close", 320, 184, 66, 14, kStyleNone},
    {3, K::PushButton, "&Skriv ut", 219, 184, 66, 14, kStyleNone},
    {129, K::PushButton, "&Utskriftsinställning...", 107, 184, 77, 14, kStyleNone},
    // The preview pane: the preview dialog puts its own painting widget in this place.
    {130, K::Static, "", 6, 4, 383, 173, kNoTabStop},
    {kNoId, K::EtchedFrame, "", 5, 3, 386, 178, kStyleNone},
    {1004, K::PushButton, "< < <", 5, 184, 26, 14, kStyleNone},
    {1005, K::PushButton, "> > >", 40, 184, 26, 14, kStyleNone},
};

} // namespace

extern const DialogTemplate kSummaryPreviewTemplate;
const DialogTemplate kSummaryPreviewTemplate{115, "", 394, 202, kControls, std::size(kControls)};

} // namespace zadw
