// gallery: shows the title window with one of setup's dialogs in front of it, for the
// screenshots of the README (tools/screenshots).
//   gallery NAME FILE   shows NAME, writes the title window's screen rectangle to FILE once
//                       everything is painted, and ends itself a few seconds later.
#include "foundation/SystemLibrary.h"
#include "framework/Application.h"
#include "resources/resource.h"
#include "host/RunContext.h"
#include "ui/CompilersPage.h"
#include "ui/CopyFilesDialog.h"
#include "ui/CoverageFilePage.h"
#include "ui/DestinationPage.h"
#include "ui/Frame.h"
#include "ui/MessageDialog.h"
#include "ui/RichEditNoticePage.h"
#include "ui/UninstallResultDialog.h"
#include "ui/UpdateRegistryDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace {

void reportWhenPainted(HWND frame, const char* file)
{
    std::thread([frame, file] {
        Sleep(1500);
        RECT window;
        GetWindowRect(frame, &window);
        if (FILE* out = std::fopen(file, "w")) {
            std::fprintf(out, "%ld %ld %ld %ld\n", window.left, window.top, window.right - window.left,
                         window.bottom - window.top);
            std::fclose(out);
        }
        Sleep(3000);
        ExitProcess(0);
    }).detach();
}

void loop()
{
    while (Application::current().pumpMessage()) {
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 3)
        return 2;
    const char* name = __argv[1];
    initCommonControls();
    Frame frame;
    if (!frame.create())
        return 1;
    Application::current().setMainWindow(frame.hwnd());
    SetWindowPos(frame.hwnd(), nullptr, 20, 20, 800, 600, SWP_NOZORDER);
    ShowWindow(frame.hwnd(), SW_SHOW);
    UpdateWindow(frame.hwnd());
    reportWhenPainted(frame.hwnd(), __argv[2]);

    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    const RunContext user;
    if (is("destination")) {
        DestinationPage().run(user);
    } else if (is("coverage")) {
        CoverageFilePage(Path("c:\\test.trq")).run(user);
    } else if (is("compilers")) {
        CompilersPage().run(user);
    } else if (is("richedit")) {
        RichEditNoticePage().run(user);
    } else if (is("restart")) {
        WizardPage(IDD_RESTART_WINDOWS, nullptr).run(user);
    } else if (is("complete")) {
        WizardPage(IDD_SETUP_COMPLETE, nullptr).run(user);
    } else if (is("message-error")) {
        MessageDialog::show("File open error: C:\\Program Files\\trelliq\\bin\\trqc.exe: Permission denied", 16);
    } else if (is("message-question")) {
        MessageDialog::show("Are you sure you want to remove Trelliq?", 36);
    } else if (is("message-warning")) {
        MessageDialog::show("Please close the program \"Coverage Browser - test.trq\"", 49);
    } else if (is("message-information")) {
        MessageDialog::show("Please start Developer Studio once, so that it writes its settings, "
                            "then press OK.", 65);
    } else if (is("copy-files")) {
        CopyFilesDialog dialog;
        dialog.create();
        SendMessageA(dialog.progressBar(), PBM_SETRANGE, 0, MAKELPARAM(0, 40));
        for (int i = 0; i < 17; ++i)
            dialog.nextFile("bin/coverageBrowser.exe");
        loop();
    } else if (is("update-registry")) {
        UpdateRegistryDialog dialog;
        dialog.setText("PATH");
        dialog.create();
        loop();
    } else if (is("uninstall")) {
        UninstallResultDialog dialog;
        dialog.create();
        dialog.showItem(IDC_CHECK_PROGRAM_MENU);
        dialog.showItem(IDC_CHECK_REGISTRY);
        dialog.showItem(IDC_CHECK_FILES);
        dialog.showItem(IDC_RESULT_SUCCESS);
        loop();
    } else {
        loop();  // "title": the title window alone
    }
    loop();
    return 0;
}
