#include "link/PortOpenFailure.h"
#include <QCoreApplication>

QString portOpenFailureMessage(bool permissionDenied)
{
    QString message = QCoreApplication::translate("PortOpenFailure",
                                                  "Error could not create handle to serial port!");
    if (permissionDenied) {
#ifdef Q_OS_LINUX
        message += QCoreApplication::translate(
            "PortOpenFailure",
            "\nSerial ports belong to the dialout group: add yourself to it with "
            "\"sudo usermod -aG dialout $USER\", then log out and in again.");
#else
        message += QCoreApplication::translate(
            "PortOpenFailure", "\nThis user may not open the port; ask the administrator.");
#endif
    }
    return message;
}
