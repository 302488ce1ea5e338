// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// contrast.h: the player's wish for more contrast, as the desktop's settings portal tells it.
#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QDBusVariant;
class QWidget;

// Once `window` has drawn its first frame, asks the desktop's settings portal, without waiting
// for it, whether the player wants more contrast, and calls `apply` with each answer and each
// change the portal signals. With no portal, or no answer, `apply` is never called.
class ContrastPreference : public QObject {
    Q_OBJECT

public:
    ContrastPreference(QWidget* window, std::function<void(bool)> apply);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void ask();
    void take(const QString& group, const QString& key, const QVariant& value);

    std::function<void(bool)> apply;
    std::optional<bool> freedesktop; // org.freedesktop.appearance contrast, where the portal has it
    std::optional<bool> gnome; // GNOME's own high-contrast switch, which older portals pass on
};
