#include "logger/COmbrelRepeaterConfigDlg.h"

#include "widgets/LogListWidget.h"

#include "link/UserPrompts.h"
#include "widgets/BusyAnimation.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

COmbrelRepeaterConfigDlg::COmbrelRepeaterConfigDlg(DeviceContext context, QWidget* parent)
    : ExitGuardedDialog(parent), m_context(std::move(context))
{
    setWindowTitle(tr("Harvane - Logger Settings"));
    buildLayout();
    m_procedure = std::make_unique<LoggerSettingsProcedure>(
        m_context, static_cast<LoggerSettingsView&>(*this));

    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->readSettings(); });
    connect(m_write, &QPushButton::clicked, this, [this] { m_procedure->writeSettings(); });
    connect(m_start, &QPushButton::clicked, this, [this] { m_procedure->start(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_procedure->stop(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_surveillance, &QPushButton::clicked, this,
            [this] { m_procedure->surveillanceClick(); });
    connect(m_deleteLog, &QPushButton::clicked, m_list, &LogListWidget::clear);
    connect(loggerIdField(), &QLineEdit::editingFinished, this,
            [this] { onIdLeft(loggerIdField()); });
    connect(implantIdField(), &QLineEdit::editingFinished, this,
            [this] { onIdLeft(implantIdField()); });
    connect(intervalField(), &QLineEdit::editingFinished, this,
            &COmbrelRepeaterConfigDlg::onIntervalLeft);
    connect(intervalUp(), &QToolButton::clicked, this, [this] { onIntervalArrow(+1); });
    connect(intervalDown(), &QToolButton::clicked, this, [this] { onIntervalArrow(-1); });
    connect(vhfDisableBox(), &QCheckBox::clicked, this, [this](bool checked) {
        m_panel->startTimeField()->setEnabled(false);
        m_panel->startDateField()->setEnabled(false);
        m_panel->enableVhfControls(!checked);
    });

    // The VHF schedule is for experts: shown and editable in expert mode,
    // otherwise kept out of sight (its values still travel with a write).
    vhfGroup()->setVisible(m_context.expertMode());
    m_procedure->reset();
}

COmbrelRepeaterConfigDlg::~COmbrelRepeaterConfigDlg() = default;

void COmbrelRepeaterConfigDlg::buildLayout()
{
    auto* control = new QGroupBox(tr("Logger Control"), this);
    m_read = new QPushButton(tr("Read Settings"), control);
    m_write = new QPushButton(tr("Write Settings"), control);
    m_start = new QPushButton(tr("Start"), control);
    m_stop = new QPushButton(tr("Stop"), control);
    m_read->setObjectName(QStringLiteral("ReadSettingsButton"));
    m_write->setObjectName(QStringLiteral("WriteSettingsButton"));
    m_start->setObjectName(QStringLiteral("StartButton"));
    m_stop->setObjectName(QStringLiteral("StopButton"));
    auto* controlLayout = new QVBoxLayout(control);
    for (QPushButton* button : {m_read, m_write, m_start, m_stop})
        controlLayout->addWidget(button);
    controlLayout->addStretch();

    m_panel = std::make_unique<LoggerSettingsPanel>(this);

    auto* surveillance = new QGroupBox(tr("Logger Surveillance"), this);
    m_list = new LogListWidget(surveillance);
    m_list->setObjectName(QStringLiteral("SurveillanceList"));
    m_list->setMinimumHeight(120);
    m_list->setMinimumWidth(520);
    m_surveillance = new QPushButton(tr("Start Surveillance"), surveillance);
    m_deleteLog = new QPushButton(tr("Delete Log"), surveillance);
    m_surveillance->setObjectName(QStringLiteral("SurveillanceButton"));
    m_deleteLog->setObjectName(QStringLiteral("DeleteLogButton"));
    auto* surveillanceButtons = new QHBoxLayout;
    surveillanceButtons->addWidget(m_surveillance);
    surveillanceButtons->addWidget(m_deleteLog);
    surveillanceButtons->addStretch();
    auto* surveillanceLayout = new QVBoxLayout(surveillance);
    surveillanceLayout->addWidget(m_list);
    surveillanceLayout->addLayout(surveillanceButtons);

    m_exit = new QPushButton(tr("Exit"), this);
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_exit->setAutoDefault(false);
    setExitButton(m_exit);

    auto* grid = new QGridLayout(this);
    grid->addWidget(control, 0, 0);
    grid->addWidget(m_panel->statusGroup(), 0, 1);
    grid->addWidget(m_panel->settingsGroup(), 0, 2);
    grid->addWidget(m_panel->packetsGroup(), 1, 0, 1, 2);
    grid->addWidget(m_panel->timeGroup(), 1, 2);
    grid->addWidget(surveillance, 2, 0, 1, 3);
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(m_exit);
    grid->addLayout(exitRow, 3, 0, 1, 3);
}

bool COmbrelRepeaterConfigDlg::takeValues()
{
    return m_panel->takeValues(m_procedure->form(), m_context.prompts);
}

void COmbrelRepeaterConfigDlg::showValues()
{
    m_panel->showValues(m_procedure->form());
}

void COmbrelRepeaterConfigDlg::disableBusySet(bool surveillanceButtonsToo)
{
    const LoggerSettingsPanel& p = *m_panel;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             p.loggerIdField(), p.implantIdField(), p.intervalField(), p.intervalUp(),
             p.intervalDown(), p.startTimeField(), p.startDateField(), p.vhfDisableBox(), m_read,
             m_start, m_exit, m_write, m_stop})
        widget->setEnabled(false);
    m_panel->enableVhfControls(false);
    if (surveillanceButtonsToo) {
        m_surveillance->setEnabled(false);
        m_deleteLog->setEnabled(false);
    }
}

void COmbrelRepeaterConfigDlg::applyReadyRule()
{
    const LoggerSettingsPanel& p = *m_panel;
    p.loggerIdField()->setEnabled(true);
    p.implantIdField()->setEnabled(true);
    p.vhfDisableBox()->setEnabled(true);
    // The start pickers only show what the logger reports.
    p.startTimeField()->setEnabled(false);
    p.startDateField()->setEnabled(false);
    m_panel->enableVhfControls(!p.vhfDisableBox()->isChecked());
    for (QPushButton* button : {m_read, m_start, m_exit, m_write, m_stop})
        button->setEnabled(true);
    const bool expert = m_context.expertMode();
    p.intervalField()->setEnabled(expert);
    p.intervalUp()->setEnabled(expert);
    p.intervalDown()->setEnabled(expert);
}

void COmbrelRepeaterConfigDlg::enableSurveillanceButtons()
{
    m_surveillance->setEnabled(true);
    m_deleteLog->setEnabled(true);
}

void COmbrelRepeaterConfigDlg::reset()
{
    disableBusySet(true);
    m_read->setEnabled(true);
    m_exit->setEnabled(true);
    clockTimeField()->setEnabled(false);
    clockDateField()->setEnabled(false);
}

void COmbrelRepeaterConfigDlg::setAnimation(bool running)
{
    if (running)
        animation()->start();
    else
        animation()->stop();
}

void COmbrelRepeaterConfigDlg::setSurveillanceCaption(const QString& caption)
{
    m_surveillance->setText(caption);
}

void COmbrelRepeaterConfigDlg::appendLogLine(const QString& line)
{
    m_list->appendLine(line);
}

void COmbrelRepeaterConfigDlg::onIdLeft(QLineEdit* field)
{
    // The message box of a bad value takes the focus from the field, which
    // Qt reports as leaving it again: one message per leaving.
    if (m_leavingField)
        return;
    const QScopedValueRollback<bool> leaving(m_leavingField, true);
    takeValues();
    LoggerSettingsForm& form = m_procedure->form();
    if (field == loggerIdField())
        form.loggerId = LoggerSettingsForm::clampLoggerId(form.loggerId);
    else
        form.implantId = LoggerSettingsForm::clampImplantId(form.implantId);
    showValues();
}

void COmbrelRepeaterConfigDlg::onIntervalLeft()
{
    if (m_leavingField)
        return;
    const QScopedValueRollback<bool> leaving(m_leavingField, true);
    takeValues();
    LoggerSettingsForm& form = m_procedure->form();
    form.intervalSeconds = LoggerSettingsForm::intervalAfterEdit(form.intervalSeconds);
    showValues();
}

void COmbrelRepeaterConfigDlg::onIntervalArrow(int step)
{
    takeValues();
    LoggerSettingsForm& form = m_procedure->form();
    form.intervalSeconds = LoggerSettingsForm::intervalAfterArrow(form.intervalSeconds, step);
    showValues();
}
