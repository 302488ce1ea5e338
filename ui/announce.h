// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// announce.h: telling screen readers at once what a move changed, where Qt versions differ. The
// build compiles announce.cpp with a Qt that has announcements, announce_before_qt6_8.cpp, its
// stand-ins, with an older one.
#pragma once

#include <QAccessible>

class Hole;
class QWidget;

// What screen readers read of the state of `hole`, beyond a button's, added to `state`.
void addHoleState(const Hole& hole, QAccessible::State& state);
// The accessible interface of a widget made by this file, or null for any other.
QAccessibleInterface* announcerInterface(QWidget* widget);
// Tells screen readers, beyond its new name, that `hole` has changed; true when its name must be
// said at once too.
bool tellHoleChanged(Hole& hole);
// Says `message` at once, wherever the player's focus is.
void announce(QWidget* window, const QString& message);
