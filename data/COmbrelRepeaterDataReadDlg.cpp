#include "data/COmbrelRepeaterDataReadDlg.h"

#include "widgets/BusyAnimation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

QString duration(double seconds)
{
    const auto s = static_cast<qint64>(seconds + 0.5);
    if (s >= 3600)
        return QCoreApplication::translate("COmbrelRepeaterDataReadDlg", "%1 h %2 min")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'));
    if (s >= 60)
        return QCoreApplication::translate("COmbrelRepeaterDataReadDlg", "%1 min %2 s")
            .arg(s / 60)
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 s").arg(s);
}

} // namespace

COmbrelRepeaterDataReadDlg::COmbrelRepeaterDataReadDlg(DeviceContext context,
                                                       ReadDataProcedure::Hooks hooks,
                                                       QWidget* parent)
    : ExitGuardedDialog(parent)
{
    setWindowTitle(tr("Harvane – Read data"));
    m_read = new QPushButton(tr("Read data"), this);
    m_exit = new QPushButton(tr("Exit"), this);
    setExitButton(m_exit);
    m_abort = new QPushButton(tr("Abort"), this);
    m_read->setObjectName(QStringLiteral("ReadDataButton"));
    m_exit->setObjectName(QStringLiteral("ExitButton"));
    m_abort->setObjectName(QStringLiteral("AbortButton"));
    m_abort->setEnabled(false);
    // The default button: Enter closes the dialog once it has been enabled
    // at the end of the first read, and does nothing before. It is never
    // shown, and Qt presses no hidden default button: keyPressEvent does.
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    m_ok->hide();
    for (QPushButton* button : {m_read, m_exit, m_abort})
        button->setAutoDefault(false);
    m_animation = new BusyAnimation(this);
    m_animation->setFixedSize(80, 48);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progressText = new QLabel(this);
    m_progressText->setMinimumWidth(360);
    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("SummaryText"));
    m_summary->setReadOnly(true);
    m_summary->setMinimumSize(420, 120);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_abort);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_summary, 0, 0, 1, 2);
    layout->addWidget(m_animation, 0, 2, Qt::AlignTop);
    layout->addWidget(m_progress, 1, 0, 1, 3);
    layout->addWidget(m_progressText, 2, 0, 1, 3);
    layout->addLayout(buttons, 3, 0, 1, 3);

    m_procedure = std::make_unique<ReadDataProcedure>(
        std::move(context), static_cast<ReadDataView&>(*this), std::move(hooks));
    connect(m_read, &QPushButton::clicked, this, [this] { m_procedure->readData(); });
    connect(m_abort, &QPushButton::clicked, this, [this] { m_procedure->abort(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

COmbrelRepeaterDataReadDlg::~COmbrelRepeaterDataReadDlg() = default;

void COmbrelRepeaterDataReadDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_ok->isEnabled())
            m_ok->click();
        event->accept();
        return;
    }
    ExitGuardedDialog::keyPressEvent(event);
}

void COmbrelRepeaterDataReadDlg::setBusy(bool busy)
{
    m_read->setEnabled(!busy);
    m_ok->setEnabled(!busy);
    m_exit->setEnabled(!busy);
    if (busy)
        m_animation->start();
    else
        m_animation->stop();
}

void COmbrelRepeaterDataReadDlg::setAbortEnabled(bool enabled)
{
    m_abort->setEnabled(enabled);
}

void COmbrelRepeaterDataReadDlg::showSummary(const QString& text)
{
    m_summary->setPlainText(text);
}

void COmbrelRepeaterDataReadDlg::setProgressRange(std::uint32_t total)
{
    m_total = total;
    // In bytes: the largest memory (67 104 864) fits an int with room to
    // spare, and a small one still moves. An empty one shows as done.
    m_progress->setRange(0, qMax<int>(1, static_cast<int>(total)));
    m_progress->setValue(0);
}

void COmbrelRepeaterDataReadDlg::showProgress(std::uint64_t bytesRead, std::uint32_t stored,
                                              std::uint32_t total, double bytesPerSecond)
{
    m_progress->setValue(total == 0 ? 1
                                    : static_cast<int>(std::min<std::uint64_t>(bytesRead, total)));
    QString text = tr("%1 of %2 bytes").arg(stored).arg(total);
    if (bytesPerSecond > 0) {
        text += tr(" · %1 bytes/s").arg(static_cast<qint64>(bytesPerSecond));
        if (stored < total)
            text += tr(" · %1 left").arg(duration((total - stored) / bytesPerSecond));
    }
    m_progressText->setText(text);
}
