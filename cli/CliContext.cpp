#include "cli/CliContext.h"

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

bool CliContext::errorsOnTerminal() const
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(err)) != 0;
#else
    return isatty(fileno(err)) != 0;
#endif
}
