#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a way to fail that the fuzzer keeps as a
// crash, a private scratch folder, and the application object for drawing.
namespace FuzzSupport {

// Ends the run as a crash, so that the fuzzer keeps the input that broke a
// property, and names the property.
[[noreturn]] void fail(const char* property);
inline void check(bool holds, const char* property)
{
    if (!holds)
        fail(property);
}

// A folder of this process's own, on tmpfs when the machine has one, removed
// at exit.
const QString& scratchFolder();

// The offscreen application object that text drawing needs; made once.
void ensureGuiApplication();

// Keeps a result alive, so that the optimiser cannot drop a call whose result
// nothing else uses.
template <typename T> void keep(const T& value)
{
    [[maybe_unused]] volatile T sink = value;
}

} // namespace FuzzSupport
