// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// notification.cpp: the freedesktop notification, through Qt's D-Bus module, which Qt Gui
// itself already loads (for its accessibility bridge): the game loads no further library.
#include "notification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>

void notifyDesktop(const QString& summary, const QString& body) {
    QDBusMessage notify = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                         "/org/freedesktop/Notifications",
                                                         "org.freedesktop.Notifications", "Notify");
    // Name, replaced notification (none), icon, summary, body, actions (none), hints, and the
    // server's own display time.
    notify << QGuiApplication::applicationDisplayName() << 0u << QString("trebalune") << summary
           << body << QStringList()
           << QVariantMap{{"desktop-entry", QGuiApplication::desktopFileName()}} << -1;
    // Sent without waiting for the answer, so that a slow or missing service never holds the
    // game up.
    QDBusConnection::sessionBus().send(notify);
}
