#include "tests/support/FakePortEnumerator.h"

#include "link/PortNames.h"

QStringList FakePortEnumerator::portNames() const
{
    return sortedPortNames(m_names);
}

PortPresence FakePortEnumerator::presence(const QString& portName) const
{
    if (m_undetermined)
        return PortPresence::Undetermined;
    return m_names.contains(portName) ? PortPresence::Present : PortPresence::Absent;
}

void FakePortEnumerator::plug(const QString& name)
{
    if (!m_names.contains(name))
        m_names.append(name);
}

void FakePortEnumerator::unplug(const QString& name)
{
    m_names.removeAll(name);
}
