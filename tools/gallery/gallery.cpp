// gallery: shows the title window with one of setup's dialogs in front of it, for the
// screenshots of the README (tools/screenshots).
//   gallery NAME FILE [CHECKS]
//       shows NAME, writes the title window's screen rectangle to FILE once everything is
//       painted, and ends itself a few seconds later. With CHECKS, first writes to that file
//       what the layout checks found in every window of the program: per control, whether
//       its text fits it (measured with its own font), whether it leaves its window or
//       overlaps another control ("FAIL ..." lines), then one "checked" line.
#include "foundation/Array.h"
#include "foundation/SystemLibrary.h"
#include "framework/Application.h"
#include "framework/PointFont.h"
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

struct Checks {
    std::FILE* out;
    int controls = 0;
    int failures = 0;
    Array<HWND> windows;
};

void failure(Checks& checks, HWND control, const char* what, const char* text)
{
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    std::fprintf(checks.out, "FAIL %s control %d (%s, \"%s\")\n", what, GetDlgCtrlID(control), className, text);
    ++checks.failures;
}

// The text without its mnemonic ampersands ("&&" is one ampersand).
void withoutMnemonics(const char* text, char* plain)
{
    for (; *text; ++text) {
        if (*text == '&' && text[1] != '&')
            continue;
        *plain++ = *text;
        if (*text == '&')
            ++text;
    }
    *plain = '\0';
}

BOOL CALLBACK checkControl(HWND control, LPARAM parameter)
{
    Checks& checks = *reinterpret_cast<Checks*>(parameter);
    if (!IsWindowVisible(control))
        return TRUE;
    ++checks.controls;
    HWND parent = GetParent(control);
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    char text[1024] = "";
    GetWindowTextA(control, text, sizeof text);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT rect;
    GetWindowRect(control, &rect);
    RECT parentClient;
    GetClientRect(parent, &parentClient);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&parentClient), 2);
    RECT inside;
    IntersectRect(&inside, &rect, &parentClient);
    if (!EqualRect(&inside, &rect)) {
        char what[96];
        std::snprintf(what, sizeof what, "leaves its window (%ld,%ld-%ld,%ld in %ld,%ld-%ld,%ld):", rect.left,
                      rect.top, rect.right, rect.bottom, parentClient.left, parentClient.top, parentClient.right,
                      parentClient.bottom);
        failure(checks, control, what, text);
    }

    const bool button = lstrcmpiA(className, "Button") == 0;
    const LONG kind = style & BS_TYPEMASK;
    const bool groupBox = button && kind == BS_GROUPBOX;
    // Overlap with a later sibling; a group box holds others by design.
    if (!groupBox) {
        for (HWND other = GetWindow(control, GW_HWNDNEXT); other; other = GetWindow(other, GW_HWNDNEXT)) {
            char otherClass[64] = "";
            GetClassNameA(other, otherClass, sizeof otherClass);
            if (!IsWindowVisible(other)
                || (lstrcmpiA(otherClass, "Button") == 0
                    && (GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX))
                continue;
            RECT otherRect;
            GetWindowRect(other, &otherRect);
            RECT common;
            if (IntersectRect(&common, &rect, &otherRect)) {
                char what[64];
                std::snprintf(what, sizeof what, "overlaps control %d by %ldx%ld:", GetDlgCtrlID(other),
                              common.right - common.left, common.bottom - common.top);
                failure(checks, control, what, text);
            }
        }
    }

    const bool statik = lstrcmpiA(className, "Static") == 0;
    if (!text[0] || !(statik || button) || (statik && (style & SS_TYPEMASK) == SS_ICON))
        return TRUE;
    char plain[1024];
    if (style & SS_NOPREFIX && statik)
        lstrcpynA(plain, text, sizeof plain);
    else
        withoutMnemonics(text, plain);
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    int width = client.right;
    if (button && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON
                   || kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE))
        width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;  // the box and its gap
    else if (button && !groupBox)
        width -= 2 * GetSystemMetrics(SM_CXEDGE);  // the push button's border
    RECT need = {0, 0, width, 0};
    // One line unless the control wraps (a static without SS_LEFTNOWORDWRAP of several lines' height).
    SIZE line = {};
    GetTextExtentPoint32A(dc, "|", 1, &line);
    const bool wraps = statik && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP && client.bottom >= 2 * line.cy;
    DrawTextA(dc, plain, -1, &need, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (need.right > width || need.bottom > client.bottom) {
        char what[128];
        std::snprintf(what, sizeof what, "text of %ldx%ld does not fit %dx%ld:", need.right, need.bottom, width,
                      client.bottom);
        failure(checks, control, what, plain);
    }
    return TRUE;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter)
{
    if (IsWindowVisible(window))
        reinterpret_cast<Checks*>(parameter)->windows.add(window);
    return TRUE;
}

// Every visible window of the thread that made frame, and their controls.
void checkLayout(HWND frame, const char* file)
{
    Checks checks = {std::fopen(file, "w")};
    if (!checks.out)
        return;
    EnumThreadWindows(GetWindowThreadProcessId(frame, nullptr), collectWindow, reinterpret_cast<LPARAM>(&checks));
    for (int i = 0; i < checks.windows.size(); ++i)
        EnumChildWindows(checks.windows[i], checkControl, reinterpret_cast<LPARAM>(&checks));
    HDC screen = GetDC(nullptr);
    std::fprintf(checks.out, "checked %d windows, %d controls at %d dpi: %d failures\n", checks.windows.size(),
                 checks.controls, GetDeviceCaps(screen, LOGPIXELSY), checks.failures);
    ReleaseDC(nullptr, screen);
    std::fclose(checks.out);
}

void reportWhenPainted(HWND frame, const char* file, const char* checksFile)
{
    std::thread([frame, file, checksFile] {
        Sleep(1500);
        if (checksFile)
            checkLayout(frame, checksFile);
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
    // 800 x 600 at 96 dpi, larger at a larger scale, within the screen's work area.
    const int dpi = windowDpi(frame.hwnd());
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = scaled(800, dpi) < work.right - work.left - 20 ? scaled(800, dpi) : work.right - work.left - 20;
    const int height = scaled(600, dpi) < work.bottom - work.top - 20 ? scaled(600, dpi) : work.bottom - work.top - 20;
    SetWindowPos(frame.hwnd(), nullptr, work.left + 20, work.top + 20, width, height, SWP_NOZORDER);
    ShowWindow(frame.hwnd(), SW_SHOW);
    UpdateWindow(frame.hwnd());
    reportWhenPainted(frame.hwnd(), __argv[2], __argc > 3 ? __argv[3] : nullptr);

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
