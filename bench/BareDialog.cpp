// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-bench-bare: the floor for zadw's start-up and memory, an empty dialog and nothing else.
// With --text the dialog shows one line of text, so it also pays for the font database, as
// every window with text does.
// ZADW_BENCH_EXIT_WHEN_SHOWN works as in zadw.
#include "ExitWhenShown.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(400, 300);
    if (argc > 1 && QByteArray(argv[1]) == "--text") {
        auto* label = new QLabel(QStringLiteral("Rapporter över tjänst på fältet"), &dialog);
        label->move(20, 20);
    }
    const auto benchExit = zadw::exitWhenShownIfAsked(dialog);
    dialog.exec();
    return 0;
}
