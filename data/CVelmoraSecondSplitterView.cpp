#include "data/CVelmoraSecondSplitterView.h"

#include "logger/CLogger.h"

void CVelmoraSecondSplitterView::drawPane(CLogger& logger, QPainter& painter)
{
    logger.DrawHeartRatePane(painter, document());
}
