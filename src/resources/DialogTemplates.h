// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog templates in dialog units: each control by id, kind, text and position, listed in tab
// order. The platform's template builder turns them into widgets.

#include <cstddef>
#include <vector>

namespace zadw {

enum class ControlKind {
    PushButton,
    DefPushButton,
    CheckBox,
    GroupBox,
    EtchedFrame,
    Static,       // left-aligned text
    StaticCenter, // centred text
    Edit,
    ListBox,
    Icon,
};

// Style bits beyond the kind.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kHidden = 1u << 0,
    kNoPrefix = 1u << 1, // "&" is shown as it stands
    kVScroll = 1u << 2,
    kNoTabStop = 1u << 3,
    kSunken = 1u << 4, // a framed static
    kVariableFont = 1u << 5,
};

constexpr int kNoId = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text; // UTF-8
    int x, y, w, h;
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int w, h;
    const ControlTemplate* controls;
    std::size_t count;
};

// Every template the program has.
std::vector<const DialogTemplate*> dialogTemplates();
// The template with that id; a program error (abort) when there is none.
const DialogTemplate& dialogTemplate(int id);

} // namespace zadw
