#pragma once

#include "app/CMainFrame.h"
#include "app/DataFolders.h"
#include "app/RecentFileList.h"
#include "link/RoutingDeviceLink.h"
#include "logger/CLogger.h"
#include "sim/SimulatedDeviceSet.h"
#include "sim/SimulatedPump.h"
#include "tests/support/FakePortEnumerator.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

// The main window in simulated time over a scripted port list whose names
// "sim:logger" and "sim:base" open simulated devices; any other name fails
// to open, like a port held by another program.
struct MainFrameFixture : ::testing::Test {
    SimulatedPump pump;
    ScriptedPrompts prompts;
    SimulatedDeviceSet devices;
    FakePortEnumerator ports{
        {QStringLiteral("sim:logger"), QStringLiteral("sim:base"), QStringLiteral("ttyUSB9")}};
    RoutingDeviceLink link{[this](const QString& name) { return devices.makeLink(name, pump); }};
    QTemporaryDir dataRoot;
    DataFolders folders{dataRoot.path()};
    RecentFileList recent;
    bool withLogger = true;
    // Where the window looks for its help; unset, beside the test program
    // (where there is none).
    std::optional<HelpFiles> helpFiles;
    std::optional<HelpBackend> helpBackend;
    std::unique_ptr<CMainFrame> frameHolder;

    CMainFrame& frame()
    {
        if (!frameHolder) {
            MainFrameServices services{pump, prompts, ports, link, folders, recent};
            if (!withLogger)
                services.makeLogger = [](CMainFrame&) { return std::unique_ptr<CLogger>(); };
            if (helpFiles)
                services.helpFiles = *helpFiles;
            if (helpBackend)
                services.helpBackend = *helpBackend;
            frameHolder = std::make_unique<CMainFrame>(std::move(services));
        }
        return *frameHolder;
    }

    QString portPane()
    {
        const auto* pane = frame().findChild<QLabel*>(QStringLiteral("PortPane"));
        return pane != nullptr ? pane->text() : QStringLiteral("<no port pane>");
    }
};

// Runs `act` on the modal dialog that the next call opens, from inside that
// dialog's own event loop, as a user would click in it. Returns whether a
// modal dialog was there to act on.
template <typename Dialog>
void whenModalOpens(std::function<void(Dialog&)> act, bool* opened = nullptr)
{
    QTimer::singleShot(0, [act = std::move(act), opened] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (opened != nullptr)
            *opened = dialog != nullptr;
        if (dialog != nullptr)
            act(*dialog);
    });
}
