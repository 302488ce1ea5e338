// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// twips.h: the one conversion from the game's twips to Qt's logical pixels.
#pragma once

#include <QRect>

// 1440 twips make an inch; Qt lays widgets out in logical pixels of 1/96 inch and scales them
// by the screen's device pixel ratio itself, so one pixel here is always 15 twips.
inline constexpr int twipsPerPixel = 15;

// Rounded to the nearest pixel (every position of the window is a whole number of pixels).
constexpr int toPixels(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

inline QRect toPixels(int left, int top, int width, int height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}
