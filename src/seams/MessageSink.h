// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the core tells the user something. The program answers with a message box titled with the
// program's name; tests answer from a queue and keep what was shown.

#include <functional>
#include <string>
#include <vector>

namespace zadw {

// YesNoCancel: Escape and closing the box answer Cancel.
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { Exclamation, Information, Question };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// A button beside OK that does something (copies, opens a folder) and keeps the box open, or,
// with closes, does it and closes the box as OK would.
struct MsgAction {
    std::string label; // may carry a "&" mnemonic
    std::function<void()> run;
    bool closes = false;
};

struct Message {
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::Exclamation;
    // The button Enter presses. For a question it must be the answer that loses nothing.
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
    std::vector<MsgAction> actions;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;

    MsgAnswer show(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                   MsgIcon icon = MsgIcon::Exclamation) {
        return present(Message{text,
                               buttons,
                               icon,
                               buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok,
                               {}});
    }
    // A question whose Enter answer is given explicitly.
    MsgAnswer ask(const std::string& text, MsgAnswer defaultAnswer,
                  MsgIcon icon = MsgIcon::Question) {
        return present(Message{text, MsgButtons::YesNo, icon, defaultAnswer, {}});
    }

    virtual MsgAnswer present(const Message& message) = 0;
};

} // namespace zadw
