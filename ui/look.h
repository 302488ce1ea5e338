// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// look.h: every colour the window shows, in its usual look and in its high-contrast look.
#pragma once

#include "game_state.h"

#include <QColor>

#include <array>
#include <optional>

// The game's 0x00BBGGRR colour as Qt's colour.
inline QColor toQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline constexpr Colour black = 0x00000000;
inline constexpr Colour white = 0x00FFFFFF;
inline constexpr Colour labelYellow = 0x0000FFFF;
inline constexpr Colour lineOrange = 0x000080FF;

// The classic two-pixel sunken well of every hole, alike in both looks: grey then black above
// and left, white then light grey below and right.
inline constexpr std::array<Colour, 2> wellShadow{0x00808080, black};
inline constexpr std::array<Colour, 2> wellLight{white, 0x00C0C0C0};

struct Look {
    Colour ground; // the window's background, around the holes and under the texts
    Colour emptyHole;
    Colour peg;
    Colour heldPeg;                 // the peg picked up
    std::optional<Colour> heldMark; // a square band inside the peg picked up
    // The focus ring: two one-pixel bands inside the hole's well, the outer then the inner.
    std::array<Colour, 2> ringOnPeg;
    std::array<Colour, 2> ringInEmptyHole;
    Colour text;
    Colour lines;
    Colour buttonFace;
    std::optional<Colour> buttonCaption; // none: the desktop's own button text colour
};

// As the game is described: each hole in its cell's colour, the empty holes' orange as the
// ground, yellow texts, orange lines and button face. The ring is white then black, so that it
// shows on every colour a hole can hold.
inline constexpr Look usualLook{
    .ground = emptyOrange,
    .emptyHole = emptyOrange,
    .peg = pegBlue,
    .heldPeg = selectedMagenta,
    .heldMark = std::nullopt,
    .ringOnPeg = {white, black},
    .ringInEmptyHole = {white, black},
    .text = labelYellow,
    .lines = lineOrange,
    .buttonFace = lineOrange,
    .buttonCaption = std::nullopt,
};

// For players with low vision or who tell colours apart poorly. By WCAG 2.2's relative
// luminance: black 0, the light peg blue 0.24, the orange of the lines 0.37, yellow 0.93, white 1.
// The texts, yellow on black and black on the yellow face, are 19.6:1 (7:1 asked). Empty hole
// (black), peg and peg picked up (white) are 5.75:1, 3.65:1 and 21:1 apart (3:1 asked), and the
// peg picked up also wears a black square, seen without any colour at all. The ring is black on
// a peg and yellow in an empty hole, at least 5.75:1 against the hole on both its sides; the
// lines are 8.3:1 on black. The Windows style draws the button's dotted focus frame in the
// face's opposite colour: on the orange face it would be 1.5:1, on the yellow face it is blue, 8:1.
inline constexpr Look highContrastLook{
    .ground = black,
    .emptyHole = black,
    .peg = 0x00FF8040,
    .heldPeg = white,
    .heldMark = black,
    .ringOnPeg = {black, black},
    .ringInEmptyHole = {labelYellow, labelYellow},
    .text = labelYellow,
    .lines = lineOrange,
    .buttonFace = labelYellow,
    .buttonCaption = black,
};
