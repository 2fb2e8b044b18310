// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <string>

namespace zadw {

// The application object: one run of the main report window is one run of the program.
class CCollectorApp : public QApplication {
    Q_OBJECT

public:
    CCollectorApp(int& argc, char** argv);
    // Builds the profile path, runs the main window modally and returns when it has ended.
    bool InitInstance();

    const QString& profilePath() const { return profilePath_; }

private:
    QString profilePath_;
    std::string rawArguments_;
};

} // namespace zadw
