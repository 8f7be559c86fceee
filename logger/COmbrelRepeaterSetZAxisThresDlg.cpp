#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"

#include "link/UserPrompts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

COmbrelRepeaterSetZAxisThresDlg::COmbrelRepeaterSetZAxisThresDlg(DeviceContext context,
                                                                 QWidget* parent)
    : ExitGuardedDialog(parent), m_context(context), m_procedure(std::move(context))
{
    setWindowTitle(tr("Head position threshold dialog"));
    m_read = new QPushButton(tr("Read head tilt acceleration"), this);
    m_write = new QPushButton(tr("Write head pos threshold"), this);
    m_exit = new QPushButton(tr("Exit"), this);
    m_read->setObjectName(QStringLiteral("ReadTiltButton"));
    m_write->setObjectName(QStringLiteral("WriteThresholdButton"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    setExitButton(m_exit);
    m_exit->setDefault(true);
    m_tiltField = new QLineEdit(this);
    m_tiltField->setReadOnly(true);
    m_thresholdField = new QLineEdit(this);
    m_tiltField->setObjectName(QStringLiteral("TiltField"));
    m_thresholdField->setObjectName(QStringLiteral("HeadPosThresholdField"));
    auto* fields = new QFormLayout;
    fields->addRow(tr("Head tilt acceleration:"), m_tiltField);
    fields->addRow(tr("Head pos threshold:"), m_thresholdField);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_write);
    buttons->addStretch();
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    showValues();

    connect(m_read, &QPushButton::clicked, this, [this] {
        setBusy(true);
        if (const auto tilt = m_procedure.readTilt()) {
            m_tilt = *tilt;
            showValues(); // the held threshold replaces anything typed but not written
        }
        setBusy(false);
    });
    connect(m_write, &QPushButton::clicked, this, [this] {
        setBusy(true);
        // The field is taken once the logger has been checked; a field that
        // holds no integer leaves the held threshold, which is then written.
        m_procedure.writeThreshold([this] {
            takeThreshold();
            return m_threshold;
        });
        setBusy(false);
    });
    connect(m_exit, &QPushButton::clicked, this, &COmbrelRepeaterSetZAxisThresDlg::accept);
}

bool COmbrelRepeaterSetZAxisThresDlg::takeThreshold()
{
    bool ok = false;
    const int value = m_thresholdField->text().trimmed().toInt(&ok);
    if (!ok || value < -32768 || value > 32767) {
        m_context.prompts.showMessage(tr("Enter an integer."));
        m_thresholdField->setFocus();
        return false;
    }
    m_threshold = static_cast<std::int16_t>(value);
    return true;
}

void COmbrelRepeaterSetZAxisThresDlg::showValues()
{
    m_tiltField->setText(QString::number(m_tilt));
    m_thresholdField->setText(QString::number(m_threshold));
}

void COmbrelRepeaterSetZAxisThresDlg::setBusy(bool busy)
{
    // One exchange at a time on the port: a second click must wait.
    m_read->setEnabled(!busy);
    m_write->setEnabled(!busy);
    m_exit->setEnabled(!busy);
}

void COmbrelRepeaterSetZAxisThresDlg::accept()
{
    if (!m_exit->isEnabled() || !takeThreshold())
        return;
    QDialog::accept();
}
