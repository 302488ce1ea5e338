// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// notification.h: news the window has no place for, shown by the desktop.
#pragma once

class QString;

// Sends a notification to the desktop's notification service, as Trebalune's: its name, icon
// and desktop entry. Never waits for it: with no service on the session bus, nothing happens.
void notifyDesktop(const QString& summary, const QString& body);
