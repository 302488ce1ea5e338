// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// hole.h: one hole of the cross on screen.
#pragma once

#include "game_state.h"

#include <QWidget>

struct Look;

// One hole of the cross, painted in the look it is handed: the state its cell's colour holds,
// inside a sunken well. It takes no mouse events of its own: the window decides what a click
// hits. Tab and the arrow keys bring the focus to it, and screen readers hear where it is and
// what it holds.
class Hole : public QWidget {
public:
    Hole(const BoardCell& cell, const Look& look, QWidget* parent);
    // Repaints the hole when its cell's colour changes; true if it did.
    bool showColour(Colour colour);
    void showLook(const Look& look);
    // What a screen reader says for it: "Trou, ligne 4, colonne 4 : vide".
    QString spokenName() const;
    std::int16_t cell() const { return index; }
    // Whether it holds the peg picked up.
    bool held() const { return colour == selectedMagenta; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int16_t index;
    Colour colour;
    const Look* look;
};
