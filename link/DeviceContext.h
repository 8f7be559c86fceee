#pragma once

#include <functional>

class DataFolders;
class DeviceLink;
class Pump;
class UserPrompts;

// What a device dialog and its procedure need from the program: the one
// port, the clock, the prompts, the data folders and the expert-mode flag
// (read each time it matters).
struct DeviceContext {
    DeviceLink& link;
    Pump& pump;
    UserPrompts& prompts;
    const DataFolders& folders;
    std::function<bool()> expertMode = [] { return false; };
};
