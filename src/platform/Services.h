// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop services a window needs, handed down from the application (or a test).

#include "Clock.h"

#include <string>

namespace zadw {

class MessageSink;
class FileChooser;
class SettingsProfile;
class MailTransport; // seams/MailMessage.h
class FileHandOver;  // seams/FileHandOver.h
class Telephony;     // platform/Telephony.h
class PrinterChoice; // platform/PrinterChoice.h
class FileLocker;    // seams/FileLocker.h

struct Services {
    MessageSink* messages = nullptr;
    FileChooser* files = nullptr;
    SettingsProfile* profile = nullptr;
    MailTransport* mail = nullptr;
    FileHandOver* handOver = nullptr;
    Telephony* telephone = nullptr;
    PrinterChoice* printer = nullptr;
    FileLocker* locks = nullptr; // none: group files are opened without a lock
    Clock clock;                 // the time a write stamps its backup copies with
    std::string backupFolder;    // "" = the desktop's data folder
    std::string stateFolder;     // what was sent, per group file; "" = the desktop's state folder
};

} // namespace zadw
