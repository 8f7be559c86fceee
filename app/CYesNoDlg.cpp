#include "app/CYesNoDlg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

CYesNoDlg::CYesNoDlg(const QString& question, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Harvane"));
    // Title bar without a close button: the user answers the question.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_text = new QTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setPlainText(question);
    m_text->selectAll();
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setTextCursor(QTextCursor(m_text->document()));
    m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 12);
    m_text->setMinimumWidth(320);

    m_yes = new QPushButton(tr("Yes"), this);
    m_no = new QPushButton(tr("No"), this);
    m_yes->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, [this] { done(ResultYes); });
    connect(m_no, &QPushButton::clicked, this, [this] { done(ResultNo); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
}

QString CYesNoDlg::question() const
{
    return m_text->toPlainText();
}

void CYesNoDlg::reject()
{
    // Esc: neither Yes nor No.
    done(ResultDismissed);
}

void CYesNoDlg::closeEvent(QCloseEvent* event)
{
    // The window manager's close (Alt+F4) is no answer: the question stays.
    event->ignore();
}

void CYesNoDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_yes->setFocus();
}
