// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// form1.h: the game's only window -- the board, the two counter rows and "Effacer".
#pragma once

#include "game_state.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// One hole of the cross, painted in the colour of its cell inside a sunken border.
// It takes no mouse events of its own: the window decides what a click hits. Tab and the arrow
// keys bring the focus to it, and screen readers hear where it is and what it holds.
class Hole : public QWidget {
public:
    Hole(const BoardCell& cell, QWidget* parent);
    // Repaints the hole when its colour changes; true if it did.
    bool showColour(Colour colour);
    // What a screen reader says for it: "Trou, ligne 4, colonne 4 : vide".
    QString spokenName() const;
    std::int16_t cell() const { return index; }
    // Whether it holds the peg picked up, and whether that changed with its last new colour.
    bool held() const;
    bool heldChanged() const { return held() != wasHeld; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int16_t index;
    Colour colour;
    bool wasHeld = false;
};

class Form1 : public QWidget {
public:
    explicit Form1(QWidget* parent = nullptr);

    // Sets the palette and reads the record; the window is then ready to be shown.
    void startUp();
    // From the window's first frame on: takes the high-contrast look whenever the desktop asks
    // for more contrast, and the usual look again when it no longer does.
    void followDesktopContrast() { followContrast = true; }
    bool inHighContrast() const { return highContrast; }

    // The one game of this run; the window shows it and feeds it clicks.
    GameState game;

    // A click on shown hole `index`, from the mouse or an assistive technology's press action:
    // the move, the tally, and the screen and screen readers brought up to date.
    void clickHole(std::int16_t index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The shown hole under a point of the window, or 0 (cell 0 is never shown) for none.
    std::int16_t holeAt(QPoint point) const;
    // One click of the game's rules on a hole, with the tally where the rules call for it.
    void playClick(std::int16_t index);
    void dragPeg(std::int16_t from, std::int16_t to);
    void pressReset();
    void setHighContrast(bool on);
    // Brings the screen in line with the game, repainting only the holes and counters that
    // changed, and tells screen readers which did; passes on the news of the record file.
    void showState();

    std::array<Hole*, cellCount> holes{}; // null for the hidden cells
    QLabel* pegCountLabel;
    QLabel* recordLabel;
    QPushButton* resetButton;
    std::int16_t pressedHole = 0;
    bool highContrast = false;
    bool followContrast = false; // wanted, and the desktop not asked yet
};

// The game's 0x00BBGGRR colour as Qt's colour.
QColor toQColor(Colour colour);
