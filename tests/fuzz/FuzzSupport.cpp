#include "tests/fuzz/FuzzSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace FuzzSupport {

void fail(const char* property)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", property);
    std::fflush(stderr);
    std::abort();
}

const QString& scratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QString base = QDir(shm).exists() && QFileInfo(shm).isWritable()
                                 ? shm + QStringLiteral("/harvane-fuzz-XXXXXX")
                                 : QString();
        auto dir = base.isEmpty() ? std::make_unique<QTemporaryDir>()
                                  : std::make_unique<QTemporaryDir>(base);
        check(dir->isValid(), "a scratch folder can be made");
        return dir;
    }();
    static const QString path = folder->path();
    return path;
}

void ensureGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "harvane-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace FuzzSupport
