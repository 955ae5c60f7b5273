// DestinationPage: the default under Program Files and the folder browser.
#include "ui/DestinationPage.h"

#include "host/InstallFolder.h"
#include "host/RegistryKey.h"
#include "host/Shell.h"
#include "ui/MessageDialog.h"

DestinationPage::DestinationPage(InstallScope scope, HWND parent) : WizardPage(IDD, parent)
{
    if (scope == InstallScope::user) {
        String programs;
        if (userProgramsFolder(programs))
            destination_ = Path(programs).addTrailingSeparator() + "trelliq";
        return;
    }
    Path folder = programFilesFolder();
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryA(folder.c_str(), nullptr);  // one level; a failure shows up later
    folder.addTrailingSeparator();
    destination_ = folder + "trelliq";
}

String DestinationPage::programFilesFolder()
{
    String folder;
    RegistryKey key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
    if (key.getString("ProgramFilesDir", folder))
        return folder;
    return String("c:\\Program Files");
}

bool DestinationPage::doDataExchange(DataExchange& exchange)
{
    exchange.text(IDC_PATH, destination_);
    if (!exchange.saving())
        return true;
    const String refusal = installFolderRefusal(destination_);
    if (refusal.isEmpty())
        return true;
    MessageDialog(hwnd(), refusal, MB_ICONEXCLAMATION).doModal();
    exchange.failOn(IDC_PATH);
    return false;
}

bool DestinationPage::onCommand(int id, int code, HWND control)
{
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        browse();
        return true;
    }
    return WizardPage::onCommand(id, code, control);
}

void DestinationPage::browse()
{
    String chosen;
    if (!browseForFolder(hwnd(), chosen, nullptr))
        return;
    Path folder(chosen);
    folder.addTrailingSeparator();
    destination_ = folder + destination_.fileName();
    SetDlgItemTextA(hwnd(), IDC_PATH, destination_.c_str());
}
