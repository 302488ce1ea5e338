// main.cpp: Trebalune, the peg-jumping puzzle on the 33-hole cross.
#include "form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trebalune");
    QGuiApplication::setDesktopFileName("trebalune");

    Form1 form;
    form.startUp();
    form.show();
    return app.exec();
}
