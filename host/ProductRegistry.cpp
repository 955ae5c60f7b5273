// updateRegistry: the product's own entries and the calls into the other settings steps,
// in a fixed order.
#include "host/ProductRegistry.h"

#include "foundation/ErrorText.h"
#include "foundation/LastErrorKept.h"
#include "foundation/ProductIdentity.h"
#include "host/BoundsChecker.h"
#include "host/DevStudio.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/RegistryKey.h"
#include "host/RegistryStep.h"
#include "host/UpdateRegistryView.h"

namespace {

String companyKey()
{
    return String("Software\\") + product::company;
}

String uninstallKey()
{
    return String("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + product::name;
}
const char* const fileType = "Coverage.File";

String browserPath()
{
    return RegistryStep::destination + product::browserProgram;
}

// A command line's program path is quoted: unquoted, "C:\Program Files\..." would start
// C:\Program.exe when such a file exists.
String quoted(const String& path)
{
    return String("\"") + path + "\"";
}

// What "Apps & Features" shows beside the name; failures here do not fail the step.
void writeEntryDetails(RegistryKey& entry, const String& version)
{
    LastErrorKept kept;
    entry.setString("DisplayVersion", version);
    entry.setString("Publisher", product::company);
    entry.setString("DisplayIcon", browserPath());
    entry.setString("InstallLocation", RegistryStep::destination);
    entry.setNumber("NoModify", 1);
    entry.setNumber("NoRepair", 1);
}

bool cancelled()
{
    return pollUpdateRegistryCancel();
}

} // namespace

bool setStringShown(RegistryKey& key, const char* valueName, const String& text)
{
    RegistryStep::setText(key.fullName() + (valueName ? valueName : ""));
    return key.setString(valueName, text);
}

bool deleteTreeShown(RegistryKey& key)
{
    RegistryStep::setText(key.fullName());
    return key.deleteTree();
}

bool updateFileAssociation()
{
    RegistryKey extension(HKEY_CLASSES_ROOT, ".trq");
    RegistryKey type(HKEY_CLASSES_ROOT, fileType);
    bool ok;
    if (RegistryStep::installMode) {
        ok = setStringShown(extension, nullptr, fileType);
        if (ok) {
            const String program = browserPath();
            RegistryKey icon(HKEY_CLASSES_ROOT, String(fileType) + "\\DefaultIcon");
            RegistryKey command(HKEY_CLASSES_ROOT, String(fileType) + "\\shell\\open\\command");
            // The icon is a path and an index, not a command line: it stays unquoted.
            ok = setStringShown(icon, nullptr, program + ",1") &&
                 setStringShown(command, nullptr, quoted(program) + " \"%1\"");
        }
    } else {
        ok = deleteTreeShown(extension) && deleteTreeShown(type);
    }
    LastErrorKept kept;
    RegistryKey earlierType(HKEY_CLASSES_ROOT, "Trelliq.File");
    earlierType.deleteTree();
    return ok;
}

bool updateRegistry(const String& coverageFile)
{
    const bool install = RegistryStep::installMode;
    const String& destination = RegistryStep::destination;
    const String version = product::version;
    UpdateRegistryView* view = UpdateRegistryView::current();
    if (install && view)
        view->show();

    RegistryKey machineEntry(HKEY_LOCAL_MACHINE, uninstallKey());
    RegistryKey userEntry(HKEY_CURRENT_USER, uninstallKey());
    RegistryKey productKey(HKEY_CURRENT_USER, companyKey() + "\\" + product::name);
    bool ok;
    if (install) {
        const String name = String(product::name) + " " + version;
        const String uninstaller = quoted(destination + product::uninstallerName);
        RegistryKey* entry = &machineEntry;
        ok = setStringShown(machineEntry, "DisplayName", name) &&
             setStringShown(machineEntry, "UninstallString", uninstaller);
        if (!ok) {
            entry = &userEntry;
            ok = setStringShown(userEntry, "DisplayName", name) &&
                 setStringShown(userEntry, "UninstallString", uninstaller);
        }
        LastErrorKept kept;
        if (ok)
            writeEntryDetails(*entry, version);
        productKey.setString("version", version);
    } else {
        ok = deleteTreeShown(machineEntry) || deleteTreeShown(userEntry);
        RegistryKey company = productKey.parent();
        RegistryKey browserSettings(HKEY_CURRENT_USER, companyKey() + "\\Coverage Browser");
        {
            LastErrorKept kept;
            deleteTreeShown(productKey);
            deleteTreeShown(browserSettings);
        }
        // The company key's removal adds its own result: it must not hide a failed
        // removal of the uninstall entry.
        if (company.isEmpty())
            ok = deleteTreeShown(company) && ok;
    }
    if (ok)
        ok = !cancelled();

    editDirectoryList(ok, nullptr, "PATH", destination + "bin");
    editDirectoryList(ok, nullptr, "LIB", destination + "lib");
    if (ok)
        ok = !cancelled();

    RegistryStep::setText("TRQFILE");
    if (!install || coverageFile.isEmpty()) {
        LastErrorKept kept;
        removeEnvironment("TRQFILE", false);
    } else if (ok) {
        ok = setEnvironment("TRQFILE", coverageFile, false);
    }

    {
        LastErrorKept kept;
        RegistryKey machineBoundsChecker(HKEY_LOCAL_MACHINE, "SOFTWARE\\NuMega\\BoundsChecker");
        RegistryKey userBoundsChecker(HKEY_CURRENT_USER, "SOFTWARE\\NuMega\\BoundsChecker");
        if (machineBoundsChecker.open(RegistryKey::Read) || userBoundsChecker.open(RegistryKey::Read))
            updateNmcl();
    }
    if (ok)
        ok = !cancelled();

    if (ok || !install) {
        for (int index = DevStudioVersion::Count - 1; index >= 0; --index) {
            if (!updateDevStudio(index))
                ok = false;
        }
    }
    if (ok || !install) {
        if (!updateFileAssociation())
            ok = false;
    }
    if (!ok)
        showLastError((String("Error updating registry ") + RegistryStep::text()).c_str());
    if (view)
        view->hide();
    return ok;
}
