// Tests of the system library version checks on the test prefix's own libraries.
#include "host/SystemFileVersion.h"

#include "foundation/WindowsVersion.h"
#include "tests/host/MessageRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(SystemFileVersion, VersionsCompareNumericallyFieldByField)
{
    EXPECT_FALSE(isLowerVersion("10.0.19041.1", "4.72.3110.0")) << "10 is more than 4";
    EXPECT_FALSE(isLowerVersion("10.0.0.1", "4.72.3110.0"));
    EXPECT_FALSE(isLowerVersion("4.72.3110.10", "4.72.3110.9"));
    EXPECT_TRUE(isLowerVersion("4.9.0.0", "4.72.0.0"));
    EXPECT_TRUE(isLowerVersion("4.72.3110.0", "4.72.3110.1"));
    EXPECT_FALSE(isLowerVersion("4.72.3110.1", "4.72.3110.1")) << "equal is enough";
    EXPECT_FALSE(isLowerVersion("5.0", "4.72.3110.0")) << "missing fields count as 0";
    EXPECT_TRUE(isLowerVersion("4.72", "4.72.3110.0"));
    EXPECT_TRUE(isLowerVersion("", "0.0.0.0")) << "an unknown version is always too low";
}

TEST(SystemFileVersion, TheMessageNamesTheFileTheMinimumAndTheInstalledVersionWhenKnown)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const String installed = fileVersion((std::string(system) + "\\kernel32.dll").c_str());
    ASSERT_FALSE(installed.isEmpty());
    const std::string minimum = std::string(installed.c_str()) + "1"; // one more in the last field, times ten

    MessageRecorder recorder;
    EXPECT_FALSE(checkSystemFileVersion("kernel32.dll", minimum.c_str(), "Windows 12"));
    EXPECT_FALSE(checkSystemFileVersion("trqmissing.dll", "5.0.122.2", "the update"));
    ASSERT_EQ(MessageRecorder::messages().size(), 2u);
    EXPECT_EQ(MessageRecorder::messages()[0].text,
              "This application requires kernel32.dll version " + minimum +
                  " or later.This system has version " + installed.c_str() +
                  ". You can install the proper file by installing Windows 12");
    EXPECT_EQ(MessageRecorder::messages()[1].text,
              "This application requires trqmissing.dll version 5.0.122.2 or later. You can install the proper "
              "file by installing the update");
    EXPECT_EQ(MessageRecorder::messages()[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
}

TEST(SystemFileVersion, CurrentLibrariesPassTheInstallsChecks)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const String kernel = fileVersion((std::string(system) + "\\kernel32.dll").c_str());
    // Wine's kernel32 carries Windows 10's version, as Windows 10's does.
    ASSERT_EQ(kernel.indexOf(String("10.")), 0) << kernel.c_str();

    MessageRecorder recorder;
    EXPECT_TRUE(checkSystemFileVersion("kernel32.dll", "4.72.3110.0", "x")) << "10.x is above 4.72";
    for (const SystemFileRequirement& requirement : systemFileRequirements)
        EXPECT_TRUE(checkSystemFileVersion(requirement.file, requirement.minimum, requirement.advice))
            << requirement.file;
    for (const RecordedMessage& message : MessageRecorder::messages())
        ADD_FAILURE() << "message: " << message.text;
}
