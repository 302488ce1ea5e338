// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// window_test.cpp: the real window played through its events and read back from the screen.
#include "form1.h"

#include <QAccessible>
#include <QBackingStore>
#include <QDBusConnectionInterface>
#include <QTemporaryDir>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformbackingstore.h>
#include <qpa/qplatformintegration.h>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

namespace {

const QColor blue(0, 0, 255), orange(255, 192, 128), magenta(255, 0, 255);

// The board as read off the screen: the 7 x 7 grid's rows between slashes, 'o' a peg, '.' an
// empty hole, '*' the peg picked up, ' ' off the cross; grid cell i (1..49) is at place(i).
const QString startBoard = "  ooo  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /";
int place(int i) {
    return i - 1 + (i - 1) / 7;
}

// The middle of Effacer, and of grid cell i: the holes are 41 px squares on a 40 px pitch.
const QPoint effacer(344, 384);
QPoint centreOf(int i) {
    return {76 + 40 * ((i - 1) % 7), 60 + 40 * ((i - 1) / 7)};
}

// The colour at a window point; on a scaled screen a blurred one matches nothing.
QColor pixel(const QImage& image, QPoint at) {
    const int ratio = image.width() / 385;
    const QImage square = image.copy(QRect(at * ratio, QSize(ratio, ratio)));
    QImage flat = square;
    flat.fill(square.pixel(0, 0));
    return square == flat ? square.pixelColor(0, 0) : Qt::transparent;
}

// Whether the look `drawn` differs from its reviewed picture, PICTURES/<name>.png, which
// RENEW_PICTURES=1 rewrites. Where it does, the picture drawn is left beside the test.
QString unlike(const QImage& drawn, const QString& name) {
    const QString picture = PICTURES "/" + name + ".png";
    if (qEnvironmentVariableIsSet("RENEW_PICTURES")) {
        drawn.save(picture);
    }
    const QImage got = drawn.convertToFormat(QImage::Format_ARGB32);
    if (got == QImage(picture).convertToFormat(QImage::Format_ARGB32)) {
        return {};
    }
    const QString left = QCoreApplication::applicationDirPath() + "/" + name + "-drawn.png";
    got.save(left);
    return name + " differs from its picture: see " + left;
}

// An action: "11" a click on grid cell 11, "d11" a double-click, "a11" its hole's accessible
// press, "r11" a right click, "11>25" a drag, "@x,y" a click on a window point, "E" one on
// Effacer, a key by name ("Tab"), "X" the folder in record.txt's place removed (as when
// the player frees it). A "t" before a click, a drag or E is a touch: "t11" a tap, "t11>25" a drag.
struct Action {
    char kind = 0; // 0 for no action
    bool touch = false;
    int from = 0, to = 0;
    QPoint press{}, release{};
    int key = 0;
};

Action parse(const QString& text) {
    static const QRegularExpression form("^(t(?=[\\d@E]))?(?:([adr]?)([1-9]\\d?)|([1-9]\\d?)>"
                                         "([1-9]\\d?)|@(\\d+),(\\d+)|([EX])|([A-Z]\\w+))$");
    const QRegularExpressionMatch m = form.match(text);
    const auto n = [&](int i) { return m.captured(i).toInt(); };
    const int from = n(3) + n(4), to = n(3) + n(5);
    const QKeySequence key = QKeySequence::fromString(m.captured(9));
    const bool isKey = key.count() == 1 && key[0].key() != Qt::Key_unknown;
    const char kind = !m.hasMatch() || from > 49 || to > 49 ? 0
                      : m.hasCaptured(9)                    ? (isKey ? 'k' : 0)
                      : m.hasCaptured(8)                    ? m.captured(8)[0].toLatin1()
                      : m.hasCaptured(6)                    ? '@'
                      : n(4)                                ? '>'
                                                            : (m.captured(2) + "c").toLatin1()[0];
    const QPoint press = from ? centreOf(from) : kind == 'E' ? effacer : QPoint(n(6), n(7));
    const QPoint release = to ? centreOf(to) : press;
    return {kind, m.hasCaptured(1), from, to, press, release, isKey ? key[0].key() : 0};
}

// The game from its rules alone: the board, the peg held (0 for none), the record, what
// "record.txt" holds ("-" for no file, "/" for a folder, "~" for a link to itself, which cannot be
// read), the hole with the keyboard focus (0 for Effacer), whether the last record was kept, and
// the news of the record file, each a title and a sentence.
struct Model {
    QString board;
    int held, record;
    QString file;
    int focus = 0;
    bool kept = true;
    QList<QStringList> news{};

    QChar& at(int i) { return board[place(i)]; }
    QChar at(int i) const { return board[place(i)]; }
    int pegs() const { return board.count('o') + board.count('*'); }
    // A jump goes two holes along a row or a column, over a peg, onto an empty hole.
    bool movable(int from, int to) const {
        return QString("o*").contains(at(from)) && at(to) == '.';
    }
    bool canJump(int from, int to) const {
        const int rows = qAbs((from - 1) / 7 - (to - 1) / 7);
        const int columns = qAbs((from - 1) % 7 - (to - 1) % 7);
        return rows * columns == 0 && rows + columns == 2 && movable(from, to) &&
               at((from + to) / 2) == 'o';
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
        if (pegs() >= record) { // the record follows the pegs left down, move by move
            return;
        }
        record = pegs();
        const QString here = "« " + QDir::current().filePath("record.txt") + " »";
        const QString pegs = QString("Le record de %1 pion(s) ").arg(record);
        if (file.startsWith("notes")) { // a file that holds no record is set aside
            news << QStringList{"Fichier record.txt mis de côté",
                                here +
                                    " ne contenait pas de record. Il n'est pas effacé : il "
                                    "est maintenant " +
                                    here.chopped(2) + ".illisible »."};
        }
        if (kept != (file != "/")) { // told when records stop being kept, and when kept again
            kept = !kept;
            news << QStringList{kept ? "Record enregistré" : "Record non enregistré",
                                pegs + (kept ? "est de nouveau enregistré dans " + here + "."
                                             : "n'a pas pu être enregistré dans " + here +
                                                   " : c'est un répertoire. Il sera perdu à la "
                                                   "fermeture du jeu.")};
        }
        file = kept ? QString::number(record) + "\r\n" : file;
    }
    // Tab and Backtab go round Effacer and the holes in reading order; Space, Return and Enter
    // press Effacer. The arrows are the example rows'.
    void press(int key) {
        QList<int> ring{0};
        for (int i = 1; i <= 49; ++i) {
            if (at(i) != ' ') {
                ring << i;
            }
        }
        const int here = ring.indexOf(focus), n = ring.size();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            focus = ring[(here + (key == Qt::Key_Tab ? 1 : n - 1)) % n];
        } else if (!focus && QList{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}.contains(key)) {
            play({'E'});
        }
    }
    // A drag picks a peg up (any other put back first) and drops it on an empty hole. Points
    // and other buttons are the example rows' alone.
    void play(const Action& action) {
        const int from = action.from, to = action.to;
        if (action.kind == 'E') {
            board = startBoard;
            held = focus = 0;
        } else if (action.kind == 'k') {
            press(action.key);
        } else if (QString("ca>").contains(action.kind) && from == to) {
            click(to);
        } else if (action.kind == 'X' && file == "/") {
            file = "-";
        } else if (action.kind == '>' && movable(from, to)) {
            if (held != from) {
                if (held != 0) {
                    click(held);
                }
                click(from);
            }
            click(to);
        }
    }
    // What a player, the record file and a screen reader meet after an event from `before`.
    QStringList seen(const Model& before) const {
        const QHash<QChar, const char*> holds{
            {'o', "pion"}, {'*', "pion sélectionné"}, {'.', "vide"}};
        const auto name = [&](int i) {
            return QString::asprintf("Trou, ligne %d, colonne %d : %s", (i - 1) / 7 + 1,
                                     (i - 1) % 7 + 1, holds[at(i)]);
        };
        QStringList said; // the counters that changed, which are also said at once
        if (pegs() != before.pegs()) {
            said << QString("Il vous reste %1 pion(s)").arg(pegs());
        }
        if (record != before.record) {
            said << QString("Record de ce jeu : %1 pion(s)").arg(record);
        }
        QStringList told = said;
        for (int i = 1; i <= 49; ++i) {
            if (at(i) != before.at(i)) {
                told << name(i);
                // Where a changed name goes unsaid, the focused hole's is said before the counters.
                if (QT_VERSION < QT_VERSION_CHECK(6, 8, 0) && i == focus) {
                    said.prepend(name(i));
                }
            }
        }
        if (focus != before.focus) {
            told << "→ " + (focus ? name(focus) : "Effacer");
        }
        for (const QStringList& item : news.mid(before.news.size())) { // said, and on the desktop
            said << item[1];
            told << "notification " + item.join(" : ");
        }
        if (!said.isEmpty()) {
            told << "« " + said.join(". ") + " »";
        }
        told.sort();
        const QString rows = "Il vous reste %1 pion(s) Effacer / Record de ce jeu : %2 pion(s)";
        return {board, rows.arg(pegs()).arg(record), file, told.join(", "), QString::number(focus)};
    }
};

// What screen readers and the desktop were told since the test last looked.
QStringList heard;

// The desktop's notification server, on the test's own session bus.
class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public slots:
    Q_NOREPLY void Notify(const QString&, uint, const QString&, const QString& summary,
                          const QString& body, const QStringList&, const QVariantMap&, int) {
        heard << QString("notification %1 : %2").arg(summary, body);
    }
};

// The real window, started afresh where "record.txt" holds `file`, in a folder of its own.
struct Window {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Form1> form;
    QStringList played; // the actions since the start

    void start(const QString& file) {
        form.reset();
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder->path()));
        QFile record("record.txt");
        QVERIFY(file == "-" || (file == "~"   ? record.link(record.fileName())
                                : file == "/" ? QDir().mkdir(record.fileName())
                                              : record.open(QIODevice::WriteOnly) &&
                                                    record.write(file.toUtf8()) && record.flush()));
        form = std::make_unique<Form1>();
        form->startUp();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        heard.clear();
        played.clear();
    }
    // The same read off the real window: the device pixels as last painted, so that a missed
    // repaint shows, with a hole's colour within the grey corner of its sunken border ('?'
    // otherwise) and the holes that wear the focus ring.
    QStringList seen() const {
        // Every notification the game sent is in once a call to the bus made after it returns.
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.DBus");
        QCoreApplication::processEvents();
        const QImage image = form->backingStore()->handle()->toImage();
        const QHash<QRgb, QChar> marks{
            {blue.rgb(), 'o'}, {orange.rgb(), '.'}, {magenta.rgb(), '*'}};
        QString board = startBoard;
        QStringList told = std::exchange(heard, {}), focus;
        for (int i = 1; i <= 49; ++i) {
            const QColor c = pixel(image, centreOf(i));
            const bool sunken = pixel(image, centreOf(i) - QPoint(20, 20)) == QColor(0x808080);
            if (board[place(i)] != ' ' || c != orange) {
                board[place(i)] = sunken ? marks.value(c.rgb(), '?') : '?';
                if (pixel(image, centreOf(i) - QPoint(15, 0)) == Qt::black) {
                    focus << QString::number(i);
                }
            }
        }
        told.sort();
        QStringList rows[2]; // the counters' rows below the board, as flat review reads them
        for (QWidget* widget : form->findChildren<QWidget*>(QRegularExpression("Label|Command"))) {
            const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(widget);
            if (!read->state().invisible) {
                rows[widget->y() > 400] << read->text(QAccessible::Name);
            }
        }
        QFile file("record.txt");
        const QString bytes = QFileInfo(file).isSymLink()      ? "~"
                              : QFileInfo(file).isDir()        ? "/"
                              : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                               : "-";
        return {board, rows[0].join(' ') + " / " + rows[1].join(' '), bytes, told.join(", "),
                focus.isEmpty() ? "0" : focus.join(",")};
    }
    // A press is made only on what screen readers are told is a button.
    void act(const Action& action) {
        QWindow* window = form->windowHandle();
        const Qt::MouseButton button = action.kind == 'r' ? Qt::RightButton : Qt::LeftButton;
        if (action.touch) { // as a touch screen's platform plugin sends it
            static QPointingDevice* const screen = QTest::createTouchDevice();
            QTest::touchEvent(window, screen).press(0, action.press, window);
            QTest::touchEvent(window, screen).move(0, (action.press + action.release) / 2, window);
            QTest::touchEvent(window, screen).release(0, action.release, window);
        } else if (action.kind == 'k') {
            QTest::keyClick(window, Qt::Key(action.key));
        } else if (action.kind == 'd') {
            QTest::mouseDClick(window, button, {}, action.press);
        } else if (action.kind == 'X') {
            QDir().rmdir("record.txt");
        } else if (action.kind == 'a') {
            QAccessibleInterface* pressable = QAccessible::queryAccessibleInterface(
                form->findChild<QWidget*>(QString("plateau(%1)").arg(action.from)));
            if (pressable && pressable->role() == QAccessible::Button) {
                pressable->actionInterface()->doAction(
                    pressable->actionInterface()->actionNames().value(0));
            }
        } else {
            QTest::mousePress(window, button, {}, action.press);
            QTest::mouseMove(window, (action.press + action.release) / 2);
            QTest::mouseRelease(window, button, {}, action.release);
        }
    }
};

// A number below n, from the whole range at any size of game, shrinking toward 0 if asked to.
int pick(int n, bool shrinks = false) {
    const auto below = rc::gen::resize(100, rc::gen::inRange(0, n));
    return shrinks ? *below : *rc::gen::noShrink(below);
}

// A step of a random game. Two in three, while a jump is left, make one, by a drag or clicks;
// one in twelve tries a move the rules refuse, across a row's end when the board has one. The rest
// click beside the peg held or anywhere, drag, press, press a key or Effacer (more often once no
// jump is left), or free the folder in record.txt's place once a record went unkept; a step in four
// by touch. While a game shrinks, a move stays while the board allows (or refuses) it.
struct Step : rc::state::Command<Model, Window> {
    QStringList actions;
    int from = 0, to = 0, held = -1; // the move, and the peg its clicks find held (-1 a drag)
    bool legal = true;

    explicit Step(const Model& model) {
        QList<std::pair<int, int>> moves[3]; // jumps, refused moves, refused across a row's end
        for (int cell = 1; cell <= 49; ++cell) {
            for (int target : {cell - 14, cell - 2, cell + 2, cell + 14}) {
                const bool across = qAbs(cell - target) == 2 && (cell - 1) / 7 != (target - 1) / 7;
                if (target >= 1 && target <= 49 && model.movable(cell, target)) {
                    moves[model.canJump(cell, target) ? 0 : 1 + across].append({cell, target});
                }
            }
        }
        const int kind = pick(moves[0].isEmpty() ? 34 : 100);
        const QString by = pick(4, true) == 3 ? "t" : ""; // shrinking to the mouse
        const int list = kind >= 34 ? 0 : kind >= 6 && kind < 14 ? 1 + (kind < 10) : 3;
        if (list < 3 && !moves[list].isEmpty()) {
            std::tie(from, to) = moves[list][pick(moves[list].size(), true)];
            legal = list == 0;
            const bool drag = pick(3, true) == 0;
            held = drag ? -1 : model.held;
            actions = drag ? QStringList{by + QString("%1>%2").arg(from).arg(to)}
                           : QStringList{by + QString::number(held), by + QString::number(from),
                                         by + QString::number(to)}
                                 .mid(held == from ? 2 : held == 0);
            return;
        }
        const QString cell = QString::number(1 + pick(49)), other = QString::number(1 + pick(49));
        const int aside = model.held + QList{-14, -7, -2, -1, 1, 2, 7, 14}[pick(8)];
        const QString key = QStringList{"Tab", "Backtab", "Space", "Return", "Enter"}[pick(5)];
        actions << (kind < (moves[0].isEmpty() ? 5 : 1)       ? by + "E"
                    : kind < 4                                ? "a" + cell
                    : kind < 6                                ? by + cell + ">" + other
                    : kind >= 14 && kind < 24                 ? key
                    : kind < 33 && !model.kept                ? "X"
                    : model.held && aside >= 1 && aside <= 49 ? by + QString::number(aside)
                                                              : by + cell);
    }
    void checkPreconditions(const Model& model) const override {
        RC_PRE(from == 0 || (model.movable(from, to) && model.canJump(from, to) == legal &&
                             (held < 0 || held == model.held)));
    }
    void apply(Model& model) const override {
        for (const QString& action : actions) {
            model.play(parse(action));
        }
    }
    void run(const Model& model, Window& window) const override {
        Model now = model;
        for (const QString& action : actions) {
            const Model before = now;
            now.play(parse(action));
            window.act(parse(action));
            window.played << action;
            RC_ASSERT(window.seen().join(" | ").toStdString() ==
                      now.seen(before).join(" | ").toStdString());
        }
    }
    void show(std::ostream& out) const override { out << actions.join(' ').toStdString(); }
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    Window window;

private slots:
    // Screen readers listen from the start, as on a desktop that runs one.
    void initTestCase() {
        static Notifications desktop;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.registerService("org.freedesktop.Notifications") &&
                bus.registerObject("/org/freedesktop/Notifications", &desktop,
                                   QDBusConnection::ExportAllSlots));
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessibleInterface* source = event->accessibleInterface();
            if (!source) {
                return;
            }
            const bool notice = source->role() == QAccessible::Notification;
            if (event->type() == QAccessible::NameChanged && !notice) {
                heard << source->text(QAccessible::Name);
            } else if (event->type() == QAccessible::Focus) {
                heard << "→ " + source->text(QAccessible::Name);
            } else if (event->type() == QAccessible::ObjectShow && notice) {
                heard << "« " + source->child(0)->text(QAccessible::Name) + " »";
            }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            if (event->type() == QAccessible::Announcement) {
                heard << "« " + static_cast<QAccessibleAnnouncementEvent*>(event)->message() + " »";
            }
#endif
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    // Random games against the model, from no record file, a folder in its place, one that cannot
    // be read, one that holds no record, or a record with words after it that a rewrite would
    // lose; one that fails is shrunk to a shortest that fails.
    void randomPlay() {
        QString failed; // where the game that failed last started, and its actions
        const bool passed = rc::check("random games against the model", [&] {
            const int stored = pick(50, true) - 10;
            const QString special = QStringList{"-", "/", "~", "notes\r\n", "/"}[(stored + 10) % 5];
            const Model model{startBoard, 0, stored >= 0 ? stored : 32,
                              stored >= 0 ? QString("%1,garde\r\n").arg(stored) : special};
            window.start(model.file);
            try {
                RC_ASSERT(window.seen() == model.seen(model)); // before any event
                rc::state::runAll(
                    *rc::gen::scale(2, rc::state::gen::commands(
                                           model, rc::state::gen::execOneOfWithArgs<Step>())),
                    model, window);
            } catch (...) {
                failed = QString(model.file).replace("\r\n", "\\r\\n") +
                         "\", as an example row:\nshortest: " + window.played.join(' ') + "\n";
                throw;
            }
        });
        QVERIFY2(passed, qPrintable("a game fails; the shortest, from record.txt \"" + failed));
    }

    // What random games cannot say: points beside the holes, the top hole where two overlap, other
    // buttons, and the arrow keys ("Left:47": after Left the focus is on hole 47, 0 is Effacer);
    // and the look, at scale 1, where a row names its picture, and the icon.
    void examples() {
        // clang-format off
        const QStringList rows[] = {
            {"beside the holes", "-", "@80,380 @200,375 @230,420 @100,360 @100,409 @10,10 @370,200 @80,60 @300,300", startBoard + " | 32 | - | start"},
            {"the overlap is the top hole's", "-", "@176,140 @175,140", "  ooo  /  ooo  /ooo*ooo/ooo.ooo/ooooooo/  ooo  /  ooo  / | 32 | -"},
            {"a double-click is two clicks", "-", "11 d11 25", "  ooo  /  o.o  /ooo.ooo/ooooooo/ooooooo/  ooo  /  ooo  / | 31 | 31\r\n"},
            {"taps and a finger's drag are clicks and a drag; a tap on Effacer resets", "-", "t11 t25 t16 t18 tE t23>25", "  ooo  /  ooo  /ooooooo/o..oooo/ooooooo/  ooo  /  ooo  / | 30 | 30\r\n"},
            {"other buttons do nothing", "-", "r11 r4 4 r4", "  o*o  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  / | 32 | -"},
            {"the arrows, inside the cross and round its corners", "-", "Left:47 Right:34 Down:40 Down:47 Down:47 Left:46 Left:45 Left:30 Left:29 Left:29 Up:22 Up:15 Up:10 Up:3 Up:3 Backtab:0 Down:3 Left:16 Up:10 Right:11 Right:12 Right:20 Right:21 Right:21 Down:28 Down:35 Down:40 Right:34", startBoard + " | 32 | -"}};
        // clang-format on
        for (const QStringList& row : rows) {
            window.start(row[1]);
            for (const QString& text : row[2].split(' ')) {
                const QStringList step = text.split(':'); // an action, and where the focus lands
                const Action action = parse(step[0]);
                QVERIFY2(action.kind, qPrintable(row[0] + ": there is no action " + text));
                window.act(action);
                const QString focus = window.seen()[4];
                QVERIFY2(step.size() == 1 || focus == step[1],
                         qPrintable(row[0] + ": after " + text + " the focus is on " + focus));
            }
            // The board, the record and the file, and the pegs left and counters' rows they give.
            const QStringList want = row[3].split(" | ");
            const Model model{want[0], 0, want[1].toInt(), want[2]};
            const QString got = window.seen().mid(0, 3).join(" | ");
            const QString expected = model.seen(model).mid(0, 3).join(" | ");
            QVERIFY2(got == expected,
                     qPrintable(row[0] + "\n got  " + got + "\n want " + expected));
            const QString look = want.size() < 4 || qApp->devicePixelRatio() != 1
                                     ? ""
                                     : unlike(window.form->grab().toImage(), want[3]);
            QVERIFY2(look.isEmpty(), qPrintable(row[0] + ": " + look));
        }
        for (int size : {16, 32, 48}) {
            const QString look = unlike(window.form->windowIcon().pixmap({size, size}, 1).toImage(),
                                        QString("icon-%1").arg(size));
            QVERIFY2(look.isEmpty(), qPrintable(look));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
