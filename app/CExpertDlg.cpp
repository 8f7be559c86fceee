#include "app/CExpertDlg.h"

#include "app/WarningPicture.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CExpertDlg::CExpertDlg(bool expertModeOn, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Harvane - Expert Mode"));

    auto picture = [this] {
        auto* label = new QLabel(this);
        label->setPixmap(warningPicture(48));
        return label;
    };
    m_question = new QLabel(expertModeOn ? tr("Do you really want to disable expert mode features?")
                                         : tr("Do you really want to enable expert mode features?"),
                            this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setWeight(QFont::Bold);
    font.setUnderline(true);
    m_question->setFont(font);
    QPalette palette = m_question->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_question->setPalette(palette);
    m_question->setAlignment(Qt::AlignCenter);

    m_yes = new QPushButton(tr("Yes"), this);
    m_no = new QPushButton(tr("No"), this);
    m_yes->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture(), 0, 0, Qt::AlignLeft);
    layout->addWidget(picture(), 0, 2, Qt::AlignRight);
    layout->addWidget(m_question, 1, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addStretch();
    layout->addLayout(buttons, 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);
}

QString CExpertDlg::question() const
{
    return m_question->text();
}
