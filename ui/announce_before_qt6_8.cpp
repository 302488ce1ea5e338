// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// announce_before_qt6_8.cpp: stand-ins for Qt's announcements, which Qt 6.8 brought. Before it a
// changed name reaches screen readers without the name itself, so they say nothing of it, and
// nothing is said at once. This file goes when the oldest Qt the game is built with is 6.8.
#include "announce.h"

#include "hole.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace {

// The hole that screen readers were last told holds the peg picked up.
QPointer<const QWidget> toldHeld;

// A notification that appears is read out at once: what is to be said goes into one that is
// never drawn. Orca 43 shows on the braille display only the lines of text inside a
// notification, and only those drawn on screen unless the notification is in a status bar: the
// notice is in a status bar that is never drawn either, and its message is the one line of text
// in it.
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

} // namespace

// Orca 43 reads the focused hole again, on the braille display too, only when a state of it
// changes: the hole that holds the peg picked up is a pressed toggle, as long as it holds it.
void addHoleState(const Hole& hole, QAccessible::State& state) {
    state.checkable = true;
    state.checked = hole.held();
    // A screen reader that asks is told too, even one started while the peg was held.
    if (hole.held() || toldHeld == &hole) {
        toldHeld = hole.held() ? &hole : nullptr;
    }
}

QAccessibleInterface* announcerInterface(QWidget* widget) {
    if (widget->objectName() == "Notice") {
        return new Notice(widget);
    }
    if (widget->objectName() == "StatusLine") {
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    }
    return nullptr;
}

// A hole that takes the peg picked up, or loses it, is toggled. Any changed hole that has the
// focus, the one the screen reader just pressed or one a jump or Effacer changed under it, is
// said at once, as its new name is not.
bool tellHoleChanged(Hole& hole) {
    if (hole.held() != (toldHeld == &hole)) {
        toldHeld = hole.held() ? &hole : nullptr;
        QAccessible::State checked;
        checked.checked = true;
        QAccessibleStateChangeEvent toggled(&hole, checked);
        QAccessible::updateAccessibility(&toggled);
    }
    return hole.hasFocus();
}

void announce(QWidget* window, const QString& message) {
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
}
