#include "logger/COmbrelRepeaterAskBeforeErase.h"

#include "widgets/BusyAnimation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const QString Question =
    QCoreApplication::translate("COmbrelRepeaterAskBeforeErase", "Erase entire data memory?");
}

COmbrelRepeaterAskBeforeErase::COmbrelRepeaterAskBeforeErase(DeviceContext context, QWidget* parent)
    : ExitGuardedDialog(parent)
{
    setWindowTitle(tr("Harvane – Erase memory"));
    m_question = new QLabel(Question, this);
    m_erase = new QPushButton(tr("Erase"), this);
    m_exit = new QPushButton(tr("Exit"), this);
    m_erase->setObjectName(QStringLiteral("EraseButton"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    setExitButton(m_exit);
    m_exit->setDefault(true);
    m_animation = new BusyAnimation(this);
    m_animation->setFixedSize(80, 48);
    m_countdown = new QLabel(this);
    m_countdown->setMinimumWidth(220);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_question, 0, 0, 1, 2);
    layout->addWidget(m_animation, 0, 2, 2, 1);
    layout->addWidget(m_countdown, 1, 0, 1, 2);
    layout->addWidget(m_erase, 2, 0);
    layout->addWidget(m_exit, 2, 1);

    EraseProcedure::View view;
    view.setBusy = [this](bool busy) {
        m_erase->setEnabled(!busy);
        m_exit->setEnabled(!busy);
        if (busy)
            m_question->setText(Question);
    };
    view.setAnimation = [this](bool running) {
        if (running)
            m_animation->start();
        else
            m_animation->stop();
    };
    view.showCountdown = [this](int seconds) {
        m_countdown->setText(seconds < 0 ? QString()
                                         : tr("Erasing... at most %1 s left").arg(seconds));
    };
    // Said in the dialog itself: an extra message box would only be one
    // more thing to click away.
    view.showErased = [this] { m_question->setText(tr("Memory erased.")); };
    m_procedure = std::make_unique<EraseProcedure>(std::move(context), std::move(view));
    connect(m_erase, &QPushButton::clicked, this, [this] { m_procedure->erase(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
}

COmbrelRepeaterAskBeforeErase::~COmbrelRepeaterAskBeforeErase() = default;
