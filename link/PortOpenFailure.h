#pragma once

#include <QString>

// What the user is told when a port does not open: the program's own
// message, and when the port was there but this user may not use it, the
// one line that fixes it.
QString portOpenFailureMessage(bool permissionDenied);
