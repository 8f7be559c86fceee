#pragma once

#include <QString>

#include <functional>
#include <memory>

class HelpBook;

// The kind of help file the program reads, and how it opens one.
struct HelpBackend {
    // The help files' extension (".qhc").
    QString extension;
    // Whether this viewer can work at all here (asked once per run).
    std::function<bool()> available;
    // Opens a help file; null when it is missing or cannot be read.
    std::function<std::unique_ptr<HelpBook>(const QString& path)> open;

    // The viewer this build of the program uses: Qt Help collections where Qt
    // Help was found at build time, otherwise the pages packed in a resource
    // file and shown as plain HTML.
    static HelpBackend builtIn();
    static HelpBackend qtHelp();
    static HelpBackend plainHtml();
    [[nodiscard]] static bool hasQtHelp();
};
