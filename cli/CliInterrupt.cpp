#include "cli/CliInterrupt.h"

#include <QSocketNotifier>

#include <cstdlib>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

CliInterrupt::CliInterrupt()
{
#ifdef Q_OS_LINUX
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) == 0)
        m_fd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
#endif
    // Elsewhere the platform's default stays: Ctrl-C ends the program.
}

CliInterrupt::~CliInterrupt()
{
    m_notifier.reset();
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void CliInterrupt::listen()
{
    if (m_fd < 0 || m_notifier)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { onSignal(); });
}

void CliInterrupt::onSignal()
{
#ifdef Q_OS_LINUX
    signalfd_siginfo info{};
    while (::read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
#endif
    // A second Ctrl-C while the job winds down is not a reason to cut it
    // short: it is already on its way out.
    if (m_interrupted && m_action)
        return;
    m_interrupted = true;
    if (!m_action)
        std::_Exit(InterruptedExitStatus);
    m_action();
}
