// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// window_test.cpp: the real window played through its events and read back from the screen.
#include "cap_icon.h"
#include "form1.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <random>

namespace {

const QColor blue(0, 0, 255), orange(255, 192, 128), magenta(255, 0, 255), face(255, 128, 0);

// The board as read off the screen: the 7 x 7 grid's rows between slashes, 'o' a peg, '.' an
// empty hole, '*' the peg picked up, ' ' off the cross; grid cell i (1..49) is at place(i).
const QString startBoard = "  ooo  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /";
int place(int i) {
    return i - 1 + (i - 1) / 7;
}

// The centre of grid cell i in the window: the holes are 41 px squares on a 40 px pitch.
QPoint centreOf(int i) {
    return {76 + 40 * ((i - 1) % 7), 60 + 40 * ((i - 1) / 7)};
}

// The colour at a window point; on a scaled screen all its device pixels must agree, or it is
// blurred and matches nothing.
QColor pixel(const QImage& image, QPoint at) {
    const int ratio = image.width() / 385;
    for (int d = 1; d < ratio * ratio; ++d) {
        if (image.pixel(at * ratio + QPoint(d % ratio, d / ratio)) != image.pixel(at * ratio)) {
            return Qt::transparent;
        }
    }
    return image.pixelColor(at * ratio);
}

// The game from its rules alone, apart from the game's code: the board, the cell of the peg
// held (0 for none), the record and what "record.txt" holds ("-" for no file).
struct Model {
    QString board;
    int held, record;
    QString file;

    QChar& at(int i) { return board[place(i)]; }
    int pegs() const { return board.count('o') + board.count('*'); }
    // A jump goes two holes along a row or a column, over a peg, into an empty hole.
    bool canJump(int from, int to) {
        const int rows = qAbs((from - 1) / 7 - (to - 1) / 7);
        const int columns = qAbs((from - 1) % 7 - (to - 1) % 7);
        return rows * columns == 0 && rows + columns == 2 && QString("o*").contains(at(from)) &&
               at(to) == '.' && at((from + to) / 2) == 'o';
    }
    void click(int i) {
        if (held == 0 && at(i) == 'o') {
            at(held = i) = '*';
        } else if (held == i) {
            at(std::exchange(held, 0)) = 'o';
        } else if (held != 0 && canJump(held, i)) {
            at((held + i) / 2) = '.';
            at(std::exchange(held, 0)) = '.';
            at(i) = 'o';
        } else {
            return;
        }
        if (pegs() < record) { // the record follows the pegs left down, move by move
            record = pegs();
            file = QString::number(record) + "\r\n";
        }
    }
    // One event, as act() takes it: Effacer, a click or press ("11", "a11"), or a drag ("11>25"),
    // which picks a peg up (any other put back first) and drops it on an empty hole.
    void play(const QString& action) {
        const int from = action.section('>', 0, 0).remove('a').toInt();
        const int to = action.section('>', -1).remove('a').toInt();
        if (action == "E") {
            board = startBoard;
            held = 0;
        } else if (from == to) {
            click(to);
        } else if (QString("o*").contains(at(from)) && at(to) == '.') {
            if (held != from) {
                if (held != 0) {
                    click(held);
                }
                click(from);
            }
            click(to);
        }
    }
    // What the player, the record file and a screen reader meet after an event from `before`:
    // the board, the two counters, the file, and the names of what changed.
    QStringList seen(const Model& before) const {
        const QHash<QChar, const char*> holds{
            {'o', "pion"}, {'*', "pion sélectionné"}, {'.', "vide"}};
        QStringList told;
        for (int at = 0; at < board.size(); ++at) {
            if (board[at] != before.board[at]) {
                told << QString::asprintf("Trou, ligne %d, colonne %d : %s", at / 8 + 1, at % 8 + 1,
                                          holds[board[at]]);
            }
        }
        QStringList said; // and what is said at once
        if (pegs() != before.pegs()) {
            said << QString("Il vous reste %1 pion(s)").arg(pegs());
        }
        if (record != before.record) {
            said << QString("Record de ce jeu : %1 pion(s)").arg(record);
        }
        told << said;
        if (!said.isEmpty()) {
            told << "« " + said.join(". ") + " »";
        }
        told.sort();
        return {board, QString::number(pegs()), QString::number(record), file, told.join(", ")};
    }
};

// The names screen readers were told had changed, since the test last looked.
QStringList heard;

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Form1> form;

    // The game started in a new folder where "record.txt" holds `file` ("-" for none).
    void start(const QString& file) {
        form.reset();
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder->path()));
        QFile record("record.txt");
        QVERIFY(file == "-" || (record.open(QIODevice::WriteOnly) && record.write(file.toUtf8()) &&
                                record.flush()));
        form = std::make_unique<Form1>();
        form->startUp();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        heard.clear();
    }
    QWidget* child(const QString& name) const { return form->findChild<QWidget*>(name); }
    // What the screen shows, in device pixels: the pixels last flushed, so that a missed repaint
    // shows. (Qt 6.4's offscreen screen grabs only a corner of a scaled window, so on a scaled
    // screen the window is drawn afresh instead.)
    QImage screen() const {
        QCoreApplication::processEvents();
        const bool scaled = form->devicePixelRatio() != 1;
        return (scaled ? form->grab() : form->screen()->grabWindow(form->winId())).toImage();
    }
    // The same for the real window ('?' a colour none of the game's): the screen, the counters,
    // the file, and the names screen readers were told changed since the last look.
    QStringList seen() const {
        const QImage image = screen();
        const QHash<QRgb, QChar> marks{
            {blue.rgb(), 'o'}, {orange.rgb(), '.'}, {magenta.rgb(), '*'}};
        QString board = startBoard;
        for (int i = 1; i <= 49; ++i) {
            const QColor c = pixel(image, centreOf(i));
            if (board[place(i)] != ' ' || c != orange) {
                board[place(i)] = marks.value(c.rgb(), '?');
            }
        }
        QStringList told = std::exchange(heard, {});
        told.sort();
        QFile file("record.txt");
        const QString bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
        return {board, form->findChild<QLabel*>("Label2")->text(),
                form->findChild<QLabel*>("Label6")->text(), bytes, told.join(", ")};
    }
    // "11" a click on hole 11, "@x,y" on a point, "r11" a right click, "a11" the accessible
    // press action, "11>25" a drag, "E" a click on Effacer, or a key.
    void act(const QString& action) {
        QWindow* window = form->windowHandle();
        const auto at = [](QString where) {
            const QStringList xy = where.remove(QRegularExpression("^[ra@]")).split(',');
            return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : centreOf(xy[0].toInt());
        };
        const QPoint from = at(action.section('>', 0, 0)), to = at(action.section('>', -1));
        const Qt::MouseButton button = action[0] == 'r' ? Qt::RightButton : Qt::LeftButton;
        if (action == "E") {
            QTest::mouseClick(child("Command1"), Qt::LeftButton);
        } else if (action[0] == 'a') {
            if (QWidget* hole = child("plateau(" + action.mid(1) + ")")) {
                QAccessibleInterface* pressable = QAccessible::queryAccessibleInterface(hole);
                QCOMPARE(pressable->role(), QAccessible::Button);
                pressable->actionInterface()->doAction(
                    pressable->actionInterface()->actionNames().value(0));
            }
        } else if (action[0].isUpper()) {
            QTest::keyClick(window, QKeySequence(action)[0].key());
        } else {
            QTest::mousePress(window, button, {}, from);
            QTest::mouseMove(window, (from + to) / 2);
            QTest::mouseRelease(window, button, {}, to);
        }
    }

private slots:
    // Screen readers listen from the start, as on a desktop that runs one.
    void initTestCase() {
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessibleInterface* source = event->accessibleInterface();
            const bool notice = source->role() == QAccessible::Notification;
            if (event->type() == QAccessible::NameChanged && !notice) {
                heard << source->text(QAccessible::Name);
            } else if (event->type() == QAccessible::ObjectShow && notice) {
                heard << "« " + source->text(QAccessible::Name) + " »";
            }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            if (event->type() == QAccessible::Announcement) {
                heard << "« " + static_cast<QAccessibleAnnouncementEvent*>(event)->message() + " »";
            }
#endif
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    // Seeded random games through the window, checked against the model after every event. Two
    // events in three, while a jump is left, head for one, so that games run to their end; the
    // rest are clicks, drags, presses and Effacer. A game starts from no record file, a record
    // with words after it that a rewrite would lose, or words.
    void randomPlay() {
        const quint32 seed = qEnvironmentVariableIsSet("TREBALUNE_SEED")
                                 ? qEnvironmentVariableIntValue("TREBALUNE_SEED")
                                 : QRandomGenerator::global()->bounded(1000000);
        qInfo("TREBALUNE_SEED=%u", seed);
        std::mt19937 random(seed);
        const auto below = [&](int n) { return int(random() % n); };
        for (int game = 0; game < 8; ++game) {
            const int stored = below(44);
            Model model{startBoard, 0, stored <= 40 ? stored : 32,
                        stored <= 40   ? QString("%1,garde\r\n").arg(stored)
                        : stored == 41 ? "gâché"
                                       : "-"};
            start(model.file);
            QString played;
            for (int event = 0; event < 500; ++event) {
                QList<std::pair<int, int>> jumps; // the held peg's first
                int ofHeld = 0;
                for (int from = 1; from <= 49; ++from) {
                    for (int to = 1; to <= 49; ++to) {
                        if (model.canJump(from, to)) {
                            jumps.insert(from == model.held ? ofHeld++ : jumps.size(), {from, to});
                        }
                    }
                }
                // Beside the peg held or two holes away, counted along the grid so across a
                // row's end too; a peg dragged two holes across the end of a row.
                const QString cell = QString::number(1 + below(49));
                const int aside = model.held + QList{-14, -7, -2, -1, 1, 2, 7, 14}[below(8)];
                const int end = QList{20, 21, 27, 28}[below(4)];
                const auto [tried, over] =
                    below(2) ? std::pair{end, end + 2} : std::pair{end + 2, end};
                const int kind = below(jumps.isEmpty() ? 8 : 100);
                QString action = kind == 0   ? "E"
                                 : kind < 6  ? "a" + cell
                                 : kind < 12 ? cell + ">" + QString::number(1 + below(49))
                                 : kind < 55 ? QString("%1>%2").arg(tried).arg(over)
                                 : kind < 75 && aside >= 1 && aside <= 49 ? QString::number(aside)
                                                                          : cell;
                if (!jumps.isEmpty() && below(3)) {
                    const auto [from, to] = jumps[below(ofHeld ? ofHeld : jumps.size())];
                    action = below(3) == 0        ? QString("%1>%2").arg(from).arg(to)
                             : model.held == from ? QString::number(to)
                                                  : QString::number(model.held ? model.held : from);
                }
                played += action + " ";
                const Model before = model;
                model.play(action);
                act(action);
                const QString got = seen().join(" | "), want = model.seen(before).join(" | ");
                QVERIFY2(got == want, qPrintable(played + "\n got  " + got + "\n want " + want));
            }
        }
    }

    // What random games seldom reach or cannot say: points beside the holes, the top hole where
    // two overlap, other buttons, keys, a game down to one peg.
    void examples() {
        const QString opening = startBoard + " | 32 | 32 | -";
        // clang-format off
        const QStringList rows[] = {
            {"beside the holes", "-", "@80,380 @200,375 @230,420 @100,360 @100,409 @10,10 @370,200 @80,60 @300,300", opening},
            {"the overlap is the top hole's", "-", "@176,140 @175,140", "  ooo  /  ooo  /ooo*ooo/ooo.ooo/ooooooo/  ooo  /  ooo  / | 32 | 32 | -"},
            {"other buttons do nothing", "-", "r11 r4 4 r4", "  o*o  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  / | 32 | 32 | -"},
            {"Space, Return and Enter", "-", "11 Space 11 Return 18 Enter", opening},
            {"a whole game, and Effacer", "-", "11 25 16 18 3 17 5 3 18 16 15 17 19 5 21 19 24 10 3 17 22 24 24 10 26 24 28 26 26 12 5 19 31 17 10 24 29 31 32 30 40 26 35 33 45 31 24 38 47 45 45 31 30 32 32 34 19 33 34 32 39 25 E",
             startBoard + " | 32 | 1 | 1\r\n"}};
        // clang-format on
        for (const QStringList& row : rows) {
            start(row[1]);
            for (const QString& action : row[2].split(' ')) {
                act(action);
            }
            const QString got = seen().mid(0, 4).join(" | ");
            QVERIFY2(got == row[3], qPrintable(row[0] + "\n got  " + got + "\n want " + row[3]));
        }
    }

    void layoutAndPixels() {
        start("-");
        QCOMPARE(form->size(), QSize(385, 444));
        QCOMPARE(child("Command1")->geometry(), QRect(312, 368, 65, 33));
        QCOMPARE(child("Command1")->font().pointSizeF(), 9.75);
        const QImage image = screen();
        // clang-format off
        const struct { const char* name; QRect where; const char* text; double points; Qt::Alignment alignment; } labels[] = {
            {"Label1", {72, 368, 121, 25}, "Il vous reste", 12, Qt::AlignHCenter},
            {"Label2", {184, 368, 33, 25}, "32", 12, Qt::AlignRight},
            {"Label3", {216, 368, 65, 25}, "pion(s)", 12, Qt::AlignHCenter},
            {"Label5", {48, 416, 177, 25}, "Record de ce jeu", 9.75, Qt::AlignHCenter},
            {"Label6", {224, 416, 17, 17}, "32", 9.75, Qt::AlignRight},
            {"Label4", {240, 416, 65, 17}, "pion(s)", 9.75, Qt::AlignHCenter}};
        // clang-format on
        for (const auto& e : labels) {
            const auto* label = form->findChild<QLabel*>(e.name);
            QCOMPARE(label->geometry(), e.where);
            QCOMPARE(label->text(), e.text);
            QCOMPARE(label->font().pointSizeF(), e.points);
            QVERIFY(label->font().bold());
            QCOMPARE(QFontInfo(label->font()).family(), "Comic Neue");
            QCOMPARE(label->alignment(), e.alignment | Qt::AlignTop);
            bool yellow = false; // and the text is drawn, in yellow
            for (int i = 0; i < e.where.width() * e.where.height(); ++i) {
                const QPoint at(i % e.where.width(), i / e.where.width());
                yellow = yellow || pixel(image, e.where.topLeft() + at) == Qt::yellow;
            }
            QVERIFY2(yellow, e.name);
        }
        // clang-format off
        const std::pair<QPoint, QColor> probes[] = { // hole 11's sunken border, Line1, Line2, the button, hole 46's lower edge
            {{156, 80}, QColor(0x80, 0x80, 0x80)}, {{156, 81}, Qt::black}, {{136, 100}, QColor(0x80, 0x80, 0x80)},
            {{137, 100}, Qt::black}, {{175, 100}, QColor(0xC0, 0xC0, 0xC0)}, {{156, 119}, QColor(0xC0, 0xC0, 0xC0)},
            {{100, 359}, orange}, {{100, 360}, face}, {{0, 361}, face}, {{383, 362}, orange}, {{10, 10}, orange},
            {{100, 407}, orange}, {{383, 408}, face}, {{0, 409}, face}, {{100, 410}, orange}, {{318, 384}, face}, {{196, 320}, Qt::white}};
        // clang-format on
        for (const auto& [at, colour] : probes) {
            QCOMPARE(pixel(image, at), colour);
        }
        for (int i = 1; i <= 49; ++i) { // every hole in its place, its border on the grid
            QVERIFY(startBoard[place(i)] == ' ' ||
                    (pixel(image, centreOf(i) - QPoint(0, 20)) == QColor(0x80, 0x80, 0x80) &&
                     pixel(image, centreOf(i) - QPoint(20, 0)) == QColor(0x80, 0x80, 0x80)));
        }
        // The icon, soft edges and all, in the window and in the desktop's theme, as it was drawn.
        const QImage drawn = drawCap(48).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(form->windowIcon().pixmap({48, 48}, 1.0).toImage().convertToFormat(drawn.format()),
                 drawn);
        QCOMPARE(QImage(THEME_ICON).convertToFormat(drawn.format()), drawn);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
