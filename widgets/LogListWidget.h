#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// The list of a live log (surveillance, calibration, loggers and implants
// heard): each new line is appended and, when asked, selected so that the
// list scrolls to it. A run can go on for days; the list keeps the newest
// lines only, up to a cap, while the log file keeps them all. 20 000 lines
// are more than an hour of the busiest surveillance, at about 2.5 KiB of
// memory each.
//
// It is a plain-text view, not an item list: Qt's item views lay all their
// rows out again for every line scrolled to, which grows with the length of
// the list; a text view appends and drops lines at a constant cost.
class LogListWidget final : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int DefaultCap = 20'000;

    explicit LogListWidget(QWidget* parent = nullptr, int cap = DefaultCap);

    void appendLine(const QString& line, bool select = true);
    [[nodiscard]] int cap() const { return m_cap; }
    // Lines shown, oldest first.
    [[nodiscard]] int count() const;
    [[nodiscard]] QString line(int row) const;
    [[nodiscard]] QStringList lines() const;
    // The selected line, or -1.
    [[nodiscard]] int currentRow() const { return m_selected; }
    // Empties the list (the "Delete Log" button); the log file is not touched.
    void clear();

private:
    void dropOldest(int lines);
    void highlight(int row);

    int m_cap;
    int m_selected = -1;
};
