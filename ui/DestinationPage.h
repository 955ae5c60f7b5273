// DestinationPage: "Choose Destination Folder", the folder to install into.
#pragma once

#include "foundation/Path.h"
#include "host/InstallScope.h"
#include "resources/resource.h"
#include "ui/WizardPage.h"

class DestinationPage : public WizardPage {
public:
    enum { IDD = IDD_DESTINATION };

    // The destination starts as the Program Files folder (made when missing) + "trelliq"
    // for all users, as the user's Programs folder + "trelliq" for the user only (nothing
    // made; empty when the system names no such folder).
    explicit DestinationPage(InstallScope scope = InstallScope::machine, HWND parent = nullptr);

    const Path& destination() const { return destination_; }
    // Replaces the proposed folder (the -t option).
    void setDestination(const Path& folder) { destination_ = folder; }

    // The Program Files folder: the registry's "ProgramFilesDir", else "c:\Program Files".
    static String programFilesFolder();

protected:
    // Next takes the folder only when setup may install into it (installFolderRefusal);
    // otherwise the refusal is shown and the page stays.
    bool doDataExchange(DataExchange& exchange) override;
    bool onCommand(int id, int code, HWND control) override;

private:
    // Browse: the chosen folder + the name part of the destination last shown or accepted.
    void browse();

    Path destination_;
};
