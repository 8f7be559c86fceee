#include "base/LoggersInVicinityGroup.h"

#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

LoggersInVicinityGroup::LoggersInVicinityGroup(
    DeviceContext context, ReportWatch::Settings settings,
    std::function<void(bool enabled)> setDialogControlsEnabled, BusyAnimation* animation,
    QWidget* parent)
    : QGroupBox(tr("Loggers in vicinity"), parent),
      m_setDialogControlsEnabled(std::move(setDialogControlsEnabled)), m_animation(animation)
{
    m_list = new LogListWidget(this);
    m_list->setMinimumHeight(110);
    m_start = new QPushButton(settings.idleCaption, this);
    m_deleteLog = new QPushButton(tr("Delete Log"), this);
    m_list->setObjectName(QStringLiteral("VicinityList"));
    m_start->setObjectName(QStringLiteral("ObservationButton"));
    m_deleteLog->setObjectName(QStringLiteral("DeleteLogButton"));
    for (QPushButton* button : {m_start, m_deleteLog})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_deleteLog);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    m_watch = std::make_unique<ReportWatch>(
        std::move(context), static_cast<ReportWatchView&>(*this), std::move(settings));
    connect(m_start, &QPushButton::clicked, this, [this] { m_watch->press(); });
    connect(m_deleteLog, &QPushButton::clicked, m_list, &LogListWidget::clear);
}

LoggersInVicinityGroup::~LoggersInVicinityGroup() = default;

void LoggersInVicinityGroup::setButtonsEnabled(bool enabled)
{
    m_start->setEnabled(enabled);
    m_deleteLog->setEnabled(enabled);
}

void LoggersInVicinityGroup::setControlsEnabled(bool enabled)
{
    m_setDialogControlsEnabled(enabled);
}

void LoggersInVicinityGroup::setCaption(const QString& caption)
{
    m_start->setText(caption);
}

void LoggersInVicinityGroup::setAnimation(bool running)
{
    if (running)
        m_animation->start();
    else
        m_animation->stop();
}

void LoggersInVicinityGroup::appendLine(const QString& line)
{
    m_list->appendLine(line);
}
