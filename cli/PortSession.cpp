#include "cli/PortSession.h"

#include "cli/CliContext.h"
#include "link/PortOpenFailure.h"

PortSession::PortSession(const CliContext& cli, bool assumeYes)
    : link([this](const QString& name) { return simulated.makeLink(name, pump); }),
      prompts(assumeYes, cli.err),
      folders(DataFolders::resolve(cli.dataDir, DataFolders::programFolder())),
      exchange(link, pump, prompts), m_cli(cli)
{
    simulated.setClocks(pump.currentDateTime(), pump.nowUs());
}

bool PortSession::open()
{
    if (link.open(m_cli.port))
        return true;
    m_cli.printError(portOpenFailureMessage(link.lastOpenDenied()));
    return false;
}

DeviceContext PortSession::context()
{
    return DeviceContext{link, pump, prompts, folders, [] { return true; }};
}
