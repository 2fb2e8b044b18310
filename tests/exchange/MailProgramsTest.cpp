// Choosing the mail program, what it is given, and the tel: link for dialling.
#include "MailPrograms.h"
#include "Telephone.h"

#include <gtest/gtest.h>

#include <map>

namespace zadw {
namespace {

TEST(MailPrograms, TheFirstRunnableProgramInOrderIsChosen) {
    using S = ProgramState;
    struct Case {
        const char* variable;
        bool desktop;
        std::map<std::string, S> present; // anything else is missing
        MailSystemState state;
        bool desktopClient;
        const char* program;
    };
    const Case cases[] = {
        {"", false, {}, MailSystemState::NotFound, false, ""},
        {"",
         false,
         {{"/usr/sbin/sendmail", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/sbin/sendmail"},
        {"",
         false,
         {{"/usr/lib/sendmail", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/lib/sendmail"},
        {"",
         true,
         {{"xdg-email", S::Executable}, {"/usr/sbin/sendmail", S::Executable}},
         MailSystemState::Ready,
         true,
         "/usr/bin/xdg-email"},
        {"", false, {{"xdg-email", S::Executable}}, MailSystemState::NotFound, false, ""},
        {"",
         true,
         {{"/usr/sbin/sendmail", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/sbin/sendmail"},
        {"msmtp",
         true,
         {{"msmtp", S::Executable}, {"xdg-email", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/bin/msmtp"},
        {"msmtp",
         false,
         {{"/usr/sbin/sendmail", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/sbin/sendmail"},
        {"",
         false,
         {{"/usr/sbin/sendmail", S::NotExecutable}},
         MailSystemState::NotExecutable,
         false,
         "/usr/sbin/sendmail"},
        {"",
         false,
         {{"/usr/sbin/sendmail", S::NotExecutable}, {"/usr/lib/sendmail", S::Executable}},
         MailSystemState::Ready,
         false,
         "/usr/lib/sendmail"},
    };
    for (const Case& c : cases) {
        const auto check = [&](const std::string& program, std::string* resolved) {
            const auto it = c.present.find(program);
            if (it == c.present.end()) {
                return ProgramState::Missing;
            }
            if (program[0] != '/') {
                *resolved = "/usr/bin/" + program;
            }
            return it->second;
        };
        const MailProgramChoice choice = chooseMailProgram(c.variable, c.desktop, check);
        EXPECT_EQ(choice.state, c.state) << c.variable << " " << c.program;
        EXPECT_EQ(choice.desktopClient, c.desktopClient) << c.program;
        EXPECT_EQ(choice.program, c.program);
    }
    EXPECT_EQ(sendmailArguments(), (std::vector<std::string>{"-t", "-oi"}));
}

TEST(MailPrograms, XdgEmailGetsEverythingAsSeparateArguments) {
    MailMessage m;
    m.recipients = {{"a@x.se", "SMTP:a@x.se"}, {"b@y.se", "SMTP:b@y.se"}};
    m.subject = "Sammanställningsfil - mars - Grupp 4";
    m.noteText = "mars .z18-fil för Grupp 4 ";
    m.attachments = {{"/hem/k/grupp 4.z18", std::nullopt, 25}};
    EXPECT_EQ(xdgEmailArguments(m),
              (std::vector<std::string>{"--utf8", "--subject", m.subject, "--body", m.noteText,
                                        "--attach", "/hem/k/grupp 4.z18", "a@x.se", "b@y.se"}));
    MailMessage bare;
    bare.recipients = {{"a@x.se", "SMTP:a@x.se"}};
    EXPECT_EQ(xdgEmailArguments(bare), (std::vector<std::string>{"--utf8", "a@x.se"}));
}

TEST(MailPrograms, TheFirstErrorLineIsFitToShow) {
    struct Case {
        std::string output;
        std::string line;
    };
    const Case cases[] = {
        {"", ""},
        {"sendmail: fatal: no route\nsecond\n", "sendmail: fatal: no route"},
        {"\n  \r\n  msmtp: cannot connect\r\n", "msmtp: cannot connect"},
        {"bad\x1b[31mred\tx", "bad [31mred x"},
        {std::string(400, 'e'), std::string(300, 'e') + "..."},
        {std::string(299, 'e') + "ö", std::string(299, 'e') + "..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstErrorLine(c.output), c.line);
    }
}

TEST(Telephone, NumbersBecomeTelLinksAsStored) {
    struct Case {
        const char* number;
        const char* url;
    };
    const Case cases[] = {
        {"0701234567", "tel:0701234567"},
        {"+46 70-123 45 67", "tel:+46%2070-123%2045%2067"},
        {"08.123.45", "tel:08.123.45"},
        {"(08) 123", "tel:(08)%20123"},
        {"123;phone-context=x", "tel:123%3Bphone-context%3Dx"},
        {"12#3?a/b%", "tel:12%233%3Fa%2Fb%25"},
        {"08–123", "tel:08%E2%80%93123"},
        {" 08 ", "tel:%2008%20"},
        {"", "tel:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(telUrl(c.number), c.url);
    }
}

} // namespace
} // namespace zadw
