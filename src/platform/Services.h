#pragma once
// The desktop services a window needs, handed down from the application (or a test).

namespace zadw {

class MessageSink;
class FileChooser;
class SettingsProfile;
class MailTransport; // exchange/MailMessage.h
class FileHandOver;  // exchange/SendUpdates.h
class Telephony;     // platform/Telephony.h
class PrinterChoice; // platform/PrinterChoice.h

struct Services {
    MessageSink* messages = nullptr;
    FileChooser* files = nullptr;
    SettingsProfile* profile = nullptr;
    MailTransport* mail = nullptr;
    FileHandOver* handOver = nullptr;
    Telephony* telephone = nullptr;
    PrinterChoice* printer = nullptr;
};

} // namespace zadw
