// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// spoken.cpp: what a blind player hears. The holes are buttons named by their place and what
// they hold, reached with Tab and the arrow keys and pressed by the screen reader; each counter
// row is read once; the pegs left and a new record are said as soon as they change.
#include "spoken.h"

#include "form1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

namespace {

// The names are worked out when asked for, so nothing is stored or sent before the player's
// first event: the platform's accessibility bridge then starts after the first frame, as in any
// Qt window, rather than delaying it.
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

// A hole is a button: its "press" action is a click on it, which a screen reader makes with its
// own click command on the focused hole. Keys only move the focus between holes.
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
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Before Qt 6.8 a screen reader hears of no new name; Orca 43 reads the focused hole again,
    // on the braille display too, only when a state of it changes. The hole that holds the peg
    // picked up is a pressed toggle, as long as it holds it.
    QAccessible::State state() const override {
        QAccessible::State state = SpokenWidget::state();
        state.checkable = true;
        state.checked = static_cast<const Hole*>(widget())->held();
        return state;
    }
#endif
};

// The fixed words beside a counter ("Il vous reste", "pion(s)") are already in the counter's
// name; hidden from screen readers, they are not read twice.
class SilentWords : public QAccessibleWidget {
public:
    explicit SilentWords(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

// Before Qt 6.8 there are no announcements, and a changed name is sent to screen readers without
// the name itself, so they say nothing. A notification that appears is read out at once: the
// message goes into one that is never drawn. Orca 43 shows on the braille display only the lines
// of text inside a notification, and only those drawn on screen unless the notification is in a
// status bar: the notice is in a status bar that is never drawn either, and its message is the
// one line of text in it.
class NoticeText : public QAccessibleInterface {
public:
    explicit NoticeText(QWidget* widget) : notice(widget) {}
    QString message;
    bool isValid() const override { return !notice.isNull(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(notice);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Name ? message : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override { return parent()->state(); }

private:
    QPointer<QWidget> notice;
};

class Notice : public QAccessibleWidget {
public:
    explicit Notice(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification), line(new NoticeText(widget)) {
        QAccessible::registerAccessibleInterface(line);
    }
    ~Notice() override { QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(line)); }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? line : nullptr; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == line ? 0 : -1;
    }
    void say(const QString& message) { line->message = message; }

private:
    NoticeText* line;
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
    const QString name = object->objectName();
    if (widget && name == "Notice") {
        return new Notice(widget);
    }
    if (!widget || !dynamic_cast<Form1*>(widget->parentWidget())) {
        return nullptr;
    }
    if (dynamic_cast<Hole*>(widget)) {
        return new PressableHole(widget, holeName);
    }
    if (name == "Label2") {
        return new SpokenWidget(widget, pegCountName);
    }
    if (name == "Label6") {
        return new SpokenWidget(widget, recordName);
    }
    if (name == "Label1" || name == "Label3" || name == "Label5" || name == "Label4") {
        return new SilentWords(widget);
    }
    if (name == "StatusLine") {
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    }
    return nullptr;
}

QString spokenName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

void announce(QWidget* window, const QString& message) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(window, message);
    QAccessible::updateAccessibility(&announcement);
#else
    auto* notice = window->findChild<QWidget*>("Notice");
    if (!notice) {
        auto* statusLine = new QWidget(window);
        statusLine->setObjectName("StatusLine");
        statusLine->hide();
        notice = new QWidget(statusLine);
        notice->setObjectName("Notice");
    }
    static_cast<Notice*>(QAccessible::queryAccessibleInterface(notice))->say(message);
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

} // namespace

void installSpokenNames() {
    static const bool installed = (QAccessible::installFactory(spokenInterface), true);
    Q_UNUSED(installed);
}

void tellChanges(const QList<QWidget*>& changed, const QStringList& news) {
    if (!QAccessible::isActive() || changed.isEmpty()) {
        return;
    }
    QStringList said;
    for (QWidget* widget : changed) {
        if (dynamic_cast<Hole*>(widget)) {
            // A label tells screen readers itself when its text changes; a hole does not.
            QAccessibleEvent event(widget, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
            if (static_cast<const Hole*>(widget)->heldChanged()) {
                QAccessible::State checked;
                checked.checked = true;
                QAccessibleStateChangeEvent toggled(widget, checked);
                QAccessible::updateAccessibility(&toggled);
            }
#endif
            // The hole the screen reader just pressed is read out through the notice too.
            if (QT_VERSION < QT_VERSION_CHECK(6, 8, 0) && widget->hasFocus()) {
                said << spokenName(widget);
            }
        } else {
            said << spokenName(widget);
        }
    }
    // One message for all, so that one change cannot cut another short.
    said << news;
    if (!said.isEmpty()) {
        announce(changed[0]->window(), said.join(". "));
    }
}
