// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// spoken.h: what a blind player hears -- the names screen readers read and what they are told.
#pragma once

#include <QStringList>

class QWidget;

// Gives the holes and counters their spoken names, once per run.
void installSpokenNames();

// Tells screen readers what a move changed: each hole or counter in `changed` now reads
// differently, and the counters are said at once, wherever the player's focus is, then `news`.
void tellChanges(const QList<QWidget*>& changed, const QStringList& news);
