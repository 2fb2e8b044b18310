// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateAbout.h"
#include "Version.h"

#include <iterator>

namespace zadw {
namespace {

using C = AboutCtl;
using K = ControlKind;

// The second line wraps onto two lines: Linux desktop fonts are wider than the design's.
constexpr ControlTemplate kControls[] = {
    {kNoId, K::Icon, "", 11, 11, 20, 20, kStyleNone},
    {kNoId, K::Static, "Zad Version " ZADW_VERSION_MAJOR, 40, 8, 72, 8, kNoPrefix},
    {kNoId, K::Static, "Insamling av tjänsterapporter", 40, 20, 76, 18, kStyleNone},
    {C::Ok, K::DefPushButton, "OK", 120, 15, 50, 14, kStyleNone},
    {kNoId, K::Static, "Fri programvara för gruppens insamlare.", 10, 41, 167, 8, kStyleNone},
};

} // namespace

extern const DialogTemplate kAboutTemplate;
const DialogTemplate kAboutTemplate{TemplateId::About, "About Zadw",        184, 54,
                                    kControls,         std::size(kControls)};

} // namespace zadw
