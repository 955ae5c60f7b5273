// CopyFilesDialog and its view, UpdateRegistryDialog, UninstallResultDialog and the two
// plain pages.
#include "foundation/MessageBox.h"
#include "resources/resource.h"
#include "tests/robot/Robot.h"
#include "tests/ui/Runs.h"
#include "ui/CopyFilesDialog.h"
#include "ui/CopyFilesView.h"
#include "ui/UninstallResultDialog.h"
#include "ui/UpdateRegistryDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Whether window is this thread's active window, unless a window of a test running beside
// this one has since taken the foreground, which leaves this thread no active window.
bool activeUnlessAnotherProgramTookTheForeground(HWND window)
{
    DWORD foregroundProcess = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
    return GetActiveWindow() == window ||
           (GetActiveWindow() == nullptr && foregroundProcess != GetCurrentProcessId());
}

TEST(CopyFilesDialog, NextFileFillsTheBarAndShowsTheLastText)
{
    CopyFilesDialog dialog;
    dialog.create();
    ASSERT_NE(dialog.progressBar(), nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
    const int files = 7;
    SendMessageA(dialog.progressBar(), PBM_SETRANGE, 0, MAKELPARAM(0, files));
    for (int i = 1; i <= files; ++i)
        dialog.nextFile(String("bin/file") + String::valueOf(i) + ".exe");
    EXPECT_EQ(SendMessageA(dialog.progressBar(), PBM_GETPOS, 0, 0), files);
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_CURRENT_FILE), "bin/file7.exe");
    EXPECT_TRUE(activeUnlessAnotherProgramTookTheForeground(dialog.hwnd()));
}

// The extraction's bar never fills (its range has room to spare): every call still steps
// it, and a call after a pause shows its text with the bar drawn again.
TEST(CopyFilesDialog, StepsOnEveryCallAndShowsTheTextAtItsPace)
{
    CopyFilesDialog dialog;
    dialog.create();
    HWND bar = dialog.progressBar();
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    dialog.nextFile("bin/first.exe");
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_CURRENT_FILE), "bin/first.exe") << "the first call shows at once";
    EXPECT_TRUE(IsWindowVisible(bar));
    for (int i = 0; i < 5; ++i)
        dialog.nextFile(String("lib/quick") + String::valueOf(i) + ".lib");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 6);
    Sleep(CopyFilesDialog::paintInterval + 10);
    dialog.nextFile("src/after a pause.c");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_CURRENT_FILE), "src/after a pause.c");
    EXPECT_TRUE(IsWindowVisible(bar)) << "drawing switched on again";
    EXPECT_TRUE(activeUnlessAnotherProgramTookTheForeground(dialog.hwnd()));
}

// What the extraction reports reaches the bar, the shown file and the message box; Escape
// in the dialog is the extraction's cancel.
TEST(CopyFilesView, StepsFilesFailuresAndTheCancelReachTheDialog)
{
    CopyFilesDialog dialog;
    dialog.create();
    CopyFilesView view(dialog);
    view.setRange(30);
    view.nextFile("C:\\Tools\\Trelliq\\bin");
    view.skipStep();
    view.skipStep();
    EXPECT_EQ(SendMessageA(dialog.progressBar(), PBM_GETRANGE, FALSE, 0), 30);
    EXPECT_EQ(SendMessageA(dialog.progressBar(), PBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_CURRENT_FILE), "C:\\Tools\\Trelliq\\bin");

    static std::string shown;
    static unsigned style;
    MessageBoxHandler previous = setMessageBoxHandler([](const char* text, unsigned s) {
        shown = text;
        style = s;
        return IDOK;
    });
    view.showFailure("Error creating directory C:\\x: Error 5: Access is denied.", MB_ICONERROR);
    setMessageBoxHandler(previous);
    EXPECT_EQ(shown, "Error creating directory C:\\x: Error 5: Access is denied.");
    EXPECT_EQ(style, static_cast<unsigned>(MB_ICONERROR));

    EXPECT_FALSE(view.pollCancel());
    robot::press(dialog.hwnd(), VK_ESCAPE);
    SetLastError(0);
    EXPECT_TRUE(view.pollCancel());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
    view.skipStep(); // the window is gone: nothing happens, nothing fails
}

TEST(CopyFilesDialog, UpdatesAfterEscapeDoNothingAndDoNotFail)
{
    CopyFilesDialog dialog;
    dialog.create();
    robot::press(dialog.hwnd(), VK_ESCAPE);
    EXPECT_TRUE(dialog.pollCancel());
    EXPECT_EQ(dialog.hwnd(), nullptr);
    dialog.nextFile("include/trq.h");
    EXPECT_EQ(dialog.progressBar(), nullptr);
    EXPECT_EQ(dialog.text().compareTo("include/trq.h"), 0);
}

TEST(UpdateRegistryDialog, SetTextWorksWithAndWithoutAWindow)
{
    UpdateRegistryDialog dialog;
    dialog.setText("TRQFILE");
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_EQ(dialog.text().compareTo("TRQFILE"), 0);
    dialog.create();
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_REGISTRY_TEXT), "TRQFILE") << "a text set before is shown";
    dialog.setText("PATH & LIB");
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_REGISTRY_TEXT), "PATH & LIB");
    EXPECT_FALSE(dialog.pollCancel());
}

TEST(UninstallResultDialog, ShowsTheRowsItIsGivenAndEndsWithOk)
{
    UninstallResultDialog dialog;
    dialog.create();
    const int hidden[] = {IDC_CHECK_PROGRAM_MENU, IDC_CHECK_REGISTRY, IDC_CHECK_FILES, IDC_RESULT_SUCCESS,
                          IDC_RESULT_FAILURE};
    for (int id : hidden)
        EXPECT_FALSE(robot::visible(dialog.hwnd(), id)) << id;
    // The uninstall whose registry step failed.
    EnableWindow(dialog.item(IDOK), FALSE);
    dialog.showItem(IDC_CHECK_PROGRAM_MENU);
    dialog.showItem(IDC_CHECK_FILES);
    dialog.showItem(IDC_RESULT_FAILURE);
    EXPECT_TRUE(robot::visible(dialog.hwnd(), IDC_CHECK_PROGRAM_MENU));
    EXPECT_FALSE(robot::visible(dialog.hwnd(), IDC_CHECK_REGISTRY));
    EXPECT_TRUE(robot::visible(dialog.hwnd(), IDC_CHECK_FILES));
    EXPECT_TRUE(robot::visible(dialog.hwnd(), IDC_RESULT_FAILURE));
    EXPECT_FALSE(robot::visible(dialog.hwnd(), IDC_RESULT_SUCCESS));
    EnableWindow(dialog.item(IDOK), TRUE);
    SetFocus(dialog.item(IDOK));
    robot::Robot user("Uninstall", [](HWND window) { robot::click(window, IDOK); });
    EXPECT_EQ(dialog.runModalLoop(), IDOK);
    EXPECT_TRUE(user.found());
}

TEST(PlainPages, RestartAndSetupCompleteAnswerTheirButtons)
{
    WizardPage restart(IDD_RESTART_WINDOWS, nullptr);
    std::string text;
    robot::Robot user("Restart Windows", [&](HWND window) {
        text = robot::text(window, IDOK);
        robot::click(window, IDOK);
    });
    EXPECT_EQ(restart.run(interactiveRun()), IDOK);
    EXPECT_EQ(text, "Restart");
    robot::Robot no("Restart Windows", [](HWND window) { robot::click(window, IDCANCEL); });
    EXPECT_EQ(restart.run(interactiveRun()), IDCANCEL);

    WizardPage complete(IDD_SETUP_COMPLETE, nullptr);
    robot::Robot ok("Setup complete", [](HWND window) { robot::press(window, VK_RETURN); });
    EXPECT_EQ(complete.run(interactiveRun()), IDOK) << "Enter presses the default OK";
    EXPECT_EQ(restart.run(unattendedRun()), IDOK) << "unattended: restart without asking";
}

} // namespace
