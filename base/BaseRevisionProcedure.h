#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"

#include <QString>

#include <functional>

// Reads the base station's own firmware and hardware revision texts.
class BaseRevisionProcedure {
public:
    static constexpr IdentifyTiming Timing{100, 100};

    struct View {
        // "Read revision", "Exit" and the hidden "OK" off while it runs.
        std::function<void(bool busy)> setBusy = [](bool) {};
        std::function<void(const QString& firmware, const QString& hardware)> showRevisions =
            [](const QString&, const QString&) {};
    };

    BaseRevisionProcedure(DeviceContext context, View view);

    // The "Read revision" button; true when both texts came. Anything but a
    // whole reply changes nothing but the message.
    bool readRevision();

    [[nodiscard]] QString firmware() const { return m_firmware; }
    [[nodiscard]] QString hardware() const { return m_hardware; }

private:
    DeviceContext m_context;
    View m_view;
    Exchange m_exchange;
    QString m_firmware;
    QString m_hardware;
};
