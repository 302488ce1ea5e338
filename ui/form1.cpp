// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// form1.cpp: building the window, turning clicks into moves, and repainting what changed.
#include "form1.h"

#include "cap_pixels.h"
#include "contrast.h"
#include "notification.h"
#include "spoken.h"
#include "twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

#include <utility>

namespace {

constexpr Colour labelYellow = 0x0000FFFF;
constexpr Colour lineOrange = 0x000080FF;

// The high-contrast look, for players with low vision or who tell colours apart poorly. By
// WCAG 2.2's relative luminance: black 0, the light peg blue 0.24, the orange of the lines 0.37,
// the labels' yellow 0.93, white 1. The texts, yellow on black and black on the yellow face, are
// 19.6:1 (7:1 asked). Empty hole (black), peg and peg picked up (white) are 5.75:1, 3.65:1 and
// 21:1 apart (3:1 asked), and the peg picked up also wears a black square, seen without any
// colour at all. The focus ring is black on a peg and yellow in an empty hole, at least 5.75:1
// against the hole on both its sides; the lines are 8.3:1 on black. The orange face would leave
// the button's dotted focus frame, drawn in the face's opposite colour, at 1.5:1: on the yellow
// face it is blue, 8:1.
constexpr Colour contrastGround = 0x00000000;
constexpr Colour contrastPeg = 0x00FF8040;
constexpr Colour contrastHeld = 0x00FFFFFF;

// A square band `thickness` pixels wide, `inset` pixels inside `area`'s edge, in whole pixels
// so that it stays sharp at any screen density.
void drawBand(QPainter& p, QRect area, int inset, int thickness, const QColor& colour) {
    for (int i = inset; i < inset + thickness; ++i) {
        const QRect ring = area.adjusted(i, i, -i, -i);
        p.fillRect(ring.left(), ring.top(), ring.width(), 1, colour);
        p.fillRect(ring.left(), ring.top(), 1, ring.height(), colour);
        p.fillRect(ring.left(), ring.bottom(), ring.width(), 1, colour);
        p.fillRect(ring.right(), ring.top(), 1, ring.height(), colour);
    }
}
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

QColor toQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Hole::Hole(const BoardCell& cell, QWidget* parent)
    : QWidget(parent), index(cell.index), colour(cell.colour) {
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
    wasHeld = held();
    colour = newColour;
    update();
    return true;
}

bool Hole::held() const {
    return colour == selectedMagenta;
}

QString Hole::spokenName() const {
    const char* holds = colour == selectedMagenta ? "pion sélectionné"
                        : colour == pegBlue       ? "pion"
                                                  : "vide";
    return QString("Trou, ligne %1, colonne %2 : %3")
        .arg(rowOf(index))
        .arg(columnOf(index))
        .arg(QString::fromUtf8(holds));
}

// The classic two-pixel sunken well: grey then black above and left, white then light grey
// below and right. Drawn as one-pixel bands rather than lines, so that Qt scales each band to
// whole device pixels and the border stays as sharp and as thick at any screen density.
void Hole::paintEvent(QPaintEvent*) {
    static const QColor grey(0x80, 0x80, 0x80);
    static const QColor lightGrey(0xC0, 0xC0, 0xC0);
    const int w = width();
    const int h = height();
    const bool contrasted = static_cast<const Form1*>(parentWidget())->inHighContrast();
    const Colour shown = !contrasted         ? colour
                         : colour == pegBlue ? contrastPeg
                         : held()            ? contrastHeld
                                             : contrastGround;
    QPainter p(this);
    p.fillRect(rect(), toQColor(shown));
    p.fillRect(0, 0, w, 1, grey);
    p.fillRect(0, 0, 1, h, grey);
    p.fillRect(1, 1, w - 2, 1, Qt::black);
    p.fillRect(1, 1, 1, h - 2, Qt::black);
    p.fillRect(1, h - 2, w - 2, 1, lightGrey);
    p.fillRect(w - 2, 1, 1, h - 2, lightGrey);
    p.fillRect(0, h - 1, w, 1, Qt::white);
    p.fillRect(w - 1, 0, 1, h, Qt::white);
    if (contrasted && held()) {
        drawBand(p, rect(), 11, 3, Qt::black);
    }
    // The focused hole wears a ring inside its well, white then black so that it shows on every
    // colour a hole can hold; the middle keeps the hole's colour. In high contrast it is one
    // colour, which stands out from the hole's on both sides.
    if (hasFocus() && contrasted) {
        drawBand(p, rect(), 4, 2, toQColor(colour == emptyOrange ? labelYellow : contrastGround));
    } else if (hasFocus()) {
        drawBand(p, rect(), 4, 1, Qt::white);
        drawBand(p, rect(), 5, 1, Qt::black);
    }
}

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle("Trebalune");
    setWindowIcon(capIcon());
    // The layout is fixed, so the window is too: nothing to gain from resizing it.
    setFixedSize(toPixels(clientWidth), toPixels(clientHeight));
    setAutoFillBackground(true);
    setPalette(solidPalette(palette(), QPalette::Window, emptyOrange));
    installSpokenNames();

    // Holes are stacked in index order, so where two overlap by their one-pixel edge the right
    // or lower one is drawn on top -- and holeAt gives the click to the one that is seen.
    for (const BoardCell& cell : game.plateau) {
        if (cell.shown) {
            holes[cell.index] = new Hole(cell, this);
            holes[cell.index]->setObjectName(QString("plateau(%1)").arg(cell.index));
        }
    }

    // Comic Sans is seldom installed on Linux; its libre remake has the same size and weight.
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
    // The window's default font, and so the button's caption, is the labels' own face at the
    // record row's size: one typeface for the whole window, and one font file to load at start.
    QFont comic("Comic Sans MS");
    comic.setPointSizeF(9.75);
    comic.setBold(true);
    setFont(comic);
    const QPalette yellowText = solidPalette(palette(), QPalette::WindowText, labelYellow);
    for (const LabelLayout& layout : labelLayouts) {
        // Named before it gets its text, so that screen readers know it as a counter from the
        // start.
        auto* label = new QLabel(this);
        label->setObjectName(layout.name);
        label->setText(layout.text);
        label->setGeometry(toPixels(layout.left, layout.top, layout.width, layout.height));
        comic.setPointSizeF(layout.pointSize);
        label->setFont(comic);
        label->setPalette(yellowText);
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
        line->setPalette(solidPalette(line->palette(), QPalette::Window, lineOrange));
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
    resetButton->setPalette(solidPalette(resetButton->palette(), QPalette::Button, lineOrange));
    // Enter as well as Space presses the button that holds the focus.
    resetButton->setAutoDefault(true);
    resetButton->setFocus();
    connect(resetButton, &QPushButton::clicked, this, [this] { pressReset(); });
}

// The desktop is asked for its contrast preference once the first frame is out, so that asking
// (and the session bus connection it needs) never holds the window back.
void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (std::exchange(followContrast, false)) {
        QMetaObject::invokeMethod(
            this,
            [this] { new ContrastPreference([this](bool on) { setHighContrast(on); }, this); },
            Qt::QueuedConnection);
    }
}

// Only the painting changes: the window's ground, the holes, and the button's face and caption.
void Form1::setHighContrast(bool on) {
    if (on == highContrast) {
        return;
    }
    highContrast = on;
    setPalette(solidPalette(palette(), QPalette::Window, on ? contrastGround : emptyOrange));
    QPalette face =
        solidPalette(resetButton->palette(), QPalette::Button, on ? labelYellow : lineOrange);
    face.setColor(QPalette::ButtonText,
                  on ? Qt::black : QApplication::palette(resetButton).color(QPalette::ButtonText));
    resetButton->setPalette(face);
    for (Hole* hole : holes) {
        if (hole) {
            hole->update();
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

// The arrow keys take the focus from a hole to the nearest hole that way: the nearest row or
// column that has one, and in it the hole closest to the focused one. Past the last hole that
// way the focus stays. No key does anything else to the board.
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
