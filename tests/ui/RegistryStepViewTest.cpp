// RegistryStepView: the registry steps' texts, cancel and window reach the dialog.
#include "ui/RegistryStepView.h"

#include "host/RegistryUpdate.h"
#include "resources/resource.h"
#include "tests/robot/Robot.h"

#include <gtest/gtest.h>

TEST(RegistryStepView, TextsCancelAndWindowGoToTheDialog)
{
    UpdateRegistryDialog dialog;
    RegistryStepView view(dialog);
    const RunContext context;
    RegistryUpdate update(context, &view);
    update.show("PATH");
    EXPECT_STREQ(dialog.text().c_str(), "PATH") << "kept before the window exists";
    view.show();
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_REGISTRY_TEXT), "PATH");
    update.show("TRQFILE");
    EXPECT_EQ(robot::text(dialog.hwnd(), IDC_REGISTRY_TEXT), "TRQFILE");
    EXPECT_FALSE(update.cancelled());

    SetLastError(ERROR_ACCESS_DENIED);
    view.hide();
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the step's error is kept";

    view.show();
    ASSERT_NE(dialog.hwnd(), nullptr);
    SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SetLastError(0);
    EXPECT_TRUE(update.cancelled());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
}
