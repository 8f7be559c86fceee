#include "link/CCOMChooseDlg.h"

#include "link/PortEnumerator.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

CCOMChooseDlg::CCOMChooseDlg(const PortEnumerator& ports, ChooseHandler onChoose, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("COM pick"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("PortChoice"));
    m_list->addItems(ports.portNames());
    m_list->setCurrentIndex(-1);
    m_list->setMinimumWidth(140);
    m_exit = new QPushButton(tr("Exit"), this);
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QComboBox::activated, this, [this, onChoose = std::move(onChoose)](int index) {
        if (onChoose)
            onChoose(m_list->itemText(index), index);
    });
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_exit);
}
