#pragma once

#include "link/PortEnumerator.h"

// A port list the tests plug ports into and pull them out of.
class FakePortEnumerator final : public PortEnumerator {
public:
    explicit FakePortEnumerator(QStringList names = {}) : m_names(std::move(names)) {}

    [[nodiscard]] QStringList portNames() const override;
    [[nodiscard]] PortPresence presence(const QString& portName) const override;

    void plug(const QString& name);
    void unplug(const QString& name);
    // The device list cannot be had: presence() answers undetermined.
    void setUndetermined(bool undetermined) { m_undetermined = undetermined; }

private:
    QStringList m_names;
    bool m_undetermined = false;
};
