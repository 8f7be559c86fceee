#include "sim/SimulatedDevice.h"

#include <algorithm>
#include <cstring>

SimulatedDevice::SimulatedDevice() = default;

SimulatedDevice::~SimulatedDevice() = default;

void SimulatedDevice::receive(std::span<const std::uint8_t> bytes, std::int64_t nowUs)
{
    catchUp(nowUs);
    if (m_unplugged || bytes.empty())
        return;
    // The command is complete once its last byte has crossed the line.
    const std::int64_t arrivedUs =
        nowUs + static_cast<std::int64_t>(bytes.size()) * ByteTimeNs / 1000;
    if (!m_input.empty() && arrivedUs - m_lastInputUs > CommandTimeoutUs)
        m_input.clear();
    m_lastInputUs = arrivedUs;
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    parseInput(arrivedUs);
}

void SimulatedDevice::parseInput(std::int64_t atUs)
{
    while (!m_input.empty() && !m_unplugged) {
        const std::uint8_t code = m_input.front();
        const int count = argumentCount(code);
        if (count < 0) {
            m_input.erase(m_input.begin());
            continue;
        }
        const auto length = static_cast<std::size_t>(count) + 1;
        if (m_input.size() < length)
            return;
        const std::vector<std::uint8_t> command(m_input.begin(),
                                                m_input.begin() + static_cast<long>(length));
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<long>(length));
        m_commandLog.push_back(command);
        if (m_faults.unplugOnCommand && *m_faults.unplugOnCommand == code) {
            unplug();
            return;
        }
        if (m_faults.silent)
            continue;
        handleCommand(code, std::span(command).subspan(1), atUs);
    }
}

void SimulatedDevice::reply(std::vector<std::uint8_t> bytes, std::int64_t atUs)
{
    if (m_faults.silent || m_unplugged || bytes.empty())
        return;
    if (m_faults.replyLimit && bytes.size() > *m_faults.replyLimit)
        bytes.resize(*m_faults.replyLimit);
    if (m_faults.corruptReplies > 0 && !bytes.empty()) {
        --m_faults.corruptReplies;
        bytes[std::min(m_faults.corruptByteIndex, bytes.size() - 1)] ^= 0xFF;
    }
    const std::size_t size = bytes.size();
    transmit(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)), 0, size,
             atUs + m_responseDelayUs);
}

void SimulatedDevice::transmit(std::shared_ptr<const std::vector<std::uint8_t>> data,
                               std::size_t begin, std::size_t end, std::int64_t atUs)
{
    if (m_unplugged || begin >= end)
        return;
    if (m_faults.stallAfterBytes) {
        const std::uint64_t budget = *m_faults.stallAfterBytes;
        const std::size_t sent =
            static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, budget));
        m_faults.stallAfterBytes = budget - sent;
        end = begin + sent;
        if (begin >= end)
            return;
    }
    const std::int64_t startNs = std::max(atUs * 1000, m_lineFreeNs);
    m_output.push_back(Segment{startNs, std::move(data), begin, begin, end});
    m_lineFreeNs = startNs + static_cast<std::int64_t>(end - begin) * ByteTimeNs;
}

void SimulatedDevice::sendUnsolicited(std::vector<std::uint8_t> bytes, std::int64_t atUs,
                                      int repeat, std::int64_t periodUs)
{
    for (int i = 0; i < repeat; ++i)
        m_scheduled.emplace(atUs + i * periodUs, bytes);
}

void SimulatedDevice::catchUp(std::int64_t nowUs)
{
    // Unasked output joins the line in time order, behind whatever the device
    // was already sending then.
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= nowUs) {
        auto node = m_scheduled.extract(m_scheduled.begin());
        if (m_unplugged)
            continue;
        const std::size_t size = node.mapped().size();
        transmit(std::make_shared<const std::vector<std::uint8_t>>(std::move(node.mapped())), 0,
                 size, node.key());
    }
    if (m_unplugged)
        return;
    if (m_faults.chatterPeriodUs && *m_faults.chatterPeriodUs > 0) {
        if (!m_chatterFrame)
            m_chatterFrame =
                std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{
                    0xA0, 0x01, 0x40, 0x26, 0x00, 0x15, 0x2C, 0x01, 0x00, 0x00, 0x05, 0x03, 0xAA});
        const auto& frame = m_chatterFrame;
        if (m_nextChatterUs < 0)
            m_nextChatterUs = nowUs; // it starts talking when the fault is switched on
        while (m_nextChatterUs <= nowUs) {
            transmit(frame, 0, frame->size(), m_nextChatterUs);
            m_nextChatterUs += *m_faults.chatterPeriodUs;
        }
    }
    produceUntil(nowUs);
}

std::size_t SimulatedDevice::read(std::span<std::uint8_t> buffer, std::int64_t nowUs)
{
    catchUp(nowUs);
    const std::int64_t nowNs = nowUs * 1000;
    std::size_t got = 0;
    while (got < buffer.size() && !m_output.empty()) {
        Segment& segment = m_output.front();
        // Bytes of a run arrive one byte time apart: hand over those due.
        const std::int64_t dueNs = nowNs - segment.startNs;
        if (dueNs < ByteTimeNs)
            break;
        const auto arrived = std::min<std::size_t>(
            static_cast<std::size_t>(dueNs / ByteTimeNs) + segment.first, segment.end);
        if (arrived <= segment.next)
            break;
        const std::size_t take = std::min(arrived - segment.next, buffer.size() - got);
        std::memcpy(buffer.data() + got, segment.data->data() + segment.next, take);
        segment.next += take;
        got += take;
        if (segment.next == segment.end)
            m_output.pop_front();
        else
            break;
    }
    return got;
}

std::size_t SimulatedDevice::available(std::int64_t nowUs)
{
    catchUp(nowUs);
    const std::int64_t nowNs = nowUs * 1000;
    std::size_t count = 0;
    for (const Segment& segment : m_output) {
        const std::int64_t dueNs = nowNs - segment.startNs;
        if (dueNs < ByteTimeNs)
            break;
        const auto arrived = std::min<std::size_t>(
            static_cast<std::size_t>(dueNs / ByteTimeNs) + segment.first, segment.end);
        count += arrived > segment.next ? arrived - segment.next : 0;
        if (arrived < segment.end)
            break;
    }
    return count;
}

std::optional<std::int64_t> SimulatedDevice::nextArrivalUs(std::int64_t nowUs)
{
    catchUp(nowUs);
    std::optional<std::int64_t> next;
    if (!m_output.empty()) {
        const Segment& segment = m_output.front();
        next = (segment.arrivalNs(segment.next) + 999) / 1000;
    }
    if (m_faults.chatterPeriodUs && *m_faults.chatterPeriodUs > 0) {
        const std::int64_t chatterUs =
            (std::max(m_nextChatterUs * 1000, m_lineFreeNs) + ByteTimeNs + 999) / 1000;
        if (!next || chatterUs < *next)
            next = chatterUs;
    }
    if (!m_scheduled.empty()) {
        const std::int64_t startNs = std::max(m_scheduled.begin()->first * 1000, m_lineFreeNs);
        const std::int64_t scheduledUs = (startNs + ByteTimeNs + 999) / 1000;
        if (!next || scheduledUs < *next)
            next = scheduledUs;
    }
    return next;
}

void SimulatedDevice::unplug()
{
    m_unplugged = true;
    m_output.clear();
    m_input.clear();
    m_lineFreeNs = 0;
}
