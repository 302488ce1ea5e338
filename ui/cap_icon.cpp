// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// cap_icon.cpp: a tan cloth cap -- soft crown, band, short peak and a button on top.
#include "cap_icon.h"

#include <QPainter>
#include <QPainterPath>

QImage drawCap(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0); // drawn on a 48 x 48 grid
    const QColor outline(0x5C, 0x43, 0x26);
    p.setPen(QPen(outline, size <= 16 ? 2.4 : 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // Seen from the side, facing right: a soft crown sloping down to a short peak.
    QPainterPath peak;
    peak.moveTo(28, 31);
    peak.cubicTo(36, 28, 44, 29, 46, 34);
    peak.cubicTo(40, 37, 31, 37, 24, 35);
    peak.closeSubpath();
    p.setBrush(QColor(0xA6, 0x7C, 0x52));
    p.drawPath(peak);

    QPainterPath crown;
    crown.moveTo(4, 36);
    crown.cubicTo(1, 18, 18, 8, 31, 13);
    crown.cubicTo(40, 16, 42, 25, 37, 32);
    crown.closeSubpath();
    p.setBrush(QColor(0xD2, 0xB4, 0x8C));
    p.drawPath(crown);

    QPainterPath band;
    band.moveTo(4, 36);
    band.lineTo(37, 32);
    band.lineTo(37.5, 36.5);
    band.lineTo(5, 40.5);
    band.closeSubpath();
    p.setBrush(QColor(0xB8, 0x95, 0x6A));
    p.drawPath(band);

    if (size > 16) {
        QPainterPath seam;
        seam.moveTo(20, 11.5);
        seam.cubicTo(25, 18, 28, 25, 28, 33);
        p.setBrush(Qt::NoBrush);
        p.drawPath(seam);
    }
    p.setBrush(QColor(0x8B, 0x6B, 0x42));
    p.drawEllipse(QPointF(20, 11), 2.6, 2.6);
    return image;
}
