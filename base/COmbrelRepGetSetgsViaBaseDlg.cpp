#include "base/COmbrelRepGetSetgsViaBaseDlg.h"

#include "base/ImplantIdField.h"
#include "base/LoggerControlGroup.h"
#include "base/LoggersInVicinityGroup.h"
#include "widgets/BusyAnimation.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

COmbrelRepGetSetgsViaBaseDlg::COmbrelRepGetSetgsViaBaseDlg(DeviceContext context, QWidget* parent)
    : ExitGuardedDialog(parent), m_context(std::move(context))
{
    setWindowTitle(tr("Harvane - Read Settings via Base Station"));

    auto* control = new LoggerControlGroup(tr("Read Settings"), this);
    m_read = control->button();
    m_implant = control->implantField();

    m_panel = std::make_unique<LoggerSettingsPanel>(this);
    m_panel->setDisplayOnly();

    m_exit = new QPushButton(tr("Exit"), this);
    m_exit->setAutoDefault(false);
    setExitButton(m_exit);
    m_ok = new QPushButton(tr("OK"), this);
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->hide();

    m_vicinity = new LoggersInVicinityGroup(
        m_context, ReportWatch::vicinityInReadSettings(),
        [this](bool enabled) {
            m_exit->setEnabled(enabled);
            m_ok->setEnabled(enabled);
            m_read->setEnabled(enabled);
        },
        m_panel->animation(), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(control, 0, 0);
    grid->addWidget(m_panel->statusGroup(), 0, 1);
    grid->addWidget(m_panel->settingsGroup(), 0, 2, 2, 1);
    grid->addWidget(m_panel->packetsGroup(), 1, 0, 1, 2);
    grid->addWidget(m_panel->timeGroup(), 2, 0, 1, 2);
    grid->addWidget(m_vicinity, 2, 2);
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(m_ok);
    exitRow->addWidget(m_exit);
    grid->addLayout(exitRow, 3, 0, 1, 3);

    m_procedure =
        std::make_unique<BaseSettingsProcedure>(m_context, static_cast<BaseSettingsView&>(*this));
    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->press(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    showValues();
}

COmbrelRepGetSetgsViaBaseDlg::~COmbrelRepGetSetgsViaBaseDlg() = default;

int COmbrelRepGetSetgsViaBaseDlg::takeImplantId()
{
    return m_implant->take(m_context.prompts);
}

void COmbrelRepGetSetgsViaBaseDlg::setOtherControlsEnabled(bool enabled)
{
    m_exit->setEnabled(enabled);
    m_ok->setEnabled(enabled);
    m_vicinity->setButtonsEnabled(enabled);
}

void COmbrelRepGetSetgsViaBaseDlg::setReadCaption(const QString& caption)
{
    m_read->setText(caption);
}

void COmbrelRepGetSetgsViaBaseDlg::setAnimation(bool running)
{
    if (running)
        m_panel->animation()->start();
    else
        m_panel->animation()->stop();
}

void COmbrelRepGetSetgsViaBaseDlg::showValues()
{
    m_panel->showValues(m_procedure->form());
}
