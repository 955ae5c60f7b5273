// updateDevStudio: directory lists, then the Tools menu.
#include "host/DevStudio.h"

#include "foundation/ProductIdentity.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/RegistryUpdate.h"
#include "host/ToolsMenu.h"

bool updateDevStudio(RegistryUpdate& update, int index)
{
    DevStudioVersion version(index);
    update.show("DevStudio directories");
    const bool install = update.installing();
    const String& destination = update.destination();
    bool ok = true;
    if (install)
        version.prepareSettings(update.view(), !update.silent());
    if (!version.isInstalled())
        return ok;

    const String directories = version.directoriesKeyPath();
    ok = editDirectoryList(update, directories.c_str(), "Path Dirs", destination + "bin");
    if (ok || !install)
        ok = editDirectoryList(update, directories.c_str(), "Library Dirs", destination + "lib") && ok;
    if (ok)
        ok = !update.cancelled();
    if (install && !ok)
        return false;

    update.show("DevStudio Tools menu");
    ToolsMenu menu(version, update);
    const String program = destination + product::browserProgram;
    const String workspace("$(WkspDir)");
    const ToolEntry enable("Enable Coverage Build", program, "-1", workspace, true, false);
    const ToolEntry disable("Disable Coverage Build", program, "-0", workspace, true, false);
    const ToolEntry browser("Coverage Browser", program, String(), workspace, true, false);
    // The names of earlier releases.
    menu.remove(ToolEntry("Coverage Viewer", program, String(), workspace, true, false));
    if (install) {
        menu.remove(ToolEntry("Enable Trelliq Build", program, "-1", workspace, true, false));
        menu.remove(ToolEntry("Disable Trelliq Build", program, "-0", workspace, true, false));
        ok = menu.add(enable) && menu.add(disable) && menu.add(browser);
    } else {
        // A failed list edit above still counts: the removals only add their own result.
        ok = menu.remove(enable) && menu.remove(disable) && menu.remove(browser) && ok;
    }
    return ok;
}
