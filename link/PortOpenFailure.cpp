#include "link/PortOpenFailure.h"

QString portOpenFailureMessage(bool permissionDenied)
{
    QString message = QStringLiteral("Error could not create handle to serial port!");
    if (permissionDenied) {
#ifdef Q_OS_LINUX
        message +=
            QStringLiteral("\nSerial ports belong to the dialout group: add yourself to it with "
                           "\"sudo usermod -aG dialout $USER\", then log out and in again.");
#else
        message += QStringLiteral("\nThis user may not open the port; ask the administrator.");
#endif
    }
    return message;
}
