// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// window_test.cpp: the real window played through its events and read back from the screen.
#include "cap_icon.h"
#include "form1.h"

#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor blue(0, 0, 255), orange(255, 192, 128), magenta(255, 0, 255), face(255, 128, 0);

// The centre of grid cell i in the window: the holes are 41 px squares on a 40 px pitch.
QPoint centreOf(int i) {
    return {76 + 40 * ((i - 1) % 7), 60 + 40 * ((i - 1) / 7)};
}
bool isHole(int i) {
    const int row = (i - 1) / 7, column = (i - 1) % 7;
    return (column >= 2 && column <= 4) || (row >= 2 && row <= 4);
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

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir* directory = nullptr;
    Form1* form = nullptr;

    void open() {
        form = new Form1;
        form->startUp();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
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
    // The board on the screen, the rows of the 7 x 7 grid between slashes: 'o' a peg, '.' an
    // empty hole, '*' the peg picked up, ' ' background where no hole is, '?' anything else.
    QString board() const {
        const QImage image = screen();
        const QHash<QRgb, QChar> marks{
            {blue.rgb(), 'o'}, {orange.rgb(), '.'}, {magenta.rgb(), '*'}};
        QString picture;
        for (int i = 1; i <= 49; ++i) {
            const QColor c = pixel(image, centreOf(i));
            picture += QString(isHole(i) || c != orange ? marks.value(c.rgb(), '?') : ' ') +
                       (i % 7 ? "" : "/");
        }
        return picture;
    }
    // "11" a click on hole 11, "@x,y" on a point, "r11" a right click, "d11" a double-click,
    // "11>25" a drag, "E" a click on Effacer, or a key.
    void act(const QString& action) {
        QWindow* window = form->windowHandle();
        const auto at = [](QString where) {
            const QStringList xy = where.remove(QRegularExpression("^[rd@]")).split(',');
            return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : centreOf(xy[0].toInt());
        };
        const QPoint from = at(action.section('>', 0, 0)), to = at(action.section('>', -1));
        const Qt::MouseButton button = action[0] == 'r' ? Qt::RightButton : Qt::LeftButton;
        if (action == "E") {
            QTest::mouseClick(child("Command1"), Qt::LeftButton);
        } else if (action[0].isUpper()) {
            QTest::keyClick(window, QKeySequence(action)[0].key());
        } else if (action[0] == 'd') {
            QTest::mouseDClick(window, Qt::LeftButton, {}, from);
        } else {
            QTest::mousePress(window, button, {}, from);
            QTest::mouseMove(window, (from + to) / 2);
            QTest::mouseRelease(window, button, {}, to);
        }
    }

private slots:
    void init() {
        directory = new QTemporaryDir;
        QVERIFY(QDir::setCurrent(directory->path()));
    }
    void cleanup() {
        delete form;
        delete directory;
    }

    void play_data() {
        for (const char* column : {"file", "actions", "board", "pegsLeft", "record", "fileAfter"}) {
            QTest::addColumn<QString>(column);
        }
        const QString start = "  ooo  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /";
        const QString jumped = "  ooo  /  o.o  /ooo.ooo/ooooooo/ooooooo/  ooo  /  ooo  /";
        const QString holding4 = "  o*o  /  ooo  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /";
        // clang-format off
        const QStringList rows[] = {
            {"opening", "-", "", start, "32", "32", "-"},
            {"stored record shown", "7\r\n", "", start, "32", "7", "7\r\n"},
            {"first jump sets the record", "-", "11 25", jumped, "31", "31", "31\r\n"},
            {"refused clicks keep the peg held", "-", "25 4 25 10 4>25", holding4, "32", "32", "-"},
            {"beside the holes", "-", "@80,380 @200,375 @230,420 @100,360 @100,409 @10,10 @370,200 @80,60 @300,300", start, "32", "32", "-"},
            {"other buttons do nothing", "-", "r11 r4 4 r4", holding4, "32", "32", "-"},
            {"double-clicks pick up and put back", "-", "d11 d18", start, "32", "32", "-"},
            {"the overlap is the top hole's", "-", "@176,140 @175,140", "  ooo  /  ooo  /ooo*ooo/ooo.ooo/ooooooo/  ooo  /  ooo  /", "32", "32", "-"},
            {"drag", "-", "11>25", jumped, "31", "31", "31\r\n"},
            {"drag of the held peg", "-", "11 11>25", jumped, "31", "31", "31\r\n"},
            {"drag puts the held peg back first", "-", "4 11>25", jumped, "31", "31", "31\r\n"},
            {"drags that are no move", "-", "11>12 11>@200,380 11>@80,60 25>11 @10,10>11", start, "32", "32", "-"},
            {"Effacer", "-", "11 25 32 E", start, "32", "31", "31\r\n"},
            {"Effacer, then a pick", "-", "E 11", "  ooo  /  o*o  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /", "32", "32", "-"},
            {"no jump over an empty hole", "-", "11 25 4 18", "  o*o  /  o.o  /ooo.ooo/ooooooo/ooooooo/  ooo  /  ooo  /", "31", "31", "31\r\n"},
            {"no jump across the board's edge, after Effacer", "-", "E 27 25 29 27 29 24 26 22 24 20 22 20", "  ooo  /  ooo  /ooooooo/..o.o.o/ooooooo/  ooo  /  ooo  /", "29", "29", "29\r\n"},
            {"no jump across the edge, right", "-", "23 25 21 23 21 38 24 29 31 27 29 27", "  ooo  /  ooo  /ooooooo/o.ooooo/..ooooo/  .oo  /  ooo  /", "29", "29", "29\r\n"},
            {"no jump across the edge, lower right", "-", "39 25 30 32 28 30 28", "  ooo  /  ooo  /ooooooo/ooooooo/o..oooo/  o.o  /  ooo  /", "30", "30", "30\r\n"},
            {"no jump across the edge, left", "-", "11 25 20 18 22 20 22", "  ooo  /  o.o  /oooo..o/ooooooo/ooooooo/  ooo  /  ooo  /", "30", "30", "30\r\n"},
            {"no jump across the edge, upper left", "-", "27 25 12 26 21 19 23 21 23", "  ooo  /  oo.  /ooooo../ooooo.o/ooooooo/  ooo  /  ooo  /", "29", "29", "29\r\n"},
            {"no jump across the edge, lower left", "-", "23 25 26 24 28 26 30 28 30", "  ooo  /  ooo  /ooooooo/o.o.o../ooooooo/  ooo  /  ooo  /", "29", "29", "29\r\n"},
            {"Space, Return and Enter", "-", "11 Space 11 Return 18 Enter", start, "32", "32", "-"},
            {"a record above 32 falls at the first pick", "40\r\n", "11", "  ooo  /  o*o  /ooooooo/ooo.ooo/ooooooo/  ooo  /  ooo  /", "32", "32", "32\r\n"},
            {"an equal record writes nothing", "31,mine\r\n", "11 25", jumped, "31", "31", "31,mine\r\n"},
            {"an unwritable record", "DIR", "11 25 32", "  ooo  /  o.o  /ooo.ooo/ooooooo/ooo*ooo/  ooo  /  ooo  /", "31", "31", "DIR"},
            {"a whole game, and Effacer", "-", "11 25 16 18 3 17 5 3 18 16 15 17 19 5 21 19 24 10 3 17 22 24 24 10 26 24 28 26 26 12 5 19 31 17 10 24 29 31 32 30 40 26 35 33 45 31 24 38 47 45 45 31 30 32 32 34 19 33 34 32 39 25 E",
             start, "32", "1", "1\r\n"}};
        // clang-format on
        for (const QStringList& r : rows) {
            QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4] << r[5] << r[6];
        }
    }
    void play() {
        QFETCH(QString, file);
        QFETCH(QString, actions);
        QFile record("record.txt");
        QVERIFY(file == "-" || (file == "DIR" ? QDir().mkdir("record.txt")
                                              : record.open(QIODevice::WriteOnly) &&
                                                    record.write(file.toUtf8()) && record.flush()));
        record.close();
        open();
        for (const QString& action : actions.split(' ', Qt::SkipEmptyParts)) {
            act(action);
        }
        QTEST(board(), "board");
        QTEST(form->findChild<QLabel*>("Label2")->text(), "pegsLeft");
        QTEST(form->findChild<QLabel*>("Label6")->text(), "record");
        const QString after = record.open(QIODevice::ReadOnly) ? record.readAll() : "-";
        QTEST(QFileInfo(record).isDir() ? "DIR" : after, "fileAfter");
    }

    void layoutAndPixels() {
        open();
        QCOMPARE(form->windowTitle(), "Trebalune");
        QCOMPARE(form->size(), QSize(385, 444));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(child("Command1")->geometry(), QRect(312, 368, 65, 33));
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
            QCOMPARE(label->alignment(), e.alignment | Qt::AlignTop);
            bool yellow = false; // and the text is drawn, in yellow
            for (int i = 0; i < e.where.width() * e.where.height(); ++i) {
                const QPoint at(i % e.where.width(), i / e.where.width());
                yellow = yellow || pixel(image, e.where.topLeft() + at) == Qt::yellow;
            }
            QVERIFY2(yellow, e.name);
        }
        // clang-format off
        const std::pair<QPoint, QColor> probes[] = { // hole 11's sunken border, Line1, Line2, the button
            {{156, 80}, QColor(0x80, 0x80, 0x80)}, {{156, 81}, Qt::black}, {{136, 100}, QColor(0x80, 0x80, 0x80)},
            {{137, 100}, Qt::black}, {{175, 100}, QColor(0xC0, 0xC0, 0xC0)}, {{156, 119}, QColor(0xC0, 0xC0, 0xC0)},
            {{100, 359}, orange}, {{100, 360}, face}, {{0, 361}, face}, {{383, 362}, orange}, {{10, 10}, orange},
            {{100, 407}, orange}, {{383, 408}, face}, {{0, 409}, face}, {{100, 410}, orange}, {{318, 384}, face}};
        // clang-format on
        for (const auto& [at, colour] : probes) {
            QCOMPARE(pixel(image, at), colour);
        }
        for (int i = 1; i <= 49; ++i) { // every hole in its place, its border on the grid
            QVERIFY(!isHole(i) ||
                    pixel(image, centreOf(i) - QPoint(0, 20)) == QColor(0x80, 0x80, 0x80));
        }
        // The icon's soft edges, in the window and in the desktop's theme, as the cap was drawn.
        const QImage drawn = drawCap(48).convertToFormat(QImage::Format_ARGB32);
        const QImage shown = form->windowIcon().pixmap({48, 48}, 1.0).toImage();
        const QImage theme(THEME_ICON);
        int edge = 0;
        while (qAlpha(drawn.pixel(edge % 48, edge / 48)) % 255 == 0) {
            ++edge;
        }
        const QPoint at(edge % 48, edge / 48);
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32).pixel(at), drawn.pixel(at));
        QCOMPARE(theme.convertToFormat(QImage::Format_ARGB32).pixel(at), drawn.pixel(at));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
