// FileDialog: the system's open-file dialog with our filter, title and start-up hook.
#include "framework/FileDialog.h"
#include "tests/robot/Robot.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class RenamingDialog : public FileDialog {
public:
    using FileDialog::FileDialog;

protected:
    void onInitDone(HWND dialog) override { SetDlgItemTextA(dialog, IDOK, "Take"); }
};

TEST(FileDialog, ChoosingAFileGivesItsFullPath)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string file = std::string(folder) + "framework-file-dialog.trq";
    std::fclose(std::fopen(file.c_str(), "w"));

    RenamingDialog dialog(true, "trq", file.c_str(), OFN_HIDEREADONLY, "Tests (*.trq)|*.trq|All Files (*.*)|*.*||",
                          nullptr);
    dialog.setTitle("Pick");
    std::string button;
    robot::Robot user("Pick", [&](HWND window) {
        Sleep(200);  // the hook renames the button once the dialog is complete
        button = robot::text(window, IDOK);
        robot::click(window, IDOK);
    });
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_TRUE(user.found());
    EXPECT_EQ(button, "Take");
    EXPECT_EQ(lstrcmpiA(dialog.pathName().c_str(), file.c_str()), 0) << dialog.pathName().c_str();

    robot::Robot cancel("Pick", [](HWND window) { robot::click(window, IDCANCEL); });
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    remove(file.c_str());
}

} // namespace
