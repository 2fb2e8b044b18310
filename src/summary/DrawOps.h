// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the summary layout hands to a painter: self-contained drawing operations in device units.
// Each text carries its own font and alignment, so a painter needs no state between operations.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zadw {

enum class FontKind {
    Logical,       // face, height and weight as given
    StockVariable, // the desktop's proportional user-interface font; the other fields are unused
};

struct Font {
    FontKind kind = FontKind::Logical;
    std::string face;
    // Negative: the character height (em size, without internal leading) in device units.
    int height = 0;
    int weight = 400; // 400 normal, 700 bold
    bool operator==(const Font&) const = default;
};

// How the device's fonts really come out. The layout asks for its fonts by name, but the device
// may give another one; measuring what it gave keeps every text inside its cell.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // The advance width of text in font.
    virtual int width(const std::string& text, const Font& font) const = 0;
    // How far below the top of its cell the font's lowest letters (g, j, y) reach. Its highest
    // ones (Å) stay at or below that top.
    virtual int depth(const Font& font) const = 0;
};

enum class Align { Left, Right };

// Right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

enum class OpKind {
    Text,           // text at (x, y), no background behind it
    Line,           // solid line in the ink from (x, y) to (x2, y2), penWidth wide
    FillRect,       // rect filled with color, no outline
    FillBackground, // rect filled with the surface's own background colour
};

struct DrawOp {
    OpKind kind = OpKind::Text;
    // Text: the top-left corner of the text cell, or its top-right corner with Align::Right.
    int x = 0;
    int y = 0;
    int x2 = 0;
    int y2 = 0;
    Rect rect;
    std::string text; // UTF-8
    Font font;
    Align align = Align::Left;
    std::optional<Rect> clip; // text only: nothing is drawn outside it
    int penWidth = 1;
    std::uint32_t color = 0; // 0xRRGGBB as on paper, FillRect only

    static DrawOp makeText(int x, int y, std::string text, const Font& font,
                           Align align = Align::Left) {
        DrawOp op;
        op.x = x;
        op.y = y;
        op.text = std::move(text);
        op.font = font;
        op.align = align;
        return op;
    }
    static DrawOp makeLine(int x1, int y1, int x2, int y2, int penWidth) {
        DrawOp op;
        op.kind = OpKind::Line;
        op.x = x1;
        op.y = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.penWidth = penWidth;
        return op;
    }
    static DrawOp makeFill(const Rect& r, std::uint32_t color) {
        DrawOp op;
        op.kind = OpKind::FillRect;
        op.rect = r;
        op.color = color;
        return op;
    }
    static DrawOp makeBackground(const Rect& r) {
        DrawOp op;
        op.kind = OpKind::FillBackground;
        op.rect = r;
        return op;
    }
};

// One printed sheet, painted in order.
using Page = std::vector<DrawOp>;

} // namespace zadw
