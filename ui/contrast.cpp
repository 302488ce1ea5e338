// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// contrast.cpp: reading and following the desktop's high-contrast preference through the
// settings portal, as GTK does, over Qt's D-Bus module.
#include "contrast.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QWidget>

namespace {

const QString portal = "org.freedesktop.portal.Desktop";
const QString portalPath = "/org/freedesktop/portal/desktop";
const QString settings = "org.freedesktop.portal.Settings";
// The freedesktop key (1 asks for more contrast) is newer; GNOME's switch is there before it.
const std::pair<QString, QString> contrastKey{"org.freedesktop.appearance", "contrast"};
const std::pair<QString, QString> gnomeKey{"org.gnome.desktop.a11y.interface", "high-contrast"};

// Read answers with the value in a variant inside a variant, in every version of the portal;
// ReadOne, which Debian 12's portal lacks, and SettingChanged carry it in one.
QVariant unwrapped(QVariant value) {
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}

} // namespace

ContrastPreference::ContrastPreference(QWidget* window, std::function<void(bool)> applyTo)
    : QObject(window), apply(std::move(applyTo)) {
    window->installEventFilter(this);
}

// The question goes out once the window's first frame is drawn, so that asking, and the session
// bus connection it needs, never holds the window back.
bool ContrastPreference::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &ContrastPreference::ask, Qt::QueuedConnection);
    }
    return false;
}

void ContrastPreference::ask() {
    // Qt connects a slot that takes a D-Bus variant only once that type is registered. Any
    // sender will do: the portal may start only with the first question.
    qRegisterMetaType<QDBusVariant>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect({}, portalPath, settings, "SettingChanged", this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    for (const std::pair<QString, QString>& setting : {contrastKey, gnomeKey}) {
        // Read rather than ReadOne: Debian 12's portal has only the first.
        QDBusMessage read = QDBusMessage::createMethodCall(portal, portalPath, settings, "Read");
        read << setting.first << setting.second;
        auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
        connect(answer, &QDBusPendingCallWatcher::finished, this,
                [this, setting](QDBusPendingCallWatcher* call) {
                    const QDBusPendingReply<QDBusVariant> reply = *call;
                    if (!reply.isError()) {
                        take(setting.first, setting.second, reply.value().variant());
                    }
                    call->deleteLater();
                });
    }
}

void ContrastPreference::settingChanged(const QString& group, const QString& key,
                                        const QDBusVariant& value) {
    take(group, key, value.variant());
}

void ContrastPreference::take(const QString& group, const QString& key, const QVariant& value) {
    const std::pair<QString, QString> setting{group, key};
    if (setting == contrastKey) {
        freedesktop = unwrapped(value).toUInt() == 1;
    } else if (setting == gnomeKey) {
        gnome = unwrapped(value).toBool();
    } else {
        return;
    }
    // Where the portal has the freedesktop setting, it wins: it is the answer of whatever desktop
    // runs, while GNOME's switch may linger in the settings of a player now on another desktop.
    apply(freedesktop.value_or(gnome.value_or(false)));
}
