// form1_test.cpp: the real window driven with Qt Test -- clicks, keys, texts and pixels.
#include "form1.h"
#include "twips.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QPoint centreOf(std::int16_t index) {
    const GameState board;
    const BoardCell& cell = board.plateau[index];
    return toPixels(cell.left, cell.top, cell.width, cell.height).center();
}

QByteArray recordBytes() {
    QFile file("record.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Counts the paint events each widget of a window receives.
class PaintCounter : public QObject {
public:
    QSet<QString> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.insert(watched->objectName());
        }
        return false;
    }
};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    QTemporaryDir* directory = nullptr;
    QString previousDirectory;
    Form1* form = nullptr;

    QString label(const char* name) const { return form->findChild<QLabel*>(name)->text(); }

    void click(std::int16_t index, Qt::MouseButton button = Qt::LeftButton) {
        clickAt(centreOf(index), button);
    }
    // Through the window, as the platform delivers it: to whatever lies under the point.
    void clickAt(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(form->windowHandle(), button, {}, point);
    }
    QImage grabbed() const { return form->grab().toImage(); }
    // The colour of a logical pixel; at a scale of 2 all four device pixels must agree.
    QColor pixel(const QImage& image, QPoint logical) const {
        const int ratio = qRound(image.devicePixelRatio());
        const QColor colour = image.pixelColor(logical * ratio);
        for (int dx = 0; dx < ratio; ++dx) {
            for (int dy = 0; dy < ratio; ++dy) {
                if (image.pixelColor(logical * ratio + QPoint(dx, dy)) != colour) {
                    return QColor(); // blurred or shifted: matches no expected colour
                }
            }
        }
        return colour;
    }
    // What a screen reader would speak for a named child of the window.
    QString spoken(const QString& name) const {
        QObject* object = form->findChild<QObject*>(name);
        QAccessibleInterface* face =
            object ? QAccessible::queryAccessibleInterface(object) : nullptr;
        return face ? face->text(QAccessible::Name) : QString("(none)");
    }
    void drag(std::int16_t from, QPoint to) {
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, centreOf(from));
        QTest::mouseMove(form->windowHandle(), (centreOf(from) + to) / 2);
        QTest::mouseMove(form->windowHandle(), to);
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, to);
    }
    void drag(std::int16_t from, std::int16_t to) { drag(from, centreOf(to)); }
    void expectStartingBoard() const {
        const GameState start;
        for (std::int16_t i = 1; i <= 49; ++i) {
            if (start.plateau[i].shown) {
                QCOMPARE(form->game.colourOf(i), start.plateau[i].colour);
            }
        }
    }

private slots:
    void init() {
        previousDirectory = QDir::currentPath();
        directory = new QTemporaryDir;
        QVERIFY(directory->isValid());
        QDir::setCurrent(directory->path());
        form = new Form1;
        form->startUp();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup() {
        delete form;
        QDir::setCurrent(previousDirectory);
        delete directory;
    }

    void opensAtItsFixedSizeWithBothCountersAt32() {
        QCOMPARE(form->windowTitle(), QString("Trebalune"));
        QCOMPARE(form->size(), QSize(385, 444));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(label("Label1"), QString("Il vous reste"));
        QCOMPARE(label("Label2"), QString("32"));
        QCOMPARE(label("Label3"), QString("pion(s)"));
        QCOMPARE(label("Label4"), QString("pion(s)"));
        QCOMPARE(label("Label5"), QString("Record de ce jeu"));
        QCOMPARE(label("Label6"), QString("32"));
        auto* button = form->findChild<QPushButton*>("Command1");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Effacer"));
        QCOMPARE(button->geometry(), QRect(312, 368, 65, 33));
        QCOMPARE(form->findChild<QLabel*>("Label6")->geometry(), QRect(224, 416, 17, 17));
        QVERIFY(form->findChild<QWidget*>("Line1"));
        QVERIFY(form->findChild<QWidget*>("Line2"));
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(!QFile::exists("record.txt"));
    }

    void opensWithTheStoredRecord() {
        delete form;
        QFile file("record.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("7\r\n");
        file.close();
        form = new Form1;
        form->startUp();
        QCOMPARE(label("Label6"), QString("7"));
        QCOMPARE(label("Label2"), QString("32"));
    }

    void selectingPuttingBackAndJumping() {
        click(11);
        QCOMPARE(form->game.colourOf(11), selectedMagenta);
        QCOMPARE(label("Label2"), QString("32"));
        click(11);
        QCOMPARE(form->game.colourOf(11), pegBlue);
        QVERIFY(!form->game.pegSelected);

        click(11);
        click(25);
        QCOMPARE(form->game.colourOf(11), emptyOrange);
        QCOMPARE(form->game.colourOf(18), emptyOrange);
        QCOMPARE(form->game.colourOf(25), pegBlue);
        QCOMPARE(label("Label2"), QString("31"));
        QCOMPARE(label("Label6"), QString("31"));
        QCOMPARE(recordBytes(), QByteArray("31\r\n"));
    }

    void refusedClicksKeepTheSelection() {
        click(25); // the empty centre, nothing held
        QVERIFY(!form->game.pegSelected);
        click(4);
        click(25); // out of reach
        click(10); // another peg
        QVERIFY(form->game.pegSelected);
        QCOMPARE(form->game.colourOf(4), selectedMagenta);
        QCOMPARE(form->game.colourOf(25), emptyOrange);
        QCOMPARE(form->game.colourOf(10), pegBlue);
    }

    void clicksOffTheHolesDoNothing() {
        const QPoint misses[] = {
            {80, 380},  // Label1
            {200, 375}, // Label2
            {230, 420}, // Label6
            {100, 360}, // Line1
            {100, 409}, // Line2
            {10, 10},   // background
            {370, 200}, // background right of the board
            {80, 60},   // where hidden corner cell 1 lies
            {300, 300}, // where hidden corner cell 48 lies
        };
        for (const QPoint point : misses) {
            clickAt(point);
        }
        expectStartingBoard();
        QVERIFY(!form->game.pegSelected);
        QCOMPARE(form->holeAt({80, 60}), std::int16_t(0));
    }

    void onlyTheLeftButtonClicksAndBothPressesOfADoubleClickCount() {
        click(11, Qt::RightButton);
        click(11, Qt::MiddleButton);
        QVERIFY(!form->game.pegSelected);

        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, centreOf(11));
        QVERIFY2(!form->game.pegSelected, "picked up and put back");
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, centreOf(18));
        QVERIFY(!form->game.pegSelected);
        expectStartingBoard();
    }

    void draggingAPegOntoAnEmptyHoleJumps() {
        drag(11, 25);
        QCOMPARE(form->game.colourOf(11), emptyOrange);
        QCOMPARE(form->game.colourOf(18), emptyOrange);
        QCOMPARE(form->game.colourOf(25), pegBlue);
        QVERIFY(!form->game.pegSelected);
        QCOMPARE(label("Label2"), QString("31"));
        QCOMPARE(recordBytes(), QByteArray("31\r\n"));
    }

    void refusedDragLeavesTheDraggedPegHeld() {
        drag(4, 25); // out of reach
        QVERIFY(form->game.pegSelected);
        QCOMPARE(form->game.colourOf(4), selectedMagenta);
        QCOMPARE(label("Label2"), QString("32"));
        QVERIFY(!QFile::exists("record.txt"));
    }

    void draggingTheHeldPegDropsItIntoTheHole() {
        click(11);
        drag(11, 25);
        QCOMPARE(form->game.colourOf(25), pegBlue);
        QCOMPARE(form->game.colourOf(11), emptyOrange);
        QVERIFY(!form->game.pegSelected);
    }

    void draggingAnotherPegPutsTheHeldOneBackFirst() {
        click(4);
        drag(11, 25);
        QCOMPARE(form->game.colourOf(4), pegBlue);
        QCOMPARE(form->game.colourOf(25), pegBlue);
        QCOMPARE(form->game.colourOf(18), emptyOrange);
        QVERIFY(!form->game.pegSelected);
    }

    void dragsThatAreNotMovesDoNothing() {
        drag(11, 12);               // onto another peg
        drag(11, QPoint(200, 380)); // released off the holes, on a label
        drag(11, QPoint(80, 60));   // released where a hidden cell lies
        drag(25, 11);               // from the empty centre
        QVERIFY(!form->game.pegSelected);
        expectStartingBoard();
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, centreOf(11));
        QVERIFY2(!form->game.pegSelected, "a press off the holes is no click");
    }

    void screenReadersHearHolesAndCounters() {
        QCOMPARE(spoken("plateau(25)"), QString("Trou, ligne 4, colonne 4 : vide"));
        QCOMPARE(spoken("plateau(11)"), QString("Trou, ligne 2, colonne 4 : pion"));
        QCOMPARE(spoken("plateau(47)"), QString("Trou, ligne 7, colonne 5 : pion"));
        QCOMPARE(spoken("Label2"), QString("Il vous reste 32 pion(s)"));
        QCOMPARE(spoken("Label6"), QString("Record de ce jeu : 32 pion(s)"));
        QCOMPARE(spoken("Command1"), QString("Effacer"));

        click(11);
        QCOMPARE(spoken("plateau(11)"), QString("Trou, ligne 2, colonne 4 : pion sélectionné"));
        click(25);
        QCOMPARE(spoken("plateau(11)"), QString("Trou, ligne 2, colonne 4 : vide"));
        QCOMPARE(spoken("plateau(18)"), QString("Trou, ligne 3, colonne 4 : vide"));
        QCOMPARE(spoken("plateau(25)"), QString("Trou, ligne 4, colonne 4 : pion"));
        QCOMPARE(spoken("Label2"), QString("Il vous reste 31 pion(s)"));
        QCOMPARE(spoken("Label6"), QString("Record de ce jeu : 31 pion(s)"));

        QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(spoken("plateau(25)"), QString("Trou, ligne 4, colonne 4 : vide"));
        QCOMPARE(spoken("plateau(11)"), QString("Trou, ligne 2, colonne 4 : pion"));
        QCOMPARE(spoken("Label2"), QString("Il vous reste 32 pion(s)"));
        QCOMPARE(spoken("Label6"), QString("Record de ce jeu : 31 pion(s)"));

        // Holes never take the focus from the button.
        QAccessibleInterface* hole =
            QAccessible::queryAccessibleInterface(form->findChild<QObject*>("plateau(25)"));
        QVERIFY(!hole->state().focusable);
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(form->findChild<QObject*>("Command1"));
        QVERIFY(button->state().focusable);
        QCOMPARE(button->role(), QAccessible::Button);
    }

    void overlappingEdgeGoesToTheHoleDrawnOnTop() {
        // Holes 24 and 25 share one pixel column; 25 is drawn over 24.
        const QRect left = form->findChild<QWidget*>("plateau(24)")->geometry();
        const QRect right = form->findChild<QWidget*>("plateau(25)")->geometry();
        QCOMPARE(left.right(), right.left());
        QCOMPARE(form->holeAt({right.left(), right.center().y()}), std::int16_t(25));
        QCOMPARE(form->holeAt({right.left() - 1, right.center().y()}), std::int16_t(24));
    }

    void spaceAndEnterPressEffacerOnAFreshWindow() {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
        click(11);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!form->game.pegSelected);
        expectStartingBoard();
        // Clicking a hole leaves the focus on the button.
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
        click(11);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!form->game.pegSelected);
        click(18);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(!form->game.pegSelected);
        expectStartingBoard();
        QCOMPARE(label("Label2"), QString("32"));
        QCOMPARE(label("Label6"), QString("32"));
        QVERIFY(!QFile::exists("record.txt"));
    }

    void effacerWithAPegSelectedLeavesNoMagenta() {
        click(11);
        click(25);
        click(32);
        QCOMPARE(label("Label2"), QString("31"));
        QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(!form->game.pegSelected);
        QCOMPARE(label("Label2"), QString("32"));
        QCOMPARE(label("Label6"), QString("31"));
        const QImage image = grabbed();
        for (std::int16_t i = 1; i <= 49; ++i) {
            if (form->game.plateau[i].shown) {
                QVERIFY(pixel(image, centreOf(i)) != toQColor(selectedMagenta));
            }
        }
        QCOMPARE(pixel(image, centreOf(25)), toQColor(emptyOrange));
        QCOMPARE(pixel(image, centreOf(11)), toQColor(pegBlue));
    }

    void onlyChangedHolesAreRepainted() {
        PaintCounter counter;
        for (QWidget* child : form->findChildren<QWidget*>()) {
            child->installEventFilter(&counter);
        }
        QCoreApplication::processEvents();
        counter.painted.clear();
        click(39);
        QCoreApplication::processEvents();
        QVERIFY(counter.painted.contains("plateau(39)"));
        // Only the hole and the neighbours sharing its one-pixel edge may be touched.
        const QSet<QString> allowed{"plateau(39)", "plateau(32)", "plateau(38)", "plateau(40)",
                                    "plateau(46)"};
        for (const QString& name : counter.painted) {
            QVERIFY2(allowed.contains(name), qPrintable(name + " was repainted"));
        }
    }

    void windowPixelsShowTheGame() {
        click(11);
        click(25);
        click(39);
        const QImage image = grabbed();
        const qreal ratio = form->devicePixelRatioF();
        QCOMPARE(image.size(), QSize(qRound(385 * ratio), qRound(444 * ratio)));
        for (std::int16_t i = 1; i <= 49; ++i) {
            if (form->game.plateau[i].shown) {
                QCOMPARE(pixel(image, centreOf(i)), toQColor(form->game.colourOf(i)));
                // The sunken border, two pixels wide at any scale: grey and black above and
                // left, light grey inside the right and lower edges (which neighbours overlap).
                const QRect r = toPixels(form->game.left(i), form->game.top(i), 615, 615);
                const int midX = r.center().x();
                const int midY = r.center().y();
                QCOMPARE(pixel(image, {midX, r.top()}), QColor(0x80, 0x80, 0x80));
                QCOMPARE(pixel(image, {midX, r.top() + 1}), QColor(Qt::black));
                QCOMPARE(pixel(image, {r.left() + 1, midY}), QColor(Qt::black));
                QCOMPARE(pixel(image, {midX, r.bottom() - 1}), QColor(0xC0, 0xC0, 0xC0));
                QCOMPARE(pixel(image, {r.right() - 1, midY}), QColor(0xC0, 0xC0, 0xC0));
                QCOMPARE(pixel(image, {midX, r.top() + 2}), toQColor(form->game.colourOf(i)));
            }
        }
        QCOMPARE(pixel(image, centreOf(39)), toQColor(selectedMagenta));
        const QColor orange = toQColor(0x000080FF);
        for (int x : {0, 100, 383}) {
            QCOMPARE(pixel(image, {x, 360}), orange);
            QCOMPARE(pixel(image, {x, 361}), orange);
            QCOMPARE(pixel(image, {x, 408}), orange);
            QCOMPARE(pixel(image, {x, 409}), orange);
        }
        QCOMPARE(pixel(image, {100, 362}), toQColor(emptyOrange));
        QCOMPARE(pixel(image, {10, 10}), toQColor(emptyOrange));
        QCOMPARE(pixel(image, {80, 60}), toQColor(emptyOrange)); // hidden cells are not drawn
        // The button face, left of its caption.
        QCOMPARE(pixel(image, {318, 384}), orange);
        QCOMPARE(pixel(image, {366, 380}), orange);
        // Yellow text somewhere in the pegs-left row.
        bool yellow = false;
        for (int x = 72; x < 193 && !yellow; ++x) {
            for (int y = 368; y < 393 && !yellow; ++y) {
                yellow = pixel(image, {x, y}) == QColor(255, 255, 0);
            }
        }
        QVERIFY(yellow);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
