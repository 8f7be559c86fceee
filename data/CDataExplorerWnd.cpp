#include "data/CDataExplorerWnd.h"

#include "app/CVelmoraDoc.h"
#include "data/CsvExport.h"
#include "data/ExplorerData.h"
#include "data/ExplorerPlotView.h"
#include "data/HeartRateTableModel.h"
#include "data/RangeStatistics.h"
#include "data/RecordTableModel.h"
#include "data/RecordTablePrinter.h"
#include "link/UserPrompts.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QDateTime toDateTime(std::int64_t seconds)
{
    return CivilTime::fromSeconds(seconds).toDateTime();
}

std::int64_t fromDateTime(const QDateTime& time)
{
    return CivilTime::fromDateTime(time).seconds();
}

// The record table of a download: compact rows, fixed heights, so that
// millions of rows cost no more than a screenful.
QTableView* makeTable(QAbstractItemModel* model, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setCornerButtonEnabled(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder); // by date
    table->setSortingEnabled(true);
    return table;
}

} // namespace

CDataExplorerWnd::CDataExplorerWnd(CVelmoraDoc& document, DataExplorerServices services,
                                   QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_document(document), m_services(std::move(services))
{
    setObjectName(QStringLiteral("DataExplorer"));
    resize(1280, 860);

    // The plot on top, the tables under it; episodes and figures beside.
    m_plot = new ExplorerPlotView(this);
    m_plot->setObjectName(QStringLiteral("ExplorerPlot"));
    m_recordModel = new RecordTableModel(this);
    m_groupModel = new HeartRateTableModel(this);
    m_records = makeTable(m_recordModel, this);
    m_records->setObjectName(QStringLiteral("RecordTable"));
    m_groups = makeTable(m_groupModel, this);
    m_groups->setObjectName(QStringLiteral("HeartRateTable"));
    const int digit = m_records->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_records->setColumnWidth(RecordTableModel::Id, digit * 7);
    m_records->setColumnWidth(RecordTableModel::Date, digit * 22);
    for (int c = RecordTableModel::Body; c < RecordTableModel::ColumnCount; ++c)
        m_records->setColumnWidth(c, digit * 13);
    m_groups->setColumnWidth(HeartRateTableModel::Id, digit * 7);
    m_groups->setColumnWidth(HeartRateTableModel::Date, digit * 22);
    m_groups->horizontalHeader()->setStretchLastSection(true);

    m_tables = new QTabWidget(this);
    m_tables->addTab(m_records, tr("Records"));
    m_tables->addTab(m_groups, tr("Heart rate"));

    auto* jump = new QWidget(this);
    auto* jumpRow = new QHBoxLayout(jump);
    jumpRow->setContentsMargins(0, 0, 0, 0);
    m_goToEdit = new QDateTimeEdit(jump);
    m_goToEdit->setObjectName(QStringLiteral("GoToDate"));
    m_goToEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_goToEdit->setCalendarPopup(true);
    m_goToEdit->setToolTip(tr("The first record at or after this moment is selected "
                              "and shown in the plot."));
    auto* go = new QPushButton(tr("Go to"), jump);
    auto* goLabel = new QLabel(tr("Go to &date:"), jump);
    goLabel->setBuddy(m_goToEdit);
    jumpRow->addWidget(goLabel);
    jumpRow->addWidget(m_goToEdit);
    jumpRow->addWidget(go);
    jumpRow->addStretch();
    auto* lower = new QWidget(this);
    auto* lowerColumn = new QVBoxLayout(lower);
    lowerColumn->setContentsMargins(0, 0, 0, 0);
    lowerColumn->addWidget(jump);
    lowerColumn->addWidget(m_tables);

    auto* left = new QSplitter(Qt::Vertical, this);
    left->addWidget(m_plot);
    left->addWidget(lower);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);
    left->setChildrenCollapsible(false);

    auto* side = new QWidget(this);
    auto* sideColumn = new QVBoxLayout(side);
    auto* figures = new QGroupBox(tr("Shown range"), side);
    auto* figuresLayout = new QVBoxLayout(figures);
    m_statistics = new QLabel(figures);
    m_statistics->setObjectName(QStringLiteral("RangeStatistics"));
    m_statistics->setTextFormat(Qt::RichText);
    m_statistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figuresLayout->addWidget(m_statistics);
    auto* feverBox = new QGroupBox(tr("Fever episodes"), side);
    auto* feverLayout = new QVBoxLayout(feverBox);
    m_episodeHeading = new QLabel(feverBox);
    m_episodeHeading->setWordWrap(true);
    m_episodeList = new QTreeWidget(feverBox);
    m_episodeList->setObjectName(QStringLiteral("EpisodeList"));
    m_episodeList->setColumnCount(3);
    m_episodeList->setHeaderLabels({tr("Start"), tr("Hours"), tr("Peak °C")});
    m_episodeList->setRootIsDecorated(false);
    m_episodeList->setUniformRowHeights(true);
    m_episodeList->setToolTip(tr("Click an episode to show it."));
    m_episodeList->header()->setStretchLastSection(false);
    m_episodeList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_episodeList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_episodeList->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    feverLayout->addWidget(m_episodeHeading);
    feverLayout->addWidget(m_episodeList);
    sideColumn->addWidget(figures);
    sideColumn->addWidget(feverBox, 1);
    side->setMinimumWidth(digit * 34);

    auto* main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(left);
    main->addWidget(side);
    main->setStretchFactor(0, 1);
    main->setStretchFactor(1, 0);
    main->setChildrenCollapsible(false);
    setCentralWidget(main);

    // Range, fever criteria, exports and printing.
    QToolBar* bar = addToolBar(tr("Explorer"));
    bar->setObjectName(QStringLiteral("ExplorerToolBar"));
    bar->setMovable(false);
    QAction* all = bar->addAction(tr("Show all"), m_plot, &ExplorerPlotView::showAll);
    all->setToolTip(tr("Show the whole download (Home, or a double click in the plot)"));
    bar->addAction(tr("Zoom in"), this, [this] { m_plot->zoom(0.5); })
        ->setToolTip(tr("Show half as much time (+, or the mouse wheel)"));
    bar->addAction(tr("Zoom out"), this, [this] { m_plot->zoom(2.0); })
        ->setToolTip(tr("Show twice as much time (-, or the mouse wheel)"));
    bar->addSeparator();
    m_fromEdit = new QDateTimeEdit(bar);
    m_toEdit = new QDateTimeEdit(bar);
    for (QDateTimeEdit* edit : {m_fromEdit, m_toEdit}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
        edit->setKeyboardTracking(false);
    }
    m_fromEdit->setObjectName(QStringLiteral("RangeFrom"));
    m_toEdit->setObjectName(QStringLiteral("RangeTo"));
    bar->addWidget(new QLabel(tr(" From "), bar));
    bar->addWidget(m_fromEdit);
    bar->addWidget(new QLabel(tr(" to "), bar));
    bar->addWidget(m_toEdit);
    bar->addSeparator();
    m_threshold = new QDoubleSpinBox(bar);
    m_threshold->setObjectName(QStringLiteral("FeverThreshold"));
    m_threshold->setRange(36.0, 43.0);
    m_threshold->setDecimals(1);
    m_threshold->setSingleStep(0.1);
    m_threshold->setSuffix(QStringLiteral(" °C"));
    m_threshold->setValue(FeverCriteria{}.aboveCelsius);
    m_threshold->setKeyboardTracking(false);
    m_minimumHours = new QDoubleSpinBox(bar);
    m_minimumHours->setObjectName(QStringLiteral("FeverMinimumHours"));
    m_minimumHours->setRange(0.0, 240.0);
    m_minimumHours->setDecimals(1);
    m_minimumHours->setSingleStep(0.5);
    m_minimumHours->setSuffix(QStringLiteral(" h"));
    m_minimumHours->setValue(FeverCriteria{}.minimumSeconds / 3600.0);
    m_minimumHours->setKeyboardTracking(false);
    bar->addWidget(new QLabel(tr(" Fever above "), bar));
    bar->addWidget(m_threshold);
    bar->addWidget(new QLabel(tr(" for "), bar));
    bar->addWidget(m_minimumHours);
    bar->addSeparator();
    bar->addAction(tr("Export PNG..."), this, &CDataExplorerWnd::exportPicture)
        ->setToolTip(tr("Save the plot as a PNG picture"));
    bar->addAction(tr("Export CSV..."), this, &CDataExplorerWnd::exportRange)
        ->setToolTip(tr("Save the records of the shown range as CSV, with the "
                        "columns of the BT export"));
    auto* printMenu = new QMenu(this);
    printMenu->addAction(tr("Print All Records..."), this, [this] { printWithDialog(false); });
    printMenu->addAction(tr("Print Shown Range..."), this, [this] { printWithDialog(true); });
    printMenu->addSeparator();
    printMenu->addAction(tr("Print Preview of All Records"), this, [this] { previewTable(false); });
    printMenu->addAction(tr("Print Preview of Shown Range"), this, [this] { previewTable(true); });
    auto* print = new QToolButton(bar);
    print->setText(tr("Print"));
    print->setToolTip(tr("Print the record table: all records or the shown range"));
    print->setMenu(printMenu);
    print->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(print);

    statusBar()->showMessage(
        tr("Wheel: zoom   \u00B7   drag: move   \u00B7   Shift+drag or right drag: "
           "zoom to a span   \u00B7   click: pick a record   \u00B7   double click: "
           "show all"));

    m_statisticsTimer = new QTimer(this);
    m_statisticsTimer->setSingleShot(true);
    m_statisticsTimer->setInterval(60);
    connect(m_statisticsTimer, &QTimer::timeout, this, &CDataExplorerWnd::updateStatistics);

    connect(m_plot, &ExplorerPlotView::rangeChanged, this, &CDataExplorerWnd::updateRange);
    connect(m_plot, &ExplorerPlotView::timeClicked, this, [this](std::int64_t time) {
        if (!m_data)
            return;
        const PlotSeries& records = m_data->series(PlotQuantity::Collar);
        if (const auto pos =
                records.nearest(time, std::max<std::int64_t>(3600, m_plot->to() - m_plot->from())))
            selectRecord(records.streamIndex(*pos), true);
    });
    auto rangeEdited = [this] {
        const std::int64_t from = fromDateTime(m_fromEdit->dateTime());
        const std::int64_t to = fromDateTime(m_toEdit->dateTime()) + 59;
        if (to > from)
            m_plot->setRange(from, to);
    };
    connect(m_fromEdit, &QDateTimeEdit::editingFinished, this, rangeEdited);
    connect(m_toEdit, &QDateTimeEdit::editingFinished, this, rangeEdited);
    auto criteriaEdited = [this] { updateEpisodes(); };
    connect(m_threshold, &QDoubleSpinBox::valueChanged, this, criteriaEdited);
    connect(m_minimumHours, &QDoubleSpinBox::valueChanged, this, criteriaEdited);
    connect(go, &QPushButton::clicked, this,
            [this] { goToDate(fromDateTime(m_goToEdit->dateTime())); });
    connect(m_goToEdit, &QDateTimeEdit::editingFinished, this,
            [this] { goToDate(fromDateTime(m_goToEdit->dateTime())); });
    connect(m_episodeList, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        showEpisode(m_episodeList->indexOfTopLevelItem(item));
    });
    connect(m_episodeList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        showEpisode(m_episodeList->indexOfTopLevelItem(item));
    });
    connect(m_records->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CDataExplorerWnd::onRecordSelected);
    connect(m_records, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (m_data && index.isValid())
            m_plot->centreOn(m_data->index().recordTime(m_recordModel->recordAt(index.row())));
    });
    connect(m_groups, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (m_data && index.isValid())
            m_plot->centreOn(m_data->index().groupTime(m_groupModel->groupAt(index.row())));
    });

    // The window follows the document.
    connect(&m_document, &CVelmoraDoc::dataChanged, this, [this] {
        m_stale = true;
        if (isVisible())
            reload();
    });
    connect(&m_document, &CVelmoraDoc::dataCleared, this, [this] {
        m_stale = true;
        if (isVisible())
            reload();
    });
    connect(&m_document, &CVelmoraDoc::titleChanged, this, &CDataExplorerWnd::updateTitle);
    updateTitle();
    reload();
}

CDataExplorerWnd::~CDataExplorerWnd() = default;

void CDataExplorerWnd::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_stale)
        reload();
}

void CDataExplorerWnd::updateTitle()
{
    setWindowTitle(m_document.title() + tr(" - Data Explorer"));
}

void CDataExplorerWnd::reload()
{
    m_stale = false;
    {
        // A full logger memory takes a moment to index.
        const bool large = m_document.data().size() > 4'000'000;
        if (large)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_data =
            m_document.hasData()
                ? std::make_shared<const ExplorerData>(
                      m_document.data(),
                      m_services.pcClock ? m_services.pcClock()
                                         : CivilTime::fromDateTime(QDateTime::currentDateTime()))
                : nullptr;
        if (large)
            QApplication::restoreOverrideCursor();
    }
    m_recordModel->setSource(m_data);
    m_groupModel->setSource(m_data);
    for (QTableView* table : {m_records, m_groups}) {
        const QHeaderView* header = table->horizontalHeader();
        table->model()->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    }
    m_tables->setTabText(0, tr("Records (%1)").arg(m_recordModel->rowCount()));
    m_tables->setTabText(1, tr("Heart rate (%1)").arg(m_groupModel->rowCount()));

    ExplorerPlotRenderer::Options options;
    options.font = m_plot->font();
    if (m_data)
        options.title = tr("Logger %1  \u00B7  Implant %2  \u00B7  %3")
                            .arg(m_data->index().loggerId())
                            .arg(m_data->index().implantId())
                            .arg(m_document.title());
    else
        options.title = tr("No data loaded");
    m_plot->setSource(m_data, options);
    const QDateTime first = toDateTime(m_plot->fullFrom());
    const QDateTime last = toDateTime(m_plot->fullTo());
    for (QDateTimeEdit* edit : {m_fromEdit, m_toEdit, m_goToEdit})
        edit->setDateTimeRange(first.addSecs(-60), last.addSecs(60));
    m_goToEdit->setDateTime(first);
    updateEpisodes();
    updateRange();
    updateStatistics();
}

void CDataExplorerWnd::setFeverCriteria(double aboveCelsius, double minimumHours)
{
    const QSignalBlocker blockThreshold(m_threshold);
    const QSignalBlocker blockHours(m_minimumHours);
    m_threshold->setValue(aboveCelsius);
    m_minimumHours->setValue(minimumHours);
    updateEpisodes();
}

void CDataExplorerWnd::updateEpisodes()
{
    FeverCriteria criteria;
    criteria.aboveCelsius = m_threshold->value();
    criteria.minimumSeconds = std::llround(m_minimumHours->value() * 3600);
    m_episodes =
        m_data ? FeverEpisodes::find(m_data->index(), criteria) : std::vector<FeverEpisode>();
    m_recordModel->setFeverThreshold(criteria.aboveCelsius);

    ExplorerPlotRenderer::Options options = m_plot->options();
    options.criteria = criteria;
    options.episodes = m_episodes;
    m_plot->setOptions(options);

    m_episodeList->clear();
    for (const FeverEpisode& e : m_episodes) {
        auto* item = new QTreeWidgetItem({CivilTime::fromSeconds(e.start).toString().left(16),
                                          QString::number(e.hours(), 'f', 1),
                                          CsvExport::temperatureText(e.peakRaw)});
        item->setToolTip(0, tr("%1 to %2: %3 readings above %4 °C, the highest %5 °C "
                               "at %6")
                                .arg(CivilTime::fromSeconds(e.start).toString(),
                                     CivilTime::fromSeconds(e.end).toString())
                                .arg(e.readingsAbove)
                                .arg(criteria.aboveCelsius, 0, 'f', 1)
                                .arg(CsvExport::temperatureText(e.peakRaw),
                                     CivilTime::fromSeconds(e.peakTime).toString()));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        m_episodeList->addTopLevelItem(item);
    }
    m_episodeHeading->setText(
        m_episodes.empty() ? tr("None: the body temperature never stays above %1 °C for %2 h.")
                                 .arg(criteria.aboveCelsius, 0, 'f', 1)
                                 .arg(m_minimumHours->value())
                           : tr("%1 span%2 above %3 °C for %4 h or more; a dip of up to an hour "
                                "does not end one.")
                                 .arg(m_episodes.size())
                                 .arg(m_episodes.size() == 1 ? QString() : QStringLiteral("s"))
                                 .arg(criteria.aboveCelsius, 0, 'f', 1)
                                 .arg(m_minimumHours->value()));
}

void CDataExplorerWnd::updateRange()
{
    const QSignalBlocker blockFrom(m_fromEdit);
    const QSignalBlocker blockTo(m_toEdit);
    m_fromEdit->setDateTime(toDateTime(m_plot->from()));
    m_toEdit->setDateTime(toDateTime(m_plot->to()));
    // Episodes in sight stand out in the list.
    for (int i = 0; i < m_episodeList->topLevelItemCount(); ++i) {
        const FeverEpisode& e = m_episodes[static_cast<std::size_t>(i)];
        const bool shown = e.end >= m_plot->from() && e.start <= m_plot->to();
        QTreeWidgetItem* item = m_episodeList->topLevelItem(i);
        for (int c = 0; c < 3; ++c) {
            QFont font = item->font(c);
            font.setBold(shown);
            item->setFont(c, font);
        }
    }
    // Figures wait until the plot is still: dragging stays smooth.
    m_statisticsTimer->start();
}

QString CDataExplorerWnd::statisticsText() const
{
    if (!m_data)
        return tr("No data loaded.");
    const RangeStatistics s =
        RangeStatistics::compute(m_data->index(), m_plot->from(), m_plot->to());
    if (s.records == 0)
        return tr("No records in this range.");
    QStringList lines;
    lines << tr("Records: %1").arg(s.records) << tr("Days covered: %1").arg(s.daysCovered)
          << tr("First: %1").arg(CivilTime::fromSeconds(s.first).toString().left(16))
          << tr("Last: %1").arg(CivilTime::fromSeconds(s.last).toString().left(16));
    if (s.bodyReadings == 0)
        return (lines << tr("Body temperature: no readings")).join(QLatin1Char('\n'));
    lines << tr("Body temperature") << tr("lowest: %1 °C").arg(s.bodyMin, 0, 'f', 2)
          << tr("mean: %1 °C").arg(s.bodyMean, 0, 'f', 2)
          << tr("highest: %1 °C").arg(s.bodyMax, 0, 'f', 2)
          << tr("not heard: %1 records").arg(s.records - s.bodyReadings);
    return lines.join(QLatin1Char('\n'));
}

void CDataExplorerWnd::updateStatistics()
{
    // A small table: each figure beside its name, a heading for the body
    // temperature's.
    QString html = QStringLiteral("<table cellspacing='0' cellpadding='1'>");
    for (const QString& line : statisticsText().split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0) {
            html +=
                QStringLiteral("<tr><td colspan='2' style='padding-top:4px'><b>%1</b></td></tr>")
                    .arg(line.toHtmlEscaped());
            continue;
        }
        const QString name = line.left(colon);
        const bool indented = name.at(0).isLower();
        html += QStringLiteral("<tr><td style='padding-right:10px%1'>%2</td><td>%3</td></tr>")
                    .arg(indented ? QStringLiteral("; padding-left:10px") : QString(),
                         name.toHtmlEscaped(), line.mid(colon + 2).toHtmlEscaped());
    }
    m_statistics->setText(html + QStringLiteral("</table>"));
}

void CDataExplorerWnd::selectRecord(std::size_t record, bool scroll)
{
    const QModelIndex index =
        m_recordModel->index(m_recordModel->rowOf(record), RecordTableModel::Date);
    m_tables->setCurrentWidget(m_records);
    m_records->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    if (scroll)
        m_records->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void CDataExplorerWnd::onRecordSelected()
{
    const QModelIndex current = m_records->selectionModel()->currentIndex();
    if (!m_data || !current.isValid()) {
        m_plot->setMarker(std::nullopt);
        return;
    }
    const std::int64_t time = m_data->index().recordTime(m_recordModel->recordAt(current.row()));
    m_plot->setMarker(time);
    if (time < m_plot->from() || time > m_plot->to())
        m_plot->centreOn(time);
}

void CDataExplorerWnd::goToDate(std::int64_t time)
{
    if (!m_data || m_data->index().completeRecords() == 0)
        return;
    const RecordIndex& index = m_data->index();
    std::size_t pos = index.recordsBetween(time, INT64_MAX).first;
    if (pos >= index.completeRecords())
        pos = index.completeRecords() - 1;
    const std::size_t record = index.timeOrderedRecord(pos);
    selectRecord(record, true);
    m_plot->centreOn(index.recordTime(record));
}

void CDataExplorerWnd::showEpisode(int row)
{
    if (row < 0 || row >= static_cast<int>(m_episodes.size()) || !m_data)
        return;
    const FeverEpisode& e = m_episodes[static_cast<std::size_t>(row)];
    // The episode in the middle half, so the way in and out can be seen.
    const std::int64_t around = std::max<std::int64_t>((e.end - e.start) / 2, 3 * 3600);
    m_plot->setRange(e.start - around, e.end + around);
    const RecordIndex& index = m_data->index();
    const std::size_t pos = index.recordsBetween(e.start, e.end).first;
    if (pos < index.completeRecords())
        selectRecord(index.timeOrderedRecord(pos), true);
}

QString CDataExplorerWnd::askForFile(const QString& caption, const QString& suggestion,
                                     const QString& filter)
{
    return m_services.chooseSaveFile
               ? m_services.chooseSaveFile(caption, suggestion, filter)
               : QFileDialog::getSaveFileName(this, caption, suggestion, filter);
}

QString CDataExplorerWnd::baseName() const
{
    const QString path = m_document.pathName();
    if (path.isEmpty())
        return m_data ? QStringLiteral("Logger%1").arg(m_data->index().loggerId()) : tr("Untitled");
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName());
}

bool CDataExplorerWnd::exportPicture()
{
    // What is on screen, at least as large as the command-line plot.
    const QSize size(std::max(1600, m_plot->width()), std::max(900, m_plot->height()));
    const QString path = askForFile(tr("Save the plot as a picture"), baseName() + tr(" plot.png"),
                                    tr("PNG pictures (*.png)"));
    if (path.isEmpty())
        return false;
    const QImage image = m_plot->picture(size);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        m_services.prompts.showMessage(tr("Error: Can not write the picture %1!").arg(path));
        return false;
    }
    return true;
}

bool CDataExplorerWnd::exportRange()
{
    if (!m_data) {
        m_services.prompts.showMessage(tr("No current logger data to be exported!"));
        return false;
    }
    const QString from = CivilTime::fromSeconds(m_plot->from()).toString().left(10);
    const QString to = CivilTime::fromSeconds(m_plot->to()).toString().left(10);
    const QString path = askForFile(tr("Save the shown range as CSV"),
                                    baseName() + tr("BT %1 to %2.csv").arg(from, to),
                                    tr("Comma-separated values (*.csv)"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!CsvExport::writeRecords(m_data->document(), path, m_data->index().pcClock(),
                                 m_plot->from(), m_plot->to(), &error)) {
        m_services.prompts.showMessage(error);
        return false;
    }
    return true;
}

RecordTablePrinter::Job CDataExplorerWnd::printJob(bool shownRange) const
{
    RecordTablePrinter::Job job;
    if (!m_data)
        return job;
    const RecordIndex& index = m_data->index();
    job.index = &index;
    job.feverAbove = m_threshold->value();
    job.source = m_document.title();
    job.title = tr("Logger %1  \u00B7  Implant %2").arg(index.loggerId()).arg(index.implantId());
    // The table's order, as the user sorted it.
    job.records = m_recordModel->shownOrder();
    if (shownRange)
        std::erase_if(job.records, [&](std::uint32_t r) {
            return index.recordTime(r) < m_plot->from() || index.recordTime(r) > m_plot->to();
        });
    std::int64_t first = INT64_MAX;
    std::int64_t last = INT64_MIN;
    for (const std::uint32_t r : job.records) {
        first = std::min(first, index.recordTime(r));
        last = std::max(last, index.recordTime(r));
    }
    const QString span = job.records.empty() ? tr("no records")
                                             : tr("%1 to %2")
                                                   .arg(CivilTime::fromSeconds(first).toString(),
                                                        CivilTime::fromSeconds(last).toString());
    job.scope = tr("%1: %2, %3 records")
                    .arg(shownRange ? tr("Shown range") : tr("All records"), span)
                    .arg(job.records.size());
    return job;
}

int CDataExplorerWnd::printTable(QPrinter& printer, bool shownRange, int maxPages)
{
    if (!m_data)
        return 0;
    return RecordTablePrinter(printJob(shownRange)).print(printer, maxPages);
}

void CDataExplorerWnd::printWithDialog(bool shownRange)
{
    if (!m_data) {
        m_services.prompts.showMessage(tr("No current logger data to be printed!"));
        return;
    }
    QPrintDialog dialog(&m_services.printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A whole logger memory fills thousands of pages: ask before that.
    const RecordTablePrinter table(printJob(shownRange));
    const int pages = table.pageCount(m_services.printer);
    if (pages > PagesWithoutAsking &&
        m_services.prompts.askYesNo(
            tr("The table fills %1 pages. Print all of them?").arg(pages)) != YesNoAnswer::Yes)
        return;
    table.print(m_services.printer);
}

void CDataExplorerWnd::previewTable(bool shownRange)
{
    if (!m_data) {
        m_services.prompts.showMessage(tr("No current logger data to be printed!"));
        return;
    }
    QPrintPreviewDialog preview(&m_services.printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, shownRange](QPrinter* printer) {
                printTable(*printer, shownRange, MaxPreviewPages);
            });
    preview.exec();
}
