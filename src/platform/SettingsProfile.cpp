// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace zadw {

QString IniProfile::readString(const QString& section, const QString& key,
                               const QString& fallback) {
    QSettings settings(path_, QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key, fallback).toString();
}

bool IniProfile::writeString(const QString& section, const QString& key, const QString& value) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    // Written with its default the first time, so the collector finds the key to change.
    if (!settings.contains(QStringLiteral("Mail/Method"))) {
        settings.setValue(QStringLiteral("Mail/Method"), QStringLiteral("auto"));
    }
    settings.sync();
    if (settings.status() == QSettings::FormatError) {
        // A profile that could not be parsed keeps its "format error" after a write that went
        // through; what counts is whether the value is there now.
        QSettings check(path_, QSettings::IniFormat);
        return check.value(section + QLatin1Char('/') + key).toString() == value;
    }
    return settings.status() == QSettings::NoError;
}

std::optional<int> readRegularPioneerGoal(SettingsProfile& profile, int fallback) {
    const QString text =
        profile.readString(QStringLiteral("Year"), QStringLiteral("RegularPioneerGoal"), QString())
            .trimmed();
    if (text.isEmpty()) {
        return fallback;
    }
    bool ok = false;
    const int goal = text.toInt(&ok);
    if (!ok || goal < 1 || goal > 9999) {
        return std::nullopt;
    }
    return goal;
}

QString profilePathFor(const QString& programPath) {
    const QString chosen = QString::fromLocal8Bit(qgetenv("ZADW_PROFILE"));
    if (QDir::isAbsolutePath(chosen)) {
        return chosen;
    }
    const QFileInfo program(programPath);
    const QString name = program.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    // Only a profile someone put there on purpose: a writable program folder (a shared build,
    // /usr/bin run as root) is no place to start one.
    const QFileInfo beside(program.absolutePath() + QLatin1Char('/') + base +
                           QStringLiteral(".ini"));
    if (beside.isFile() && !beside.isSymLink()) {
        return beside.absoluteFilePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zadw/zadw.ini");
}

} // namespace zadw
