// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// main.cpp: Trebalune, the peg-jumping puzzle on the 33-hole cross.
#include "form1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// What Qt says while the application starts, held back until it is known to have a display.
std::vector<std::pair<QtMsgType, QString>> heldBack;

// Without a usable display Qt gives up with a fatal message (in English, about reinstalling)
// and aborts with a core dump. The player gets one French line and a plain exit instead.
void startUpMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("Trebalune : ce jeu s'affiche dans une session graphique, et aucune n'est "
                   "accessible ici.\n",
                   stderr);
        std::_Exit(1);
    }
    heldBack.emplace_back(type, message);
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(startUpMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const auto& [type, message] : heldBack) {
        qt_message_output(type, QMessageLogContext(), message);
    }
    QApplication::setApplicationName("Trebalune");
    QGuiApplication::setDesktopFileName("org.trebalune.Trebalune");

    Form1 form;
    form.startUp();
    // Where the window first opens is the window manager's call: it knows the screens and
    // panels of this desktop, and remembers where the player likes new windows.
    form.show();
    form.followDesktopContrast();
    return app.exec();
}
