// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the mail program, what it is given, and the tel: link for dialling.
#include "MailPrograms.h"
#include "Telephone.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace zadw {
namespace {

TEST(MailPrograms, TheFirstRunnableProgramInOrderIsChosen) {
    using S = ProgramState;
    using H = MailtoHandler;
    using M = MailMethod;
    const auto Ready = MailSystemState::Ready;
    const auto NotFound = MailSystemState::NotFound;
    const auto NotExecutable = MailSystemState::NotExecutable;
    const auto FileOnly = MailSystemState::FileOnly;
    const std::map<std::string, S> all{{"xdg-email", S::Executable},
                                       {"/usr/sbin/sendmail", S::Executable},
                                       {"/usr/lib/sendmail", S::Executable}};
    struct Case {
        const char* name;
        M method;
        std::optional<std::string> variable;
        H handler;
        bool attachments;
        std::map<std::string, S> present; // anything else is missing
        MailSystemState state;
        bool desktopClient;
        const char* program;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"nothing", M::Auto, {}, H::None, false, {}, NotFound, false, "", {}},
        {"sbin",
         M::Auto,
         {},
         H::None,
         false,
         {{"/usr/sbin/sendmail", S::Executable}},
         Ready,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"lib",
         M::Auto,
         {},
         H::None,
         false,
         {{"/usr/lib/sendmail", S::Executable}},
         Ready,
         false,
         "/usr/lib/sendmail",
         {}},
        {"mail client first",
         M::Auto,
         {},
         H::MailClient,
         true,
         all,
         Ready,
         true,
         "/usr/bin/xdg-email",
         {}},
        {"no handler",
         M::Auto,
         {},
         H::None,
         false,
         {{"xdg-email", S::Executable}},
         NotFound,
         false,
         "",
         {}},
        {"no xdg-email",
         M::Auto,
         {},
         H::MailClient,
         false,
         {{"/usr/sbin/sendmail", S::Executable}},
         Ready,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"variable first",
         M::Auto,
         "msmtp",
         H::MailClient,
         true,
         {{"msmtp", S::Executable}, {"xdg-email", S::Executable}},
         Ready,
         false,
         "/usr/bin/msmtp",
         {}},
        {"variable with arguments",
         M::Auto,
         " msmtp  -a 'my account' --from=\"k@x.se\" ",
         H::MailClient,
         true,
         {{"msmtp", S::Executable}},
         Ready,
         false,
         "/usr/bin/msmtp",
         {"-a", "my account", "--from=k@x.se"}},
        {"variable missing: nothing else",
         M::Auto,
         "msmtp",
         H::MailClient,
         true,
         all,
         NotFound,
         false,
         "",
         {}},
        {"variable not runnable",
         M::Auto,
         "/opt/ms",
         H::None,
         false,
         {{"/opt/ms", S::NotExecutable}, {"/usr/sbin/sendmail", S::Executable}},
         NotExecutable,
         false,
         "/opt/ms",
         {}},
        {"variable badly quoted",
         M::Auto,
         "msmtp 'a",
         H::None,
         true,
         all,
         NotExecutable,
         false,
         "msmtp 'a",
         {}},
        {"variable blank", M::Auto, "  ", H::None, true, all, NotFound, false, "", {}},
        {"sbin not runnable",
         M::Auto,
         {},
         H::None,
         false,
         {{"/usr/sbin/sendmail", S::NotExecutable}},
         NotExecutable,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"then lib",
         M::Auto,
         {},
         H::None,
         false,
         {{"/usr/sbin/sendmail", S::NotExecutable}, {"/usr/lib/sendmail", S::Executable}},
         Ready,
         false,
         "/usr/lib/sendmail",
         {}},
        // A browser drops the file; a missing command cannot start.
        {"browser, file: sendmail",
         M::Auto,
         {},
         H::WebBrowser,
         true,
         all,
         Ready,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"browser, reminder",
         M::Auto,
         {},
         H::WebBrowser,
         false,
         all,
         Ready,
         true,
         "/usr/bin/xdg-email",
         {}},
        {"missing command, reminder",
         M::Auto,
         {},
         H::MissingCommand,
         false,
         all,
         Ready,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"browser and no sendmail",
         M::Auto,
         {},
         H::WebBrowser,
         true,
         {{"xdg-email", S::Executable}},
         FileOnly,
         false,
         "",
         {}},
        {"no mail system, file", M::Auto, {}, H::None, true, {}, FileOnly, false, "", {}},
        {"no mail system, reminder", M::Auto, {}, H::None, false, {}, NotFound, false, "", {}},
        // The collector's choice.
        {"desktop skips sendmail",
         M::Desktop,
         "msmtp",
         H::MailClient,
         true,
         all,
         Ready,
         true,
         "/usr/bin/xdg-email",
         {}},
        {"desktop, browser", M::Desktop, {}, H::WebBrowser, true, all, FileOnly, false, "", {}},
        {"desktop, no handler", M::Desktop, {}, H::None, true, all, NotFound, false, "", {}},
        {"sendmail skips the client",
         M::Sendmail,
         {},
         H::MailClient,
         true,
         all,
         Ready,
         false,
         "/usr/sbin/sendmail",
         {}},
        {"sendmail, none there",
         M::Sendmail,
         {},
         H::MailClient,
         true,
         {{"xdg-email", S::Executable}},
         NotFound,
         false,
         "",
         {}},
        {"sendmail, variable",
         M::Sendmail,
         "msmtp -t",
         H::None,
         true,
         {{"msmtp", S::Executable}},
         Ready,
         false,
         "/usr/bin/msmtp",
         {"-t"}},
        {"file, update", M::File, "msmtp", H::MailClient, true, all, FileOnly, false, "", {}},
        {"file, reminder",
         M::File,
         {},
         H::MailClient,
         false,
         all,
         Ready,
         true,
         "/usr/bin/xdg-email",
         {}},
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
        MailSituation situation;
        situation.method = c.method;
        situation.sendmailVariable = c.variable;
        situation.handler = c.handler;
        situation.attachments = c.attachments;
        const MailProgramChoice choice = chooseMailProgram(situation, check);
        EXPECT_EQ(choice.state, c.state) << c.name;
        EXPECT_EQ(choice.desktopClient, c.desktopClient) << c.name;
        EXPECT_EQ(choice.program, c.program) << c.name;
        EXPECT_EQ(choice.arguments, c.arguments) << c.name;
    }
    EXPECT_EQ(sendmailArguments(), (std::vector<std::string>{"-t", "-oi"}));
}

TEST(MailPrograms, TheMethodKeyIsReadForgivingly) {
    const std::pair<const char*, std::optional<MailMethod>> cases[] = {
        {"auto", MailMethod::Auto},
        {" Desktop ", MailMethod::Desktop},
        {"SENDMAIL", MailMethod::Sendmail},
        {"file", MailMethod::File},
        {"", std::nullopt},
        {"mapi", std::nullopt},
        {"send mail", std::nullopt},
    };
    for (const auto& [text, method] : cases) {
        EXPECT_EQ(parseMailMethod(text), method) << text;
        if (method) {
            EXPECT_EQ(parseMailMethod(mailMethodName(*method)), method);
        }
    }
}

TEST(MailPrograms, SendmailVariableSplitsLikeAShellWithoutOne) {
    using W = std::vector<std::string>;
    const std::pair<const char*, std::optional<W>> cases[] = {
        {"/usr/bin/msmtp", W{"/usr/bin/msmtp"}},
        {"  msmtp\t-a  work ", W{"msmtp", "-a", "work"}},
        {"'/opt/my mail/sm' -C \"$HOME/x\"", W{"/opt/my mail/sm", "-C", "$HOME/x"}},
        {R"(a\ b "c\"d" 'e\f' g"h"'i')", W{"a b", "c\"d", "e\\f", "ghi"}},
        {"x `id` $(id) ; rm *", W{"x", "`id`", "$(id)", ";", "rm", "*"}},
        {"''", W{""}},
        {"", W{}},
        {"msmtp 'open", std::nullopt},
        {"msmtp \"open", std::nullopt},
        {"trailing\\", std::nullopt},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(splitWords(text), words) << text;
    }
}

TEST(MailPrograms, MailtoHandlersAreClassifiedByTheirDesktopEntry) {
    const auto exists = [](const std::string& program) {
        return program == "thunderbird" || program == "/usr/bin/firefox" || program == "claws-mail";
    };
    const std::pair<std::string, MailtoHandler> cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=thunderbird %u\n"
         "MimeType=message/rfc822;x-scheme-handler/mailto;\nCategories=Network;Email;\n",
         MailtoHandler::MailClient},
        {"[Desktop Entry]\r\nExec=\"claws-mail\" --compose %u\r\n", MailtoHandler::MailClient},
        {"[Desktop Entry]\nExec=/usr/bin/firefox %u\nCategories=Network;WebBrowser;\n",
         MailtoHandler::WebBrowser},
        {"[Desktop Entry]\nExec=/usr/bin/firefox %u\n"
         "MimeType=text/html;x-scheme-handler/https;x-scheme-handler/mailto;\n",
         MailtoHandler::WebBrowser},
        {"[Desktop Entry]\nExec=evolution %u\nCategories=Email;\n", MailtoHandler::MissingCommand},
        {"[Desktop Entry]\nTryExec=evolution\nExec=thunderbird %u\n",
         MailtoHandler::MissingCommand},
        {"[Desktop Entry]\nName=No command\n", MailtoHandler::MissingCommand},
        {"", MailtoHandler::MissingCommand},
        // Only the main group counts.
        {"[Desktop Entry]\nExec=thunderbird %u\n[Desktop Action web]\nExec=/usr/bin/firefox\n"
         "Categories=WebBrowser;\n",
         MailtoHandler::MailClient},
        {"[Desktop Entry]\nExec=thunderbird\nCategories=NotAWebBrowser;\nMimeType=x-scheme-handler/"
         "httpx;\n",
         MailtoHandler::MailClient},
    };
    for (const auto& [entry, kind] : cases) {
        EXPECT_EQ(classifyMailtoHandler(entry, exists), kind) << entry;
    }
}

TEST(MailPrograms, ASendmailThatDeliversOnlyHereIsNoWayOut) {
    // Debian's exim4 is installed with "local" delivery; the update would never leave.
    const std::string exim = "/etc/exim4/update-exim4.conf.conf";
    const std::string postfix = "/etc/postfix/main.cf";
    struct Case {
        const char* program; // the sendmail's real path
        std::map<std::string, std::string> files;
        bool onlyHere;
    };
    const Case cases[] = {
        {"/usr/sbin/exim4",
         {{exim, "dc_eximconfig_configtype='local'\ndc_other_hostnames=''\n"}},
         true},
        {"/usr/sbin/exim4",
         {{exim, "# dc_eximconfig_configtype='internet'\ndc_eximconfig_configtype=\"none\"\n"}},
         true},
        {"/usr/sbin/exim4", {{exim, "dc_eximconfig_configtype='smarthost'\n"}}, false},
        {"/usr/sbin/exim4", {{exim, "dc_eximconfig_configtype='internet'\n"}}, false},
        {"/usr/sbin/exim4", {}, false}, // nothing to say it is local only
        {"/usr/sbin/sendmail",
         {{postfix, "inet_interfaces = loopback-only\ndefault_transport = error\n"}},
         true},
        {"/usr/sbin/sendmail",
         {{postfix, "default_transport = error: outside mail is off\n"}},
         true},
        {"/usr/sbin/sendmail", {{postfix, "relayhost = [smtp.exempel.se]:587\n"}}, false},
        // msmtp sends through the collector's own account whatever exim left behind.
        {"/usr/bin/msmtp", {{exim, "dc_eximconfig_configtype='local'\n"}}, false},
    };
    for (const Case& c : cases) {
        const auto read = [&](const std::string& path) -> std::optional<std::string> {
            const auto it = c.files.find(path);
            return it == c.files.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
        EXPECT_EQ(deliversOnlyHere(c.program, read), c.onlyHere) << c.program;
    }

    // Such a sendmail counts as missing; the next one, or the file on disk, takes its place.
    const auto all = [](const std::string&, std::string*) { return ProgramState::Executable; };
    MailSituation situation;
    situation.attachments = true;
    situation.deliversOnlyHere = [](const std::string& p) { return p == "/usr/sbin/sendmail"; };
    EXPECT_EQ(chooseMailProgram(situation, all).program, "/usr/lib/sendmail");
    situation.deliversOnlyHere = [](const std::string&) { return true; };
    EXPECT_EQ(chooseMailProgram(situation, all).state, MailSystemState::FileOnly);
    situation.method = MailMethod::Sendmail;
    EXPECT_EQ(chooseMailProgram(situation, all).state, MailSystemState::NotFound);
    // A program the collector names is taken as named.
    situation.sendmailVariable = "/usr/sbin/sendmail";
    EXPECT_EQ(chooseMailProgram(situation, all).state, MailSystemState::Ready);

    EXPECT_EQ(desktopEntryName("[Desktop Entry]\nName=Thunderbird\nExec=thunderbird\n"),
              "Thunderbird");
    EXPECT_EQ(desktopEntryName("[Desktop Action x]\nName=Other\n"), "");
}

TEST(MailPrograms, BlindCopiesAreNamedOnlyOnCommandLines) {
    MailMessage m;
    m.recipients = {{"a@x.se"}};
    m.bcc = {{"b@y.se"}, {"c@z.se"}};
    EXPECT_EQ(sendmailArguments(m),
              (std::vector<std::string>{"-oi", "--", "a@x.se", "b@y.se", "c@z.se"}));
    EXPECT_EQ(xdgEmailArguments(m),
              (std::vector<std::string>{"--utf8", "--bcc", "b@y.se", "--bcc", "c@z.se", "a@x.se"}));
}

TEST(MailPrograms, XdgEmailGetsEverythingAsSeparateArguments) {
    MailMessage m;
    m.recipients = {{"a@x.se"}, {"b@y.se"}};
    m.subject = "Sammanställningsfil - mars - Grupp 4";
    m.noteText = "mars .z18-fil för Grupp 4 ";
    m.attachments = {{"/hem/k/grupp 4.z18", std::nullopt}};
    EXPECT_EQ(xdgEmailArguments(m),
              (std::vector<std::string>{"--utf8", "--subject", m.subject, "--body", m.noteText,
                                        "--attach", "/hem/k/grupp 4.z18", "a@x.se", "b@y.se"}));
    MailMessage bare;
    bare.recipients = {{"a@x.se"}};
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
