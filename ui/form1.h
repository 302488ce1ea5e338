// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// form1.h: the game's only window -- the board, the two counter rows and "Effacer".
#pragma once

#include "game_state.h"

#include <QWidget>

#include <array>

class Hole;
class QLabel;
class QPushButton;
struct Look;

class Form1 : public QWidget {
public:
    explicit Form1(QWidget* parent = nullptr);

    // Sets the palette and reads the record; the window is then ready to be shown.
    void startUp();
    // From the window's first frame on: takes the high-contrast look whenever the desktop asks
    // for more contrast, and the usual look again when it no longer does.
    void followDesktopContrast();

    // The one game of this run; the window shows it and feeds it clicks.
    GameState game;

    // A click on shown hole `index`, from the mouse or an assistive technology's press action:
    // the move, the tally, and the screen and screen readers brought up to date.
    void clickHole(std::int16_t index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The shown hole under a point of the window, or 0 (cell 0 is never shown) for none.
    std::int16_t holeAt(QPoint point) const;
    // One click of the game's rules on a hole, with the tally where the rules call for it.
    void playClick(std::int16_t index);
    void dragPeg(std::int16_t from, std::int16_t to);
    void pressReset();
    // Paints every control in the colours of `look`; only the painting changes.
    void showLook(const Look& look);
    // Brings the screen in line with the game, repainting only the holes and counters that
    // changed, and tells screen readers which did; passes on the news of the record file.
    void showState();

    std::array<Hole*, cellCount> holes{}; // null for the hidden cells
    QLabel* pegCountLabel;
    QLabel* recordLabel;
    QPushButton* resetButton;
    const Look* look = nullptr; // the one the window is painted in
    std::int16_t pressedHole = 0;
};
