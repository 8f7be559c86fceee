#pragma once

#include "data/CivilTime.h"

class DataDocument;
class QPainter;

// The two panes' text, drawn from the first 49927 data bytes: one line per
// record on the left ("12,2021-03-03 14:05:09,38.50,37.25,512,30,4"), one
// line per heart-rate group on the right, each part at its fixed column.
namespace PaneDrawing {
void drawRecords(QPainter& painter, const DataDocument& data, CivilTime pcClock);
void drawGroups(QPainter& painter, const DataDocument& data, CivilTime pcClock);
} // namespace PaneDrawing
