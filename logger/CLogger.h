#pragma once

#include <QString>

class CVelmoraDoc;
class QPainter;

// Everything that depends on the kind of logger: its dialogs, how its data
// file is opened and saved, and how the two panes draw its data.
class CLogger {
public:
    virtual ~CLogger() = default;

    virtual int ShowReadDataDialog() = 0;
    virtual int ShowSettingsDialog() = 0;
    virtual int ShowEraseDialog() = 0;
    virtual int ShowHeadPositionDialog() = 0;
    virtual void DrawRecordPane(QPainter& painter, const CVelmoraDoc& document) = 0;
    virtual void DrawHeartRatePane(QPainter& painter, const CVelmoraDoc& document) = 0;
    virtual bool SaveDataFile(const QString& path) = 0;
    virtual bool OpenDataFile(const QString& path) = 0;
};
