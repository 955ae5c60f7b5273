// checkSystemFileVersion: numeric version comparison and the advice message.
#include "host/SystemFileVersion.h"

#include "foundation/MessageBox.h"
#include "foundation/WindowsVersion.h"

#include <windows.h>

#include <cstdlib>

const SystemFileRequirement systemFileRequirements[5] = {
    {"comctl32.dll", "4.72.3110.1",
     "Internet Explorer 4.01 SP1 and later, or NT 4.0 SP4, or NT 4.0 SP5, or NT 4.0 SP6"},
    {"hhctrl.ocx", "4.72.7290.0", "Internet Explorer 4.01 SP1 and later"},
    {"riched20.dll", "5.0.122.2", "the Rich Edit 2.0 update from http://www.microsoft.com/downloads/"},
    {"shlwapi.dll", "4.72.3110.0", "Internet Explorer 4.01 SP1 and later"},
    {"wininet.dll", "4.70.0.1215", "Internet Explorer 3 and later, or NT 4.0 SP5"},
};

namespace {

// The four fields of "a.b.c.d"; missing or non-numeric fields are 0.
void parseVersion(const String& text, unsigned long fields[4])
{
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end;
        fields[i] = std::strtoul(p, &end, 10);
        p = end;
        while (*p && *p != '.')
            ++p;
        if (*p == '.')
            ++p;
    }
}

} // namespace

bool isLowerVersion(const String& installed, const String& minimum)
{
    if (installed.isEmpty())
        return true;
    unsigned long have[4];
    unsigned long need[4];
    parseVersion(installed, have);
    parseVersion(minimum, need);
    for (int i = 0; i < 4; ++i) {
        if (have[i] != need[i])
            return have[i] < need[i];
    }
    return false;
}

bool checkSystemFileVersion(const char* file, const char* minimum, const char* advice)
{
    char system[256];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    const String path = String(length > 0 && length < sizeof system ? system : "") + "/" + file;
    const String installed = fileVersion(path.c_str());
    if (!isLowerVersion(installed, String(minimum)))
        return true;
    String text = String("This application requires ") + file + " version " + minimum + " or later.";
    if (!installed.isEmpty())
        text += String("This system has version ") + installed + ".";
    text += String(" You can install the proper file by installing ") + advice;
    messageBox(text.c_str(), MB_ICONERROR);
    return false;
}
