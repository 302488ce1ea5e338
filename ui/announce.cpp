// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// announce.cpp: with Qt's announcements, a changed name reaches screen readers with the name
// itself, and what is said at once is an announcement.
#include "announce.h"

#include <QAccessible>
#include <QWidget>

void addHoleState(const Hole&, QAccessible::State&) {}

QAccessibleInterface* announcerInterface(QWidget*) {
    return nullptr;
}

bool tellHoleChanged(Hole&) {
    return false;
}

void announce(QWidget* window, const QString& message) {
    QAccessibleAnnouncementEvent announcement(window, message);
    QAccessible::updateAccessibility(&announcement);
}
