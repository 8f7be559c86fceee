#pragma once

#include "app/DataFolders.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedLogger.h"
#include "sim/SimulatedPump.h"
#include "tests/support/RecordingLink.h"
#include "tests/support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A simulated logger on the cable in simulated time, with a scratch data
// folder; and the Logger Settings dialog on it, made when first asked for.
struct ConfigDialogFixture : ::testing::Test {
    SimulatedPump pump{QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7))};
    ScriptedPrompts prompts;
    SimulatedLogger logger;
    SimulatedDeviceLink deviceLink{logger, pump};
    RecordingLink link{deviceLink, pump};
    QTemporaryDir dataRoot;
    DataFolders folders{dataRoot.path()};
    bool expert = false;
    std::unique_ptr<COmbrelRepeaterConfigDlg> dialogHolder;

    ConfigDialogFixture()
    {
        deviceLink.open(QStringLiteral("sim:logger"));
        logger.setClock(QDateTime(QDate(2024, 3, 3), QTime(8, 0, 0)), 0);
    }

    DeviceContext context()
    {
        return DeviceContext{link, pump, prompts, folders, [this] { return expert; }};
    }

    COmbrelRepeaterConfigDlg& dialog()
    {
        if (!dialogHolder)
            dialogHolder = std::make_unique<COmbrelRepeaterConfigDlg>(
                DeviceContext{link, pump, prompts, folders, [this] { return expert; }});
        return *dialogHolder;
    }

    QStringList filesIn(const QString& folder) const
    {
        return QDir(dataRoot.filePath(folder)).entryList(QDir::Files, QDir::Name);
    }
    QByteArray fileContent(const QString& folder, const QString& name) const
    {
        QFile file(QDir(dataRoot.filePath(folder)).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Types into a field and leaves it.
    static void enter(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        Q_EMIT field->editingFinished();
    }
};
