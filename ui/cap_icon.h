// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// cap_icon.h: the game's icon, a tan cloth cap, drawn in code at any size.
#pragma once

#include <QImage>

// The cap on a transparent square of `size` pixels (premultiplied ARGB).
QImage drawCap(int size);
