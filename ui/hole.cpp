// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// hole.cpp: painting a hole, and what a screen reader says of it.
#include "hole.h"

#include "look.h"
#include "twips.h"

#include <QPainter>

namespace {

// A square band `thickness` pixels wide, `inset` pixels inside `area`'s edge. Drawn as one-pixel
// fills rather than lines, so that Qt scales each to whole device pixels and the band stays as
// sharp and as thick at any screen density.
void drawBand(QPainter& p, QRect area, int inset, int thickness, Colour colour) {
    for (int i = inset; i < inset + thickness; ++i) {
        const QRect ring = area.adjusted(i, i, -i, -i);
        p.fillRect(ring.left(), ring.top(), ring.width(), 1, toQColor(colour));
        p.fillRect(ring.left(), ring.top(), 1, ring.height(), toQColor(colour));
        p.fillRect(ring.left(), ring.bottom(), ring.width(), 1, toQColor(colour));
        p.fillRect(ring.right(), ring.top(), 1, ring.height(), toQColor(colour));
    }
}

} // namespace

Hole::Hole(const BoardCell& cell, const Look& firstLook, QWidget* parent)
    : QWidget(parent), index(cell.index), colour(cell.colour), look(&firstLook) {
    setGeometry(toPixels(cell.left, cell.top, cell.width, cell.height));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Tab reaches the holes, for those who play with a screen reader; a click never moves the
    // focus, so a mouse player sees nothing of it.
    setFocusPolicy(Qt::TabFocus);
}

bool Hole::showColour(Colour newColour) {
    if (newColour == colour) {
        return false;
    }
    colour = newColour;
    update();
    return true;
}

void Hole::showLook(const Look& newLook) {
    look = &newLook;
    update();
}

QString Hole::spokenName() const {
    const char* holds = held() ? "pion sélectionné" : colour == pegBlue ? "pion" : "vide";
    return QString("Trou, ligne %1, colonne %2 : %3")
        .arg(rowOf(index))
        .arg(columnOf(index))
        .arg(QString::fromUtf8(holds));
}

// The well's two pixels on each side, then the focus ring inside them where the hole has the
// focus, and the mark of the peg picked up further in.
void Hole::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    const bool empty = colour == emptyOrange;
    QPainter p(this);
    p.fillRect(rect(), toQColor(held() ? look->heldPeg : empty ? look->emptyHole : look->peg));
    for (int i : {0, 1}) {
        p.fillRect(i, i, w - 2 * i, 1, toQColor(wellShadow[i]));
        p.fillRect(i, i, 1, h - 2 * i, toQColor(wellShadow[i]));
        p.fillRect(i, h - 1 - i, w - 2 * i, 1, toQColor(wellLight[i]));
        p.fillRect(w - 1 - i, i, 1, h - 2 * i, toQColor(wellLight[i]));
    }
    if (held() && look->heldMark) {
        drawBand(p, rect(), 11, 3, *look->heldMark);
    }
    if (hasFocus()) {
        const auto& ring = empty ? look->ringInEmptyHole : look->ringOnPeg;
        drawBand(p, rect(), 4, 1, ring[0]);
        drawBand(p, rect(), 5, 1, ring[1]);
    }
}
