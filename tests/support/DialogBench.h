#pragma once

#include "app/DataFolders.h"
#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepReadBaseRevDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "data/COmbrelRepeaterDataReadDlg.h"
#include "link/CCOMChooseDlg.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "logger/COmbrelRepeaterFreqCalibDlg.h"
#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedLogger.h"
#include "sim/SimulatedPump.h"
#include "tests/support/FakePortEnumerator.h"
#include "tests/support/ScriptedPrompts.h"

#include <QDialog>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// What every device dialog needs to be made and shown: a closed link to a
// simulated logger, simulated time, scripted prompts, scratch folders and a
// port list. Nothing here talks to a device; the dialogs are looked at.
struct DialogBench {
    SimulatedPump pump;
    ScriptedPrompts prompts;
    SimulatedLogger logger;
    SimulatedDeviceLink link{logger, pump};
    QTemporaryDir dataRoot;
    DataFolders folders{dataRoot.path()};
    FakePortEnumerator ports{{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")}};

    DeviceContext context() { return DeviceContext{link, pump, prompts, folders}; }

    // One of each device dialog, by its class name.
    struct Maker {
        const char* dialogClass;
        std::function<std::unique_ptr<QDialog>(DialogBench&)> make;
    };
    static std::vector<Maker> makers()
    {
        return {
            {"CCOMChooseDlg",
             [](DialogBench& b) { return std::make_unique<CCOMChooseDlg>(b.ports, nullptr); }},
            {"COmbrelRepeaterConfigDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterConfigDlg>(b.context());
             }},
            {"COmbrelRepeaterAskBeforeErase",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterAskBeforeErase>(b.context());
             }},
            {"COmbrelRepeaterSetZAxisThresDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterSetZAxisThresDlg>(b.context());
             }},
            {"COmbrelRepeaterFreqCalibDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterFreqCalibDlg>(b.context());
             }},
            {"COmbrelRepeaterDataReadDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterDataReadDlg>(b.context(),
                                                                     ReadDataProcedure::Hooks{});
             }},
            {"COmbrelRepGetSetgsViaBaseDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepGetSetgsViaBaseDlg>(b.context());
             }},
            {"COmbrelRepDownloadDataViaBaseDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(
                     b.context(), BaseDownloadProcedure::Hooks{});
             }},
            {"COmbrelRepeaterImplantSurveillanceDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepeaterImplantSurveillanceDlg>(b.context());
             }},
            {"COmbrelRepReadBaseRevDlg",
             [](DialogBench& b) {
                 return std::make_unique<COmbrelRepReadBaseRevDlg>(b.context());
             }},
        };
    }

    std::unique_ptr<QDialog> make(const QString& dialogClass)
    {
        for (const Maker& maker : makers()) {
            if (dialogClass == QLatin1String(maker.dialogClass))
                return maker.make(*this);
        }
        return nullptr;
    }
};
