#pragma once

#include "data/CivilTime.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class DataDocument;

// A data file named on the command line. On Unix a file name is bytes and
// need not be UTF-8 (a stick written by an older system, an archive from
// elsewhere); a QString cannot hold such a name. Such a file is opened by its
// bytes and read through its descriptor, and files made beside it get a
// name a QString can hold first and are then renamed to their byte names.
class CommandLineFile {
public:
    // `nativeName` as the command line gave it; `decoded` as Qt decoded it.
    CommandLineFile(QByteArray nativeName, QString decoded);
    ~CommandLineFile();

    CommandLineFile(const CommandLineFile&) = delete;
    CommandLineFile& operator=(const CommandLineFile&) = delete;

    // The argument among the process's own that Qt decoded to `decoded`.
    static QByteArray nativeArgument(const QList<QByteArray>& nativeArguments,
                                     const QString& decoded);

    // A path that QFile can open for reading.
    [[nodiscard]] QString readablePath() const;
    // The name for messages (undecodable bytes shown as replacement marks).
    [[nodiscard]] QString displayName() const { return m_decoded; }

    // Writes the two CSV files beside it, as Save does; returns the paths
    // written (for display) or false with the message.
    bool writeExports(const DataDocument& document, CivilTime pcClock, QStringList* written,
                      QString* error);

private:
    [[nodiscard]] bool needsBytes() const;

    QByteArray m_native;
    QString m_decoded;
    int m_fileFd = -1;
    int m_folderFd = -1;
};
