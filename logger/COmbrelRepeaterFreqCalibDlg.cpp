#include "logger/COmbrelRepeaterFreqCalibDlg.h"

#include "link/UserPrompts.h"
#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>

COmbrelRepeaterFreqCalibDlg::COmbrelRepeaterFreqCalibDlg(DeviceContext context, QWidget* parent)
    : ExitGuardedDialog(parent), m_context(context)
{
    setWindowTitle(tr("Harvane - Frequency Calibration"));
    m_list = new LogListWidget(this);
    m_list->setMinimumSize(360, 200);
    m_log = new QPushButton(tr("Start Log"), this);
    m_deleteLog = new QPushButton(tr("Delete Log"), this);
    m_add = new QPushButton(tr("Add Offset"), this);
    m_reset = new QPushButton(tr("Reset Offset"), this);
    m_read = new QPushButton(tr("Read Offset"), this);
    m_exit = new QPushButton(tr("Exit"), this);
    m_list->setObjectName(QStringLiteral("FrequencyList"));
    m_log->setObjectName(QStringLiteral("LogButton"));
    m_deleteLog->setObjectName(QStringLiteral("DeleteLogButton"));
    m_add->setObjectName(QStringLiteral("AddOffsetButton"));
    m_reset->setObjectName(QStringLiteral("ResetOffsetButton"));
    m_read->setObjectName(QStringLiteral("ReadOffsetButton"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    setExitButton(m_exit);
    m_exit->setDefault(true);
    for (QPushButton* b : {m_log, m_deleteLog, m_add, m_reset, m_read})
        b->setAutoDefault(false);
    m_offset = new QLineEdit(QStringLiteral("0"), this);
    m_offset->setObjectName(QStringLiteral("OffsetField"));
    m_offset->setMaximumWidth(60);
    m_animation = new BusyAnimation(this);
    m_animation->setFixedSize(80, 48);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Frequency Offset:"), this), 0, 0);
    layout->addWidget(m_list, 1, 0, 6, 1);
    layout->addWidget(m_log, 1, 1);
    layout->addWidget(m_deleteLog, 2, 1);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(m_offset);
    offsetRow->addWidget(new QLabel(tr("x 2.5kHz"), this));
    layout->addLayout(offsetRow, 3, 1);
    layout->addWidget(m_add, 4, 1);
    layout->addWidget(m_reset, 5, 1);
    layout->addWidget(m_read, 6, 1);
    layout->addWidget(m_animation, 7, 0, Qt::AlignLeft);
    layout->addWidget(m_exit, 7, 1);

    FrequencyCalibrationProcedure::View view;
    view.setExitEnabled = [this](bool on) { m_exit->setEnabled(on); };
    view.setReadOffsetEnabled = [this](bool on) { m_read->setEnabled(on); };
    view.setCaption = [this](const QString& caption) { m_log->setText(caption); };
    view.setAnimation = [this](bool on) { on ? m_animation->start() : m_animation->stop(); };
    view.addLine = [this](const QString& line, bool select) { m_list->appendLine(line, select); };
    view.takeOffset = [this] { return takeOffset(); };
    m_procedure = std::make_unique<FrequencyCalibrationProcedure>(m_context, std::move(view));

    connect(m_log, &QPushButton::clicked, this, [this] { m_procedure->startStopClick(); });
    connect(m_add, &QPushButton::clicked, this, [this] { m_procedure->addOffset(); });
    connect(m_reset, &QPushButton::clicked, this, [this] { m_procedure->resetOffset(); });
    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->readOffset(); });
    connect(m_deleteLog, &QPushButton::clicked, m_list, &LogListWidget::clear);
    connect(m_exit, &QPushButton::clicked, this, &COmbrelRepeaterFreqCalibDlg::accept);
    connect(m_offset, &QLineEdit::editingFinished, this, [this] {
        // The message box takes the focus from the field, which Qt reports
        // as leaving it once more: one message per leaving.
        if (m_leavingField)
            return;
        const QScopedValueRollback<bool> leaving(m_leavingField, true);
        takeOffset();
        m_value = std::clamp(m_value, MinOffset, MaxOffset);
        m_offset->setText(QString::number(m_value));
    });
}

COmbrelRepeaterFreqCalibDlg::~COmbrelRepeaterFreqCalibDlg() = default;

std::optional<int> COmbrelRepeaterFreqCalibDlg::takeOffset()
{
    bool ok = false;
    const int value = m_offset->text().trimmed().toInt(&ok);
    if (!ok) {
        m_context.prompts.showMessage(tr("Enter an integer."));
        m_offset->setFocus();
        return std::nullopt;
    }
    m_value = value; // kept, so that leaving the field can bring it into range
    if (value < MinOffset || value > MaxOffset) {
        m_context.prompts.showMessage(
            tr("Enter an integer between %1 and %2.").arg(MinOffset).arg(MaxOffset));
        m_offset->setFocus();
        return std::nullopt;
    }
    return value;
}

void COmbrelRepeaterFreqCalibDlg::accept()
{
    // Never closes on a running log; Exit is off then anyway.
    if (!m_exit->isEnabled() || m_procedure->running() || !takeOffset())
        return;
    QDialog::accept();
}

bool COmbrelRepeaterFreqCalibDlg::mayClose() const
{
    return ExitGuardedDialog::mayClose() && !m_procedure->running();
}
