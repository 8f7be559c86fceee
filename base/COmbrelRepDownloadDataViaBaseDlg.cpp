#include "base/COmbrelRepDownloadDataViaBaseDlg.h"

#include "base/ImplantIdField.h"
#include "base/LoggerControlGroup.h"
#include "base/LoggersInVicinityGroup.h"
#include "data/TransferText.h"
#include "widgets/BusyAnimation.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

COmbrelRepDownloadDataViaBaseDlg::COmbrelRepDownloadDataViaBaseDlg(
    DeviceContext context, BaseDownloadProcedure::Hooks hooks, QWidget* parent)
    : ExitGuardedDialog(parent), m_context(std::move(context))
{
    setWindowTitle(tr("Harvane - Read Data via Base Station"));

    auto* control = new LoggerControlGroup(tr("Read Data"), this);
    m_read = control->button();
    m_implant = control->implantField();

    m_animation = new BusyAnimation(this);
    m_animation->setFixedSize(80, 48);

    auto* progressGroup = new QWidget(this);
    m_progress = new QProgressBar(progressGroup);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(360);
    m_transfer = new QLabel(progressGroup);
    m_status = new QLabel(progressGroup);
    m_status->setWordWrap(true);
    // Two lines of status text, whatever they say.
    m_status->setMinimumHeight(2 * m_status->fontMetrics().lineSpacing() + 4);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sinceLast = new QLabel(progressGroup);
    m_elapsed = new QLabel(progressGroup);
    m_progress->setObjectName(QStringLiteral("DownloadProgress"));
    m_status->setObjectName(QStringLiteral("DownloadStatus"));
    m_sinceLast->setObjectName(QStringLiteral("TimeSinceLastPacket"));
    m_elapsed->setObjectName(QStringLiteral("TimeElapsed"));
    auto* form = new QFormLayout(progressGroup);
    form->setContentsMargins(0, 0, 0, 0);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    form->addRow(tr("Download Progress:"), m_progress);
    form->addRow(QString(), m_transfer);
    form->addRow(tr("Download Status:"), m_status);
    form->addRow(tr("Time Since Last Packet:"), m_sinceLast);
    form->addRow(tr("Time Elapsed Since Started:"), m_elapsed);

    m_exit = new QPushButton(tr("Exit"), this);
    m_exit->setAutoDefault(false);
    setExitButton(m_exit);
    m_ok = new QPushButton(tr("OK"), this);
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->hide();

    m_vicinity = new LoggersInVicinityGroup(
        m_context, ReportWatch::vicinityInReadData(),
        [this](bool enabled) {
            m_exit->setEnabled(enabled);
            m_ok->setEnabled(enabled);
            m_implant->setEnabled(enabled);
            m_read->setEnabled(enabled);
        },
        m_animation, this);

    auto* top = new QHBoxLayout;
    top->addWidget(control);
    top->addStretch();
    top->addWidget(m_animation, 0, Qt::AlignCenter);
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(m_ok);
    exitRow->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progressGroup);
    layout->addWidget(m_vicinity, 1);
    layout->addLayout(exitRow);

    m_procedure = std::make_unique<BaseDownloadProcedure>(
        m_context, static_cast<BaseDownloadView&>(*this), std::move(hooks));
    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->press(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

COmbrelRepDownloadDataViaBaseDlg::~COmbrelRepDownloadDataViaBaseDlg() = default;

int COmbrelRepDownloadDataViaBaseDlg::takeImplantId()
{
    return m_implant->take(m_context.prompts);
}

void COmbrelRepDownloadDataViaBaseDlg::setOtherControlsEnabled(bool enabled)
{
    m_exit->setEnabled(enabled);
    m_ok->setEnabled(enabled);
    m_implant->setEnabled(enabled);
    m_vicinity->setButtonsEnabled(enabled);
}

void COmbrelRepDownloadDataViaBaseDlg::setReadEnabled(bool enabled)
{
    m_read->setEnabled(enabled);
}

void COmbrelRepDownloadDataViaBaseDlg::setReadCaption(const QString& caption)
{
    m_read->setText(caption);
}

void COmbrelRepDownloadDataViaBaseDlg::setAnimation(bool running)
{
    if (running)
        m_animation->start();
    else
        m_animation->stop();
}

void COmbrelRepDownloadDataViaBaseDlg::setStatusText(const QString& text)
{
    m_status->setText(text);
}

void COmbrelRepDownloadDataViaBaseDlg::setTimeTexts(const QString& sinceLastPacket,
                                                    const QString& sinceStart)
{
    m_sinceLast->setText(sinceLastPacket);
    m_elapsed->setText(sinceStart);
}

void COmbrelRepDownloadDataViaBaseDlg::setProgressRange(std::uint32_t maximum)
{
    // An empty range would turn the bar into a busy indicator.
    m_progressMaximum = std::clamp<std::uint32_t>(
        maximum, 1, static_cast<std::uint32_t>(std::numeric_limits<int>::max()));
    m_progress->setRange(0, static_cast<int>(m_progressMaximum));
    m_progress->setValue(0);
}

void COmbrelRepDownloadDataViaBaseDlg::setProgress(std::uint32_t value)
{
    m_progress->setValue(static_cast<int>(std::min(value, m_progressMaximum)));
}

void COmbrelRepDownloadDataViaBaseDlg::showTransfer(std::uint32_t stored, std::uint32_t total,
                                                    double bytesPerSecond)
{
    m_transfer->setText(TransferText::describe(stored, total, bytesPerSecond));
}
