#pragma once
// The desktop services a window needs, handed down from the application (or a test).

namespace zadw {

class MessageSink;
class FileChooser;
class SettingsProfile;

struct Services {
    MessageSink* messages = nullptr;
    FileChooser* files = nullptr;
    SettingsProfile* profile = nullptr;
};

} // namespace zadw
