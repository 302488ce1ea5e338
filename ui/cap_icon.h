// cap_icon.h: the game's icon, a tan cloth cap, drawn in code at any size.
#pragma once

#include <QIcon>
#include <QImage>

// The cap on a transparent square of `size` pixels.
QImage drawCap(int size);

// The window icon: the cap at 16, 32 and 48 pixels.
QIcon capIcon();
