#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"

#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COmbrelRepeaterImplantSurveillanceDlg::COmbrelRepeaterImplantSurveillanceDlg(DeviceContext context,
                                                                             QWidget* parent)
    : ExitGuardedDialog(parent)
{
    setWindowTitle(tr("Implant Surveillance"));
    auto* heading = new QLabel(tr("Type   Date/Time   ImplantID     BodyTemperature"), this);
    m_list = new LogListWidget(this);
    m_list->setMinimumSize(460, 240);
    m_start = new QPushButton(tr("Start Surveillance"), this);
    m_deleteLog = new QPushButton(tr("Delete Log"), this);
    m_animation = new BusyAnimation(this);
    m_animation->setFixedSize(80, 48);
    m_exit = new QPushButton(tr("Exit"), this);
    setExitButton(m_exit);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_list->setObjectName(QStringLiteral("PacketList"));
    m_start->setObjectName(QStringLiteral("SurveillanceButton"));
    m_deleteLog->setObjectName(QStringLiteral("DeleteLogButton"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->hide();
    for (QPushButton* button : {m_start, m_deleteLog, m_exit, m_cancel})
        button->setAutoDefault(false);

    auto* side = new QVBoxLayout;
    side->addWidget(m_start);
    side->addWidget(m_deleteLog);
    side->addWidget(m_animation, 0, Qt::AlignHCenter);
    side->addStretch();
    side->addWidget(m_cancel);
    side->addWidget(m_exit);
    auto* grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(side, 1, 1);

    m_watch =
        std::make_unique<ReportWatch>(std::move(context), static_cast<ReportWatchView&>(*this),
                                      ReportWatch::implantSurveillance());
    connect(m_start, &QPushButton::clicked, this, [this] { m_watch->press(); });
    connect(m_deleteLog, &QPushButton::clicked, m_list, &LogListWidget::clear);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

COmbrelRepeaterImplantSurveillanceDlg::~COmbrelRepeaterImplantSurveillanceDlg() = default;

void COmbrelRepeaterImplantSurveillanceDlg::setControlsEnabled(bool enabled)
{
    m_exit->setEnabled(enabled);
    m_cancel->setEnabled(enabled);
}

void COmbrelRepeaterImplantSurveillanceDlg::setCaption(const QString& caption)
{
    m_start->setText(caption);
}

void COmbrelRepeaterImplantSurveillanceDlg::setAnimation(bool running)
{
    if (running)
        m_animation->start();
    else
        m_animation->stop();
}

void COmbrelRepeaterImplantSurveillanceDlg::appendLine(const QString& line)
{
    m_list->appendLine(line);
}
