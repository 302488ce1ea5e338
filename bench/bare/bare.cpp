// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// bare.cpp: the least a Qt 6 Widgets program can do here -- the floor for the benchmark.
// A plain window of the game's size with one square that turns magenta when clicked
// (and back to blue on the next click, so clicks can be repeated).
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

class Bare : public QWidget {
    bool magenta = false;
    const QRect square{136, 80, 41, 41};

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(square, magenta ? QColor(255, 0, 255) : QColor(0, 0, 255));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (square.contains(event->position().toPoint())) {
            magenta = !magenta;
            update(square);
        }
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Bare window;
    window.setWindowTitle("Bare");
    window.setFixedSize(385, 444);
    window.show();
    return app.exec();
}
