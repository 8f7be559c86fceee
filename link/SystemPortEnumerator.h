#pragma once

#include "link/PortEnumerator.h"

// The machine's serial ports as the platform lists them.
class SystemPortEnumerator final : public PortEnumerator {
public:
    [[nodiscard]] QStringList portNames() const override;
    [[nodiscard]] PortPresence presence(const QString& portName) const override;
};
