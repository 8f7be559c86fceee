#include "base/COmbrelRepReadBaseRevDlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

COmbrelRepReadBaseRevDlg::COmbrelRepReadBaseRevDlg(DeviceContext context, QWidget* parent)
    : ExitGuardedDialog(parent)
{
    setWindowTitle(tr("Harvane - Read Base Station Revision"));
    m_read = new QPushButton(tr("Read revision"), this);
    m_firmware = new QLineEdit(this);
    m_hardware = new QLineEdit(this);
    for (QLineEdit* field : {m_firmware, m_hardware}) {
        field->setReadOnly(true);
        field->setMinimumWidth(160);
    }
    m_exit = new QPushButton(tr("Exit"), this);
    setExitButton(m_exit);
    m_ok = new QPushButton(tr("OK"), this);
    m_read->setObjectName(QStringLiteral("ReadRevisionButton"));
    m_firmware->setObjectName(QStringLiteral("FirmwareRevisionField"));
    m_hardware->setObjectName(QStringLiteral("HardwareRevisionField"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->hide();
    for (QPushButton* button : {m_read, m_exit, m_ok})
        button->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow(tr("FW revision:"), m_firmware);
    fields->addRow(tr("HW revision:"), m_hardware);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    BaseRevisionProcedure::View view;
    view.setBusy = [this](bool busy) {
        for (QPushButton* button : {m_read, m_exit, m_ok})
            button->setEnabled(!busy);
    };
    view.showRevisions = [this](const QString& firmware, const QString& hardware) {
        m_firmware->setText(firmware);
        m_hardware->setText(hardware);
    };
    m_procedure = std::make_unique<BaseRevisionProcedure>(std::move(context), std::move(view));
    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->readRevision(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

COmbrelRepReadBaseRevDlg::~COmbrelRepReadBaseRevDlg() = default;
