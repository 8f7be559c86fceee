#include "logger/LoggerSettingsPanel.h"
#include <QCoreApplication>

#include "link/UserPrompts.h"
#include "logger/LoggerSettingsForm.h"
#include "widgets/BusyAnimation.h"
#include "widgets/CLed.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace {

QLineEdit* numberField(QWidget* parent, bool readOnly)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(readOnly);
    // Wide enough for every value the status holds ("0.0366486").
    field->setFixedWidth(110);
    return field;
}

QTimeEdit* timePicker(QWidget* parent)
{
    auto* picker = new QTimeEdit(parent);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QDateEdit* datePicker(QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return picker;
}

void setLamp(CLed* lamp, LoggerSettingsForm::Lamp state)
{
    switch (state) {
    case LoggerSettingsForm::Lamp::Grey:
        lamp->setLed(CLed::Green, CLed::Disabled, CLed::Circular);
        break;
    case LoggerSettingsForm::Lamp::GreyRed:
        lamp->setLed(CLed::Red, CLed::Disabled, CLed::Circular);
        break;
    case LoggerSettingsForm::Lamp::Red:
        lamp->setLed(CLed::Red, CLed::On, CLed::Circular);
        break;
    case LoggerSettingsForm::Lamp::Green:
        lamp->setLed(CLed::Green, CLed::On, CLed::Circular);
        break;
    }
}

// A decimal integer as typed: surrounding blanks are allowed, nothing else.
std::optional<qlonglong> parseInteger(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool fieldError(UserPrompts& prompts, QLineEdit* field, const QString& message)
{
    prompts.showMessage(message);
    field->setFocus();
    field->selectAll();
    return false;
}

} // namespace

LoggerSettingsPanel::LoggerSettingsPanel(QWidget* parent)
{
    m_statusGroup =
        new QGroupBox(QCoreApplication::translate("LoggerSettingsPanel", "Logger Status"), parent);
    m_loggingLamp = new CLed(m_statusGroup);
    m_implantLamp = new CLed(m_statusGroup);
    m_loggingLamp->setObjectName(QStringLiteral("LoggerStatusLed"));
    m_implantLamp->setObjectName(QStringLiteral("ImplantDataLed"));
    m_loggingLamp->setFixedSize(36, 36);
    m_implantLamp->setFixedSize(36, 36);
    auto* statusLayout = new QFormLayout(m_statusGroup);
    statusLayout->addRow(
        QCoreApplication::translate("LoggerSettingsPanel", "Logger Status On/Off:"), m_loggingLamp);
    statusLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Implant Data Yes/No:"),
                         m_implantLamp);
    m_animation = new BusyAnimation(parent);
    m_animation->setFixedSize(80, 48);
    statusLayout->addRow(m_animation);

    m_settingsGroup = new QGroupBox(
        QCoreApplication::translate("LoggerSettingsPanel", "Logger Settings"), parent);
    QGroupBox* settings = m_settingsGroup;
    m_loggerId = numberField(settings, false);
    m_implantId = numberField(settings, false);
    m_interval = numberField(settings, false);
    m_intervalUp = new QToolButton(settings);
    m_intervalUp->setArrowType(Qt::UpArrow);
    m_intervalDown = new QToolButton(settings);
    m_intervalDown->setArrowType(Qt::DownArrow);
    m_loggerId->setObjectName(QStringLiteral("LoggerIdField"));
    m_implantId->setObjectName(QStringLiteral("ImplantIdField"));
    m_interval->setObjectName(QStringLiteral("IntervalField"));
    m_intervalUp->setObjectName(QStringLiteral("IntervalUp"));
    m_intervalDown->setObjectName(QStringLiteral("IntervalDown"));
    for (QToolButton* arrow : {m_intervalUp, m_intervalDown})
        arrow->setFixedSize(18, 12);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(m_intervalUp);
    arrows->addWidget(m_intervalDown);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(m_interval);
    intervalRow->addLayout(arrows);
    intervalRow->addStretch();
    m_threshold = numberField(settings, true);
    m_usedMemory = numberField(settings, true);
    m_firmware = numberField(settings, true);
    m_hardware = numberField(settings, true);
    m_threshold->setObjectName(QStringLiteral("ThresholdField"));
    m_usedMemory->setObjectName(QStringLiteral("UsedMemoryField"));
    m_firmware->setObjectName(QStringLiteral("FirmwareField"));
    m_hardware->setObjectName(QStringLiteral("HardwareField"));
    auto* settingsLayout = new QFormLayout(settings);
    settingsLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Logger ID:"),
                           m_loggerId);
    settingsLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Implant ID:"),
                           m_implantId);
    settingsLayout->addRow(
        QCoreApplication::translate("LoggerSettingsPanel", "Logging Interval in 15 sec steps:"),
        intervalRow);
    settingsLayout->addRow(
        QCoreApplication::translate("LoggerSettingsPanel", "Head position decision threshold:"),
        m_threshold);
    settingsLayout->addRow(
        QCoreApplication::translate("LoggerSettingsPanel", "Used flash memory [%]:"), m_usedMemory);
    settingsLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "FW Rev:"),
                           m_firmware);
    settingsLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "HW Rev:"),
                           m_hardware);

    m_timeGroup =
        new QGroupBox(QCoreApplication::translate("LoggerSettingsPanel", "Logger Time"), parent);
    QGroupBox* time = m_timeGroup;
    m_clockTime = timePicker(time);
    m_clockDate = datePicker(time);
    m_startTime = timePicker(time);
    m_startDate = datePicker(time);
    m_clockTime->setObjectName(QStringLiteral("LoggerTime"));
    m_clockDate->setObjectName(QStringLiteral("LoggerDate"));
    m_startTime->setObjectName(QStringLiteral("LoggerStartTime"));
    m_startDate->setObjectName(QStringLiteral("LoggerStartDate"));
    for (QWidget* picker : {static_cast<QWidget*>(m_clockTime), static_cast<QWidget*>(m_clockDate)})
        picker->setEnabled(false); // the logger's clock is set by writing, never by hand
    auto* timeLayout = new QFormLayout(time);
    timeLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Current logger time:"),
                       m_clockTime);
    timeLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Current logger date:"),
                       m_clockDate);
    timeLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Logger start time:"),
                       m_startTime);
    timeLayout->addRow(QCoreApplication::translate("LoggerSettingsPanel", "Logger start date:"),
                       m_startDate);

    m_vhfGroup =
        new QGroupBox(QCoreApplication::translate("LoggerSettingsPanel", "VHF schedule"), time);
    m_vhfDisable = new QCheckBox(m_vhfGroup);
    m_vhfStart = timePicker(m_vhfGroup);
    m_vhfStop = timePicker(m_vhfGroup);
    m_vhfDisable->setObjectName(QStringLiteral("VhfDisableBox"));
    m_vhfStart->setObjectName(QStringLiteral("VhfStartTime"));
    m_vhfStop->setObjectName(QStringLiteral("VhfStopTime"));
    auto* vhfLayout = new QGridLayout(m_vhfGroup);
    vhfLayout->addWidget(
        new QLabel(QCoreApplication::translate("LoggerSettingsPanel", "VHF disable:"), m_vhfGroup),
        0, 0);
    vhfLayout->addWidget(m_vhfDisable, 0, 1);
    vhfLayout->addWidget(
        new QLabel(QCoreApplication::translate("LoggerSettingsPanel", "VHF start time:"),
                   m_vhfGroup),
        1, 0);
    vhfLayout->addWidget(m_vhfStart, 1, 1, 1, 3);
    vhfLayout->addWidget(
        new QLabel(QCoreApplication::translate("LoggerSettingsPanel", "VHF stop time:"),
                   m_vhfGroup),
        2, 0);
    vhfLayout->addWidget(m_vhfStop, 2, 1, 1, 3);
    vhfLayout->addWidget(
        new QLabel(QCoreApplication::translate("LoggerSettingsPanel", "VHF enable days:"),
                   m_vhfGroup),
        3, 0);
    const char* const dayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    auto* dayRow = new QHBoxLayout;
    for (std::size_t i = 0; i < m_days.size(); ++i) {
        m_days[i] = new QCheckBox(QString::fromLatin1(dayNames[i]), m_vhfGroup);
        m_days[i]->setObjectName(QStringLiteral("VhfDay") + QString::fromLatin1(dayNames[i]));
        dayRow->addWidget(m_days[i]);
    }
    vhfLayout->addLayout(dayRow, 3, 1, 1, 7);
    vhfLayout->addWidget(
        new QLabel(QCoreApplication::translate("LoggerSettingsPanel", "VHF enable months:"),
                   m_vhfGroup),
        4, 0);
    const char* const monthNames[] = {"Jan", "Feb", "Mar",  "Apr", "Mai", "Jun",
                                      "Jul", "Aug", "Sept", "Oct", "Nov", "Dec"};
    auto* monthRow1 = new QHBoxLayout;
    auto* monthRow2 = new QHBoxLayout;
    for (std::size_t i = 0; i < m_months.size(); ++i) {
        m_months[i] = new QCheckBox(QString::fromLatin1(monthNames[i]), m_vhfGroup);
        m_months[i]->setObjectName(QStringLiteral("VhfMonth") + QString::fromLatin1(monthNames[i]));
        (i < 7 ? monthRow1 : monthRow2)->addWidget(m_months[i]);
    }
    monthRow2->addStretch();
    vhfLayout->addLayout(monthRow1, 4, 1, 1, 7);
    vhfLayout->addLayout(monthRow2, 5, 1, 1, 7);
    timeLayout->addRow(m_vhfGroup);

    m_packetsGroup = new QGroupBox(
        QCoreApplication::translate("LoggerSettingsPanel", "Packet Statistics"), parent);
    auto* packetLayout = new QFormLayout(m_packetsGroup);
    const char* const countNames[] = {"ValidPacketCount", "InvalidPacketCount", "NoPacketCount",
                                      "SyncLossCount"};
    const char* const countLabels[] = {
        "Valid packet count:", "Invalid packet count:", "No packet count:", "Sync loss count:"};
    for (std::size_t i = 0; i < m_counts.size(); ++i) {
        m_counts[i] = numberField(m_packetsGroup, true);
        m_counts[i]->setObjectName(QString::fromLatin1(countNames[i]));
        packetLayout->addRow(QString::fromLatin1(countLabels[i]), m_counts[i]);
    }
}

bool LoggerSettingsPanel::takeValues(LoggerSettingsForm& form, UserPrompts& prompts)
{
    // In field order; the first field that breaks its rule stops the rest.
    const struct {
        QLineEdit* field;
        int* target;
        int low;
        int high;
    } ranged[] = {
        {m_loggerId, &form.loggerId, 0, LoggerSettingsForm::MaxLoggerId},
        {m_implantId, &form.implantId, 0, LoggerSettingsForm::MaxImplantId},
        {m_interval, &form.intervalSeconds, 0, LoggerSettingsForm::MaxIntervalSeconds},
    };
    for (const auto& entry : ranged) {
        const auto value = parseInteger(entry.field->text());
        if (!value || *value < std::numeric_limits<int>::min() ||
            *value > std::numeric_limits<int>::max())
            return fieldError(
                prompts, entry.field,
                QCoreApplication::translate("LoggerSettingsPanel", "Enter an integer."));
        // The value is kept even when out of range, so that the field's own
        // handler can bring it into range afterwards.
        *entry.target = static_cast<int>(*value);
        if (*value < entry.low || *value > entry.high)
            return fieldError(prompts, entry.field,
                              QCoreApplication::translate("LoggerSettingsPanel",
                                                          "Enter an integer between %1 and %2.")
                                  .arg(entry.low)
                                  .arg(entry.high));
    }
    const auto threshold = parseInteger(m_threshold->text());
    if (!threshold || *threshold < -32768 || *threshold > 32767)
        return fieldError(prompts, m_threshold,
                          QCoreApplication::translate("LoggerSettingsPanel", "Enter an integer."));
    form.threshold = static_cast<std::int16_t>(*threshold);
    bool ok = false;
    const float used = m_usedMemory->text().trimmed().toFloat(&ok);
    if (!ok)
        return fieldError(prompts, m_usedMemory,
                          QCoreApplication::translate("LoggerSettingsPanel", "Enter a number."));
    form.usedMemoryPercent = used;
    std::uint32_t* counts[] = {&form.validPackets, &form.invalidPackets, &form.noPackets,
                               &form.syncLosses};
    for (std::size_t i = 0; i < m_counts.size(); ++i) {
        const auto value = parseInteger(m_counts[i]->text());
        if (!value || *value < 0 || *value > std::numeric_limits<std::uint32_t>::max())
            return fieldError(
                prompts, m_counts[i],
                QCoreApplication::translate("LoggerSettingsPanel", "Enter a positive integer."));
        *counts[i] = static_cast<std::uint32_t>(*value);
    }
    form.vhfDisabled = m_vhfDisable->isChecked();
    form.vhfStart = m_vhfStart->time();
    form.vhfStop = m_vhfStop->time();
    for (std::size_t i = 0; i < m_days.size(); ++i)
        form.days[i] = m_days[i]->isChecked();
    for (std::size_t i = 0; i < m_months.size(); ++i)
        form.months[i] = m_months[i]->isChecked();
    return true;
}

void LoggerSettingsPanel::showValues(const LoggerSettingsForm& form)
{
    m_loggerId->setText(QString::number(form.loggerId));
    m_implantId->setText(QString::number(form.implantId));
    m_interval->setText(QString::number(form.intervalSeconds));
    m_threshold->setText(QString::number(form.threshold));
    m_usedMemory->setText(QString::number(static_cast<double>(form.usedMemoryPercent), 'g', 6));
    m_firmware->setText(form.firmwareRevision);
    m_hardware->setText(form.hardwareRevision);
    const std::uint32_t counts[] = {form.validPackets, form.invalidPackets, form.noPackets,
                                    form.syncLosses};
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        m_counts[i]->setText(QString::number(counts[i]));
    m_clockTime->setTime(form.clock.time());
    m_clockDate->setDate(form.clock.date());
    m_startTime->setTime(form.loggingStart.time());
    m_startDate->setDate(form.loggingStart.date());
    m_vhfStart->setTime(form.vhfStart);
    m_vhfStop->setTime(form.vhfStop);
    m_vhfDisable->setChecked(form.vhfDisabled);
    for (std::size_t i = 0; i < m_days.size(); ++i)
        m_days[i]->setChecked(form.days[i]);
    for (std::size_t i = 0; i < m_months.size(); ++i)
        m_months[i]->setChecked(form.months[i]);
    setLamp(m_loggingLamp, form.loggingLamp);
    setLamp(m_implantLamp, form.implantLamp);
    // A value longer than its field shows its beginning, not its end.
    for (QLineEdit* field :
         {m_loggerId, m_implantId, m_interval, m_threshold, m_usedMemory, m_firmware, m_hardware})
        field->setCursorPosition(0);
    for (QLineEdit* field : m_counts)
        field->setCursorPosition(0);
}

void LoggerSettingsPanel::enableVhfControls(bool enabled)
{
    m_vhfStart->setEnabled(enabled);
    m_vhfStop->setEnabled(enabled);
    for (QCheckBox* box : m_days)
        box->setEnabled(enabled);
    for (QCheckBox* box : m_months)
        box->setEnabled(enabled);
}

void LoggerSettingsPanel::setDisplayOnly()
{
    for (QLineEdit* field : {m_loggerId, m_implantId, m_interval})
        field->setReadOnly(true);
    m_intervalUp->setEnabled(false);
    m_intervalDown->setEnabled(false);
    for (QWidget* picker : {static_cast<QWidget*>(m_startTime), static_cast<QWidget*>(m_startDate),
                            static_cast<QWidget*>(m_vhfDisable)})
        picker->setEnabled(false);
    enableVhfControls(false);
    m_vhfGroup->setVisible(false);
}
