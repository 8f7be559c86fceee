#pragma once

#include <QStringList>

// The four data files used last, most recent first, kept between runs in
// the user's settings.
class RecentFileList {
public:
    static constexpr int MaxEntries = 4;
    static constexpr auto Organization =
        "Vom lokalen Anwendungs-Assistenten generierte Anwendungen";
    static constexpr auto Application = "Harvane";

    RecentFileList();

    [[nodiscard]] QStringList entries() const { return m_entries; }
    // Puts the file first (moving it up if it is there already).
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store() const;

    QStringList m_entries;
};
