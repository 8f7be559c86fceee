#pragma once

#include "app/DataFolders.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedPump.h"
#include "tests/support/RecordingLink.h"
#include "tests/support/ScriptedPrompts.h"

#include "widgets/LogListWidget.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// A simulated base station on the cable in simulated time, with its paired
// logger (implant 7, logger 12) a short radio hop away, and a scratch data
// folder.
struct BaseFixture : ::testing::Test {
    using Bytes = std::vector<std::uint8_t>;

    SimulatedPump pump{QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7))};
    ScriptedPrompts prompts;
    SimulatedBaseStation base;
    SimulatedDeviceLink deviceLink{base, pump};
    RecordingLink link{deviceLink, pump};
    QTemporaryDir dataRoot;
    DataFolders folders{dataRoot.path()};

    BaseFixture()
    {
        deviceLink.open(QStringLiteral("sim:base"));
        base.setConnectDelayUs(300'000);
        fieldLogger().setClock(QDateTime(QDate(2024, 3, 3), QTime(8, 0, 0)), 0);
    }

    SimulatedLogger& fieldLogger() { return base.logger(); }
    DeviceContext context() { return DeviceContext{link, pump, prompts, folders}; }

    // Runs `action` (as a click inside the running wait) as soon as
    // `condition` holds, looking every simulated millisecond.
    void once(std::function<bool()> condition, std::function<void()> action)
    {
        pump.after(1, [this, condition = std::move(condition), action = std::move(action)] {
            if (condition())
                action();
            else
                once(condition, action);
        });
    }

    // The writes that began with `code`, in order.
    std::vector<Bytes> writesOf(std::uint8_t code) const
    {
        std::vector<Bytes> found;
        for (const auto& write : link.writes()) {
            if (!write.bytes.empty() && write.bytes.front() == code)
                found.push_back(write.bytes);
        }
        return found;
    }
    // The offsets of the chunk requests written, in order.
    std::vector<std::uint32_t> chunkOffsets() const
    {
        std::vector<std::uint32_t> offsets;
        for (const Bytes& w : writesOf(41))
            offsets.push_back(w[1] | (w[2] << 8) | (w[3] << 16) |
                              (static_cast<std::uint32_t>(w[4]) << 24));
        return offsets;
    }

    QStringList filesIn(const QString& folder) const
    {
        return QDir(dataRoot.filePath(folder)).entryList(QDir::Files, QDir::Name);
    }
    QByteArray fileContent(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray fileContent(const QString& folder, const QString& name) const
    {
        return fileContent(QDir(dataRoot.filePath(folder)).filePath(name));
    }
    static QStringList listLines(const LogListWidget* list) { return list->lines(); }
};
