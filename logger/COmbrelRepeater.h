#pragma once

#include "data/CivilTime.h"
#include "logger/CLogger.h"

class CMainFrame;

// The collar data logger.
class COmbrelRepeater final : public CLogger {
public:
    explicit COmbrelRepeater(CMainFrame& frame);

    int ShowReadDataDialog() override;
    int ShowSettingsDialog() override;
    int ShowEraseDialog() override;
    int ShowHeadPositionDialog() override;
    void DrawRecordPane(QPainter& painter, const CVelmoraDoc& document) override;
    void DrawHeartRatePane(QPainter& painter, const CVelmoraDoc& document) override;
    bool SaveDataFile(const QString& path) override;
    bool OpenDataFile(const QString& path) override;

private:
    // The PC's local time, from which the decoder dates records that come
    // before any timestamp.
    [[nodiscard]] CivilTime pcClock() const;

    CMainFrame& m_frame;
};
