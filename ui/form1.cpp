// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// form1.cpp: building the window, turning clicks into moves, and repainting what changed.
#include "form1.h"

#include "cap_pixels.h"
#include "twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

// What a screen reader says for the holes and the two counters. The names are worked out when
// asked for, so nothing is stored or sent before the player's first event: the platform's
// accessibility bridge then starts after the first frame, as in any Qt window, rather than
// delaying it.
class SpokenWidget : public QAccessibleWidget {
public:
    SpokenWidget(QWidget* widget, QString (*nameOf)(const QWidget*))
        : QAccessibleWidget(widget, QAccessible::StaticText), spoken(nameOf) {}
    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Name ? spoken(widget()) : QAccessibleWidget::text(which);
    }

private:
    QString (*spoken)(const QWidget*);
};

// A hole is also a button for those who play without aiming a mouse (switch access, voice
// control, a screen reader): its "press" action is a click on it. It takes no focus, so the
// keys still go to Effacer and do nothing to the cells.
class PressableHole : public SpokenWidget {
public:
    using SpokenWidget::SpokenWidget;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            const auto* hole = static_cast<const Hole*>(widget());
            static_cast<Form1*>(hole->parentWidget())->clickHole(hole->cell());
        }
    }
};

QString holeName(const QWidget* widget) {
    return static_cast<const Hole*>(widget)->spokenName();
}
QString pegCountName(const QWidget* widget) {
    return QString("Il vous reste %1 pion(s)").arg(static_cast<const QLabel*>(widget)->text());
}
QString recordName(const QWidget* widget) {
    return QString("Record de ce jeu : %1 pion(s)").arg(static_cast<const QLabel*>(widget)->text());
}

QAccessibleInterface* spokenInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !dynamic_cast<Form1*>(widget->parentWidget())) {
        return nullptr;
    }
    if (dynamic_cast<Hole*>(widget)) {
        return new PressableHole(widget, holeName);
    }
    if (widget->objectName() == "Label2") {
        return new SpokenWidget(widget, pegCountName);
    }
    if (widget->objectName() == "Label6") {
        return new SpokenWidget(widget, recordName);
    }
    return nullptr;
}

void announceNewName(QWidget* widget) {
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
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
}

bool Hole::showColour(Colour newColour) {
    if (newColour == colour) {
        return false;
    }
    colour = newColour;
    update();
    return true;
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
    QPainter p(this);
    p.fillRect(rect(), toQColor(colour));
    p.fillRect(0, 0, w, 1, grey);
    p.fillRect(0, 0, 1, h, grey);
    p.fillRect(1, 1, w - 2, 1, Qt::black);
    p.fillRect(1, 1, 1, h - 2, Qt::black);
    p.fillRect(1, h - 2, w - 2, 1, lightGrey);
    p.fillRect(w - 2, 1, 1, h - 2, lightGrey);
    p.fillRect(0, h - 1, w, 1, Qt::white);
    p.fillRect(w - 1, 0, 1, h, Qt::white);
}

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle("Trebalune");
    setWindowIcon(capIcon());
    // The layout is fixed, so the window is too: nothing to gain from resizing it.
    setFixedSize(toPixels(clientWidth), toPixels(clientHeight));
    setAutoFillBackground(true);
    setPalette(solidPalette(palette(), QPalette::Window, emptyOrange));
    // Once per run: screen readers get the holes' and counters' names from spokenInterface.
    static const bool spoken = (QAccessible::installFactory(spokenInterface), true);
    Q_UNUSED(spoken);

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

void Form1::startUp() {
    game.setPalette();
    game.loadRecord();
    showState();
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
    for (std::int16_t i = 1; i < cellCount; ++i) {
        if (holes[i] && holes[i]->showColour(game.colourOf(i))) {
            announceNewName(holes[i]);
        }
    }
    // A label tells screen readers itself when its text changes.
    pegCountLabel->setText(QString::fromStdString(game.pegCountText));
    recordLabel->setText(QString::fromStdString(game.recordText));
}
