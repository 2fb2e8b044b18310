// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen page of the preview: at most 18 publishers laid out in proportion to the pane.

#include "DrawOps.h"
#include "GroupStore.h"

#include <vector>

namespace zadw {

constexpr int kScreenRows = 18;

// The pane's client size and the desktop's border width and height.
struct ScreenMeasures {
    int width = 0;
    int height = 0;
    int cx = 1;
    int cy = 1;
    // The pane's font as it comes out; without it, texts are not shortened to their cells.
    const TextMeasure* measure = nullptr;
};

constexpr std::uint32_t kHeadingBandColor = 0xC0C0C0;

// Publishers firstShown + 1 .. endShown (at most 18) of month m (0..11). The store is only read.
// The height of the heading band and of each row on a pane of that height.
int ScreenRowHeight(int paneHeight);

std::vector<DrawOp> DrawScreenPage(GroupStore& store, int m, const ScreenMeasures& pane,
                                   int firstShown, int endShown);

} // namespace zadw
