// updateDevStudio: directory lists, then the Tools menu.
#include "host/DevStudio.h"

#include "foundation/ProductIdentity.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/RegistryStep.h"
#include "host/ToolsMenu.h"
#include "host/UpdateRegistryView.h"

bool updateDevStudio(int index)
{
    DevStudioVersion version(index);
    RegistryStep::setText("DevStudio directories");
    const bool install = RegistryStep::installMode;
    const String& destination = RegistryStep::destination;
    bool ok = true;
    if (install)
        version.prepareSettings();
    if (!version.isInstalled())
        return ok;

    const String directories = version.directoriesKeyPath();
    editDirectoryList(ok, directories.c_str(), "Path Dirs", destination + "bin");
    editDirectoryList(ok, directories.c_str(), "Library Dirs", destination + "lib");
    if (ok)
        ok = !pollUpdateRegistryCancel();
    if (install && !ok)
        return false;

    RegistryStep::setText("DevStudio Tools menu");
    setToolsMenuTarget(&version, UpdateRegistryView::current());
    const String program = destination + product::browserProgram;
    const String workspace("$(WkspDir)");
    const ToolEntry enable("Enable Coverage Build", program, "-1", workspace, true, false);
    const ToolEntry disable("Disable Coverage Build", program, "-0", workspace, true, false);
    const ToolEntry browser("Coverage Browser", program, String(), workspace, true, false);
    // The names of earlier releases.
    removeTool(ToolEntry("Coverage Viewer", program, String(), workspace, true, false));
    if (install) {
        removeTool(ToolEntry("Enable Trelliq Build", program, "-1", workspace, true, false));
        removeTool(ToolEntry("Disable Trelliq Build", program, "-0", workspace, true, false));
        ok = addTool(enable) && addTool(disable) && addTool(browser);
    } else {
        // A failed list edit above still counts: the removals only add their own result.
        ok = removeTool(enable) && removeTool(disable) && removeTool(browser) && ok;
    }
    setToolsMenuTarget(nullptr, nullptr);
    return ok;
}
