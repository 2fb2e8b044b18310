// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog templates in dialog units: each control by id, kind, text and position, listed in tab
// order. The platform's template builder turns them into widgets.

#include <cstddef>
#include <type_traits>
#include <vector>

namespace zadw {

// The program's dialog templates.
enum class TemplateId : int {
    About = 100,
    Reports = 102,
    ReportEntry = 107,
    SummaryPreview = 115,
};

// Each dialog has one enum of its control ids, declared beside its template and marked here;
// the tables, the dialogs and control() take only those, never a bare number.
template <class E> inline constexpr bool kIsControlIdEnum = false;
template <class E>
concept ControlIdEnum = std::is_enum_v<E> && kIsControlIdEnum<E>;

// A control id's number, as the template tables and the objectName hold it.
template <ControlIdEnum E> constexpr int idOf(E id) {
    return static_cast<int>(id);
}

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

// A control's id in a template table: a value of its dialog's enum, or kNoId for the frames and
// texts the code never reaches.
struct NoControlId {};
inline constexpr NoControlId kNoId{};

class ControlId {
public:
    constexpr ControlId(NoControlId) {}
    template <ControlIdEnum E> constexpr ControlId(E id) : value_(idOf(id)) {}
    constexpr bool named() const { return value_ >= 0; }
    constexpr int value() const { return value_; }

private:
    int value_ = -1;
};

struct ControlTemplate {
    ControlId id;
    ControlKind kind;
    const char* text; // UTF-8
    int x, y, w, h;
    unsigned style;
};

struct DialogTemplate {
    TemplateId id;
    const char* caption;
    int w, h;
    const ControlTemplate* controls;
    std::size_t count;
};

// Every template the program has.
std::vector<const DialogTemplate*> dialogTemplates();
// The template with that id; a program error (abort) when there is none.
const DialogTemplate& dialogTemplate(TemplateId id);

} // namespace zadw
