// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace zadw {

// The private profile: a few strings by section and key.
class SettingsProfile {
public:
    virtual ~SettingsProfile() = default;
    virtual QString readString(const QString& section, const QString& key,
                               const QString& fallback) = 0;
    // False when the value could not be written to the profile file.
    virtual bool writeString(const QString& section, const QString& key, const QString& value) = 0;
    virtual QString location() const = 0;
};

// An INI file, read and written through QSettings.
class IniProfile : public SettingsProfile {
public:
    explicit IniProfile(QString path) : path_(std::move(path)) {}
    QString readString(const QString& section, const QString& key,
                       const QString& fallback) override;
    bool writeString(const QString& section, const QString& key, const QString& value) override;
    QString location() const override { return path_; }

private:
    QString path_;
};

// [Year] RegularPioneerGoal, the hours of a regular pioneer's service year: fallback when it is
// not set, nothing when it is no whole number from 1 to 9999 (the caller says so).
std::optional<int> readRegularPioneerGoal(SettingsProfile& profile, int fallback);

// The profile: $ZADW_PROFILE when it names an absolute path; beside the program (its path with
// ".ini" in place of the extension) when such a file is already there, for portable use;
// otherwise $XDG_CONFIG_HOME/zadw/zadw.ini.
QString profilePathFor(const QString& programPath);

} // namespace zadw
