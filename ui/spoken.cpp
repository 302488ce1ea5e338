// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// spoken.cpp: what a blind player hears. The holes are buttons named by their place and what
// they hold, reached with Tab and the arrow keys and pressed by the screen reader; each counter
// row is read once; the pegs left and a new record are said as soon as they change.
#include "spoken.h"

#include "announce.h"
#include "form1.h"
#include "hole.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

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
    QAccessible::State state() const override {
        QAccessible::State state = SpokenWidget::state();
        addHoleState(*static_cast<const Hole*>(widget()), state);
        return state;
    }
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
    if (QAccessibleInterface* announcer = widget ? announcerInterface(widget) : nullptr) {
        return announcer;
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
    return nullptr;
}

QString spokenName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
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
        if (auto* hole = dynamic_cast<Hole*>(widget)) {
            // A label tells screen readers itself when its text changes; a hole does not.
            QAccessibleEvent event(widget, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
            if (tellHoleChanged(*hole)) {
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
