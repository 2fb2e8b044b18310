#pragma once
// How the core tells the user something. The program answers with a message box titled with the
// program's name; tests answer from a queue and keep what was shown.

#include <string>

namespace zadw {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { Exclamation, Information, Question };
enum class MsgAnswer { Ok, Yes, No };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MsgAnswer show(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                           MsgIcon icon = MsgIcon::Exclamation) = 0;
};

} // namespace zadw
