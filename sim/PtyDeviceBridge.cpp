#include "sim/PtyDeviceBridge.h"

#include "sim/SimulatedDevice.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyDeviceBridge::PtyDeviceBridge(SimulatedDevice& device) : m_device(device) {}

PtyDeviceBridge::~PtyDeviceBridge()
{
    stop();
    closeAll();
}

bool PtyDeviceBridge::open(QString* error)
{
    std::array<char, 256> name{};
    if (::openpty(&m_master, &m_slave, name.data(), nullptr, nullptr) != 0) {
        if (error != nullptr)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // The bridge keeps its own handle on the terminal side, so the terminal
    // lives on while clients open and close it.
    m_path = QString::fromLocal8Bit(name.data());
    return true;
}

void PtyDeviceBridge::start()
{
    if (m_thread.joinable() || m_master < 0)
        return;
    m_stop = false;
    m_thread = std::thread([this] { run(m_stop); });
}

void PtyDeviceBridge::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::int64_t PtyDeviceBridge::nowUs() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 m_start)
        .count();
}

void PtyDeviceBridge::run(const std::atomic<bool>& stopRequested)
{
    std::vector<std::uint8_t> incoming(4096);
    std::vector<std::uint8_t> outgoing(4096);
    while (!stopRequested && m_master >= 0) {
        if (m_device.isUnplugged()) {
            // The adapter is gone: the far side sees the line hang up.
            closeAll();
            return;
        }
        const std::int64_t now = nowUs();
        const auto next = m_device.nextArrivalUs(now);
        const std::int64_t timeoutUs =
            next ? std::clamp<std::int64_t>(*next - now, 0, 20'000) : 20'000;
        pollfd fd{m_master, POLLIN, 0};
        const timespec timeout{0, static_cast<long>(timeoutUs * 1000)};
        if (::ppoll(&fd, 1, &timeout, nullptr) > 0 && (fd.revents & POLLIN) != 0) {
            const ssize_t got = ::read(m_master, incoming.data(), incoming.size());
            if (got > 0)
                m_device.receive(std::span(incoming.data(), static_cast<std::size_t>(got)),
                                 nowUs());
        }
        for (;;) {
            const std::size_t ready = m_device.read(outgoing, nowUs());
            if (ready == 0)
                break;
            if (!writeAll(outgoing.data(), ready))
                break;
        }
    }
}

bool PtyDeviceBridge::writeAll(const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_master, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fd{m_master, POLLOUT, 0};
        ::poll(&fd, 1, 10);
        if (m_stop)
            return false;
    }
    return true;
}

void PtyDeviceBridge::closeAll()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}
