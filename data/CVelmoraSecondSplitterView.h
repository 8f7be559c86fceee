#pragma once

#include "data/CVelmoraView.h"

// The right pane: one line per heart-rate group.
class CVelmoraSecondSplitterView final : public CVelmoraView {
    Q_OBJECT
public:
    using CVelmoraView::CVelmoraView;

protected:
    void drawPane(CLogger& logger, QPainter& painter) override;
    // The right pane always scrolls.
    void onDocumentChanged(bool) override { setMode(Mode::Scroll); }
};
