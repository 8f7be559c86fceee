#pragma once

#include "data/CivilTime.h"
#include "data/FeverEpisodes.h"
#include "data/RecordTablePrinter.h"

#include <QMainWindow>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

class CVelmoraDoc;
class ExplorerData;
class ExplorerPlotView;
class HeartRateTableModel;
class QDateTimeEdit;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QTabWidget;
class QTableView;
class QTimer;
class QTreeWidget;
class RecordTableModel;
class UserPrompts;

// What the explorer works with; all of it outlives the window.
struct DataExplorerServices {
    QPrinter& printer; // the program's printer, shared with the panes
    UserPrompts& prompts;
    // The PC's clock, for records dated before any timestamp.
    std::function<CivilTime()> pcClock;
    // Asks where to write a file; empty when the user cancels. When unset,
    // the platform's file dialog.
    std::function<QString(const QString& caption, const QString& suggestion, const QString& filter)>
        chooseSaveFile = {};
};

// The Data Explorer: every record of the open document in a table and in
// plots over time, the fever episodes listed and shaded, figures for the
// range shown, and exports and printing of that range. It follows the
// document: a new file, a download and New show at once (or when the window
// is next shown).
class CDataExplorerWnd final : public QMainWindow {
    Q_OBJECT
public:
    // Above this many pages, printing asks first.
    static constexpr int PagesWithoutAsking = 200;
    // A preview shows at most this many pages.
    static constexpr int MaxPreviewPages = 100;

    CDataExplorerWnd(CVelmoraDoc& document, DataExplorerServices services,
                     QWidget* parent = nullptr);
    ~CDataExplorerWnd() override;

    [[nodiscard]] ExplorerPlotView* plot() const { return m_plot; }
    [[nodiscard]] QTableView* recordTable() const { return m_records; }
    [[nodiscard]] QTableView* heartRateTable() const { return m_groups; }
    [[nodiscard]] QTreeWidget* episodeList() const { return m_episodeList; }
    [[nodiscard]] const std::vector<FeverEpisode>& episodes() const { return m_episodes; }
    [[nodiscard]] QString statisticsText() const;
    [[nodiscard]] const ExplorerData* data() const { return m_data.get(); }

    // Fever criteria, as the fields set them.
    void setFeverCriteria(double aboveCelsius, double minimumHours);
    // Selects the first record at or after `time` and shows it in the plot.
    void goToDate(std::int64_t time);
    // Zooms to an episode of the list, with some time around it.
    void showEpisode(int row);

    bool exportPicture();
    bool exportRange();
    // Prints the record table: all records or those of the shown range, in
    // the table's order. Returns the pages printed (0: not printed).
    int printTable(QPrinter& printer, bool shownRange, int maxPages = INT_MAX);
    void printWithDialog(bool shownRange);
    void previewTable(bool shownRange);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void reload();
    void updateTitle();
    void updateEpisodes();
    void updateRange();
    void updateStatistics();
    void selectRecord(std::size_t record, bool scroll);
    void onRecordSelected();
    [[nodiscard]] QString askForFile(const QString& caption, const QString& suggestion,
                                     const QString& filter);
    [[nodiscard]] QString baseName() const;
    [[nodiscard]] RecordTablePrinter::Job printJob(bool shownRange) const;

    CVelmoraDoc& m_document;
    DataExplorerServices m_services;
    std::shared_ptr<const ExplorerData> m_data;
    std::vector<FeverEpisode> m_episodes;
    bool m_stale = true;

    ExplorerPlotView* m_plot = nullptr;
    QTableView* m_records = nullptr;
    QTableView* m_groups = nullptr;
    QTabWidget* m_tables = nullptr;
    RecordTableModel* m_recordModel = nullptr;
    HeartRateTableModel* m_groupModel = nullptr;
    QTreeWidget* m_episodeList = nullptr;
    QDateTimeEdit* m_fromEdit = nullptr;
    QDateTimeEdit* m_toEdit = nullptr;
    QDateTimeEdit* m_goToEdit = nullptr;
    QDoubleSpinBox* m_threshold = nullptr;
    QDoubleSpinBox* m_minimumHours = nullptr;
    QLabel* m_statistics = nullptr;
    QLabel* m_episodeHeading = nullptr;
    QTimer* m_statisticsTimer = nullptr;
};
