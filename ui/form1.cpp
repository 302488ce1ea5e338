// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// form1.cpp: building the window, turning clicks and keys into moves and focus, and bringing the
// screen in line with the game.
#include "form1.h"

#include "cap_pixels.h"
#include "contrast.h"
#include "hole.h"
#include "look.h"
#include "notification.h"
#include "spoken.h"
#include "twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

#include <utility>

namespace {

constexpr int clientWidth = 5775;
constexpr int clientHeight = 6660;

struct LabelLayout {
    const char* name;
    int left, top, width, height;
    const char* text;
    double pointSize;
    Qt::Alignment alignment;
};

// Positions in twips. The counters (Label2, Label6) start at "32" and follow the game.
constexpr LabelLayout labelLayouts[] = {
    {"Label1", 1080, 5520, 1815, 375, "Il vous reste", 12, Qt::AlignHCenter},
    {"Label2", 2760, 5520, 495, 375, "32", 12, Qt::AlignRight},
    {"Label3", 3240, 5520, 975, 375, "pion(s)", 12, Qt::AlignHCenter},
    {"Label5", 720, 6240, 2655, 375, "Record de ce jeu", 9.75, Qt::AlignHCenter},
    {"Label6", 3360, 6240, 255, 255, "32", 9.75, Qt::AlignRight},
    {"Label4", 3600, 6240, 975, 255, "pion(s)", 9.75, Qt::AlignHCenter},
};

// The cap at the three sizes a desktop asks for, from the pixels drawn at build time.
QIcon capIcon() {
    const std::pair<const std::uint32_t*, int> images[] = {
        {capPixels16, 16}, {capPixels32, 32}, {capPixels48, 48}};
    QIcon icon;
    for (const auto& [pixels, size] : images) {
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels), size, size,
                                                 QImage::Format_ARGB32_Premultiplied)));
    }
    return icon;
}

QPalette solidPalette(QPalette palette, QPalette::ColorRole role, Colour colour) {
    palette.setColor(role, toQColor(colour));
    return palette;
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle("Trebalune");
    setWindowIcon(capIcon());
    // The layout is fixed, so the window is too: nothing to gain from resizing it.
    setFixedSize(toPixels(clientWidth), toPixels(clientHeight));
    setAutoFillBackground(true);
    installSpokenNames();

    // Holes are stacked in index order, so where two overlap by their one-pixel edge the right
    // or lower one is drawn on top -- and holeAt gives the click to the one that is seen.
    for (const BoardCell& cell : game.plateau) {
        if (cell.shown) {
            holes[cell.index] = new Hole(cell, usualLook, this);
            holes[cell.index]->setObjectName(QString("plateau(%1)").arg(cell.index));
        }
    }

    // Comic Sans is seldom installed on Linux. Comic Neue, a libre redesign of it, is not cut to
    // the same widths, but every text fits its label in it: the reviewed pictures of the window,
    // drawn with it, show each one whole.
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
    // The window's default font, and so the button's caption, is the labels' own face at the
    // record row's size: one typeface for the whole window, and one font file to load at start.
    QFont comic("Comic Sans MS");
    comic.setPointSizeF(9.75);
    comic.setBold(true);
    setFont(comic);
    for (const LabelLayout& layout : labelLayouts) {
        // Named before it gets its text, so that screen readers know it as a counter from the
        // start.
        auto* label = new QLabel(this);
        label->setObjectName(layout.name);
        label->setText(layout.text);
        label->setGeometry(toPixels(layout.left, layout.top, layout.width, layout.height));
        comic.setPointSizeF(layout.pointSize);
        label->setFont(comic);
        label->setAlignment(layout.alignment | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
    }
    pegCountLabel = findChild<QLabel*>("Label2");
    recordLabel = findChild<QLabel*>("Label6");

    // Line1 between the board and the pegs-left row, Line2 above the record row.
    for (const auto& [name, top] : {std::pair{"Line1", 5400}, std::pair{"Line2", 6120}}) {
        auto* line = new QWidget(this);
        line->setObjectName(name);
        line->setGeometry(0, toPixels(top), toPixels(5760), 2);
        line->setAutoFillBackground(true);
    }

    resetButton = new QPushButton("Effacer", this);
    resetButton->setObjectName("Command1");
    resetButton->setGeometry(toPixels(4680, 5520, 975, 495));
    // The classic Windows style paints the face in the palette's button colour, flat and exact,
    // whatever style the rest of the desktop uses (Fusion would fade it to a pale gradient).
    if (QStyle* classic = QStyleFactory::create("Windows")) {
        classic->setParent(resetButton);
        resetButton->setStyle(classic);
    }
    // Enter as well as Space presses the button that holds the focus.
    resetButton->setAutoDefault(true);
    resetButton->setFocus();
    connect(resetButton, &QPushButton::clicked, this, [this] { pressReset(); });
    showLook(usualLook);
}

void Form1::followDesktopContrast() {
    new ContrastPreference(this,
                           [this](bool more) { showLook(more ? highContrastLook : usualLook); });
}

void Form1::showLook(const Look& newLook) {
    // The portal may answer the same twice (its two settings, say): nothing to repaint then.
    if (&newLook == look) {
        return;
    }
    look = &newLook;
    setPalette(solidPalette(palette(), QPalette::Window, look->ground));
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setPalette(solidPalette(label->palette(), QPalette::WindowText, look->text));
    }
    for (const char* name : {"Line1", "Line2"}) {
        QWidget* line = findChild<QWidget*>(name);
        line->setPalette(solidPalette(line->palette(), QPalette::Window, look->lines));
    }
    QPalette face = solidPalette(resetButton->palette(), QPalette::Button, look->buttonFace);
    face.setColor(QPalette::ButtonText,
                  look->buttonCaption
                      ? toQColor(*look->buttonCaption)
                      : QApplication::palette(resetButton).color(QPalette::ButtonText));
    resetButton->setPalette(face);
    for (Hole* hole : holes) {
        if (hole) {
            hole->showLook(*look);
        }
    }
}

void Form1::startUp() {
    game.setPalette();
    game.loadRecord();
    recordLabel->setText(QString::fromStdString(game.recordText));
}

std::int16_t Form1::holeAt(QPoint point) const {
    for (std::int16_t i = cellCount - 1; i > 0; --i) {
        if (holes[i] && holes[i]->geometry().contains(point)) {
            return i;
        }
    }
    return 0;
}

// A click is a press and a release of the left button on the same hole; a press on a peg and a
// release on an empty hole is a drag (see dragPeg); a release anywhere else cancels the press,
// as moving off a button does. Other buttons do nothing, so a stray context click never moves a
// peg. The second press of a double-click arrives as a press too (Qt's default), so a fast
// player loses no click.
void Form1::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedHole = holeAt(event->position().toPoint());
    }
}

void Form1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const std::int16_t released = holeAt(event->position().toPoint());
    const std::int16_t pressed = std::exchange(pressedHole, 0);
    if (released == 0 || pressed == 0) {
        return;
    }
    if (released == pressed) {
        clickHole(released);
    } else {
        dragPeg(pressed, released);
    }
}

// The tally runs after a pick-up as well as after a jump: a record file that holds more than the
// 32 pegs of a full board (written by hand, say) comes down to 32 at the first peg picked up.
void Form1::playClick(std::int16_t index) {
    const MoveOutcome outcome = game.clickCell(index);
    if (outcome == MoveOutcome::Selected || outcome == MoveOutcome::Jumped) {
        game.runTally();
    }
}

void Form1::clickHole(std::int16_t index) {
    playClick(index);
    showState();
}

// A peg dragged onto an empty hole makes the clicks a player would make for that move: the
// peg is picked up -- putting back first any other peg held -- and then the hole is clicked.
// A peg already held is simply dropped into the hole. A refused jump leaves the dragged peg
// held, just as after two clicks. Nothing changes on screen until the release.
void Form1::dragPeg(std::int16_t from, std::int16_t to) {
    const Colour dragged = game.colourOf(from);
    const bool isPeg = dragged == game.palette.pegColour || dragged == game.palette.selectedColour;
    if (!isPeg || game.colourOf(to) != game.palette.emptyColour) {
        return;
    }
    if (dragged == game.palette.pegColour) {
        if (game.pegSelected) {
            playClick(game.sourceCell);
        }
        playClick(from);
    }
    playClick(to);
    showState();
}

void Form1::pressReset() {
    game.resetBoard();
    showState();
}

void Form1::showState() {
    QList<QWidget*> changed;
    for (std::int16_t i = 1; i < cellCount; ++i) {
        if (holes[i] && holes[i]->showColour(game.colourOf(i))) {
            changed << holes[i];
        }
    }
    for (const auto& [label, text] :
         {std::pair{pegCountLabel, &game.pegCountText}, std::pair{recordLabel, &game.recordText}}) {
        if (label->text() != QString::fromStdString(*text)) {
            label->setText(QString::fromStdString(*text));
            changed << label;
        }
    }
    // News of the record file that the window has no place for: the desktop shows it, and screen
    // readers say it after the counters.
    QStringList news;
    for (const RecordNotice& notice : std::exchange(game.recordNotices, {})) {
        notifyDesktop(QString::fromStdString(notice.summary), QString::fromStdString(notice.body));
        news << QString::fromStdString(notice.body);
    }
    tellChanges(changed, news);
}

// A hole takes no keys of its own, so the keys pressed while one has the focus come here, its
// parent. The arrow keys take the focus from a hole to the nearest hole that way: the nearest row
// or column that has one, and in it the hole closest to the focused one. Past the last hole that
// way the focus stays. No key does anything else to the board. Keys pressed while "Effacer" has
// the focus are the button's own: Space and Enter press it, and the arrows move the focus on or
// back as Tab and Shift+Tab do.
void Form1::keyPressEvent(QKeyEvent* event) {
    const auto* focused = dynamic_cast<const Hole*>(focusWidget());
    const QHash<int, QPoint> steps{{Qt::Key_Left, {-1, 0}},
                                   {Qt::Key_Right, {1, 0}},
                                   {Qt::Key_Up, {0, -1}},
                                   {Qt::Key_Down, {0, 1}}};
    if (!focused || !steps.contains(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QPoint step = steps[event->key()];
    const QPoint from(columnOf(focused->cell()), rowOf(focused->cell()));
    Hole* nearest = nullptr;
    std::pair<int, int> best{cellCount, cellCount}; // how far that way, then how far aside
    for (Hole* hole : holes) {
        if (hole) {
            const QPoint offset = QPoint(columnOf(hole->cell()), rowOf(hole->cell())) - from;
            const int ahead = offset.x() * step.x() + offset.y() * step.y();
            const std::pair<int, int> distance{ahead,
                                               qAbs(offset.x() * step.y() + offset.y() * step.x())};
            if (ahead > 0 && distance < best) {
                best = distance;
                nearest = hole;
            }
        }
    }
    if (nearest) {
        nearest->setFocus(Qt::OtherFocusReason);
    }
}
