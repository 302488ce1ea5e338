// main.cpp: Trebalune, the peg-jumping puzzle on the 33-hole cross.
#include "form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trebalune");
    QGuiApplication::setDesktopFileName("org.trebalune.Trebalune");

    Form1 form;
    form.startUp();
    // Where the window first opens is the window manager's call: it knows the screens and
    // panels of this desktop, and remembers where the player likes new windows.
    form.show();
    return app.exec();
}
