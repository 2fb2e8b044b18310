// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview pane for screen readers: a table with the page's headings as column headers and
// one cell per text of a row, read in full where the pane shortens it.

#include "ScreenPage.h"

namespace zadw {

class CPreviewPane;

// Makes every preview pane a table for screen readers; once per run is enough.
void InstallPreviewPaneAccessible();

// The pane's accessible child of a cell: the column headers come first, then row by row.
int PreviewPaneChildIndex(const ScreenTable& table, int row, int column);

// The page changed: the cells handed out for the old one are let go.
void DropPreviewPaneCells(CPreviewPane* pane);

} // namespace zadw
