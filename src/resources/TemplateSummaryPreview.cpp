// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateSummaryPreview.h"

#include <iterator>

namespace zadw {
namespace {

using C = SummaryPreviewCtl;
using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {C::Close, K::PushButton, "&Close", 320, 184, 66, 14, kStyleNone},
    {C::Print, K::PushButton, "&Skriv ut", 219, 184, 66, 14, kStyleNone},
    {C::PrintSetup, K::PushButton, "&Utskriftsinställning...", 107, 184, 77, 14, kStyleNone},
    // The preview pane: the preview dialog puts its own painting widget in this place.
    {C::Pane, K::Static, "", 6, 4, 383, 173, kNoTabStop},
    {kNoId, K::EtchedFrame, "", 5, 3, 386, 178, kStyleNone},
    // Wider than the design's 26, so that the arrows fit at every desktop font size.
    {C::PrevPage, K::PushButton, "< < <", 5, 184, 30, 14, kStyleNone},
    {C::NextPage, K::PushButton, "> > >", 39, 184, 30, 14, kStyleNone},
};

} // namespace

extern const DialogTemplate kSummaryPreviewTemplate;
const DialogTemplate kSummaryPreviewTemplate{TemplateId::SummaryPreview, "", 394, 202, kControls,
                                             std::size(kControls)};

} // namespace zadw
