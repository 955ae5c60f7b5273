// relaunchFromTemp: the move, the copy put back, the start and the wait.
#include "setup/Relaunch.h"

#include "foundation/Buffer.h"
#include "foundation/ErrorText.h"
#include "foundation/Log.h"
#include "foundation/ModulePath.h"
#include "foundation/Process.h"

#include <windows.h>

namespace {

// The command line of the copy: the folder ends with a backslash just before its closing
// quote; the copy's argument list gives backslashes no special meaning, so it arrives as
// written.
void appendCopyCommandLine(Buffer& commandLine, const String& program, const Path& productFolder,
                           const Options& options)
{
    commandLine.append("\"");
    commandLine.append(program);
    commandLine.append("\" -d \"");
    commandLine.append(productFolder);
    commandLine.append("\"");
    if (options.unattended)
        commandLine.append(" -a");
    if (options.silent)
        commandLine.append(" -s");
    if (!options.logFile.isEmpty()) {
        commandLine.append(" -l \"");
        commandLine.append(options.logFile);
        commandLine.append("\"");
    }
    commandLine.append("", 0, 1);
}

// Moves the running program's own file to target and puts a copy back in its place, so that
// the place holds a file that can be deleted. False, with everything as it was, when the
// system refuses.
bool moveOutOfTheWay(const String& source, const String& target)
{
    if (!MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    if (CopyFileA(target.c_str(), source.c_str(), FALSE))
        return true;
    MoveFileExA(target.c_str(), source.c_str(), 0);
    return false;
}

} // namespace

ExitCode relaunchFromTemp(const Path& productFolder, const Options& options)
{
    String directory, base, extension;
    Path(modulePath()).split(&directory, &base, &extension);
    if (extension.length() == 0)
        extension = ".exe";
    const String source = directory + base + extension;
    const String target = Path::tempDirectory() + base + extension;

    const bool wait = moveOutOfTheWay(source, target);
    if (!wait && !CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        showLastError((String("Error copying ") + source + " to " + target).c_str());
        return exitFailed;
    }
    Buffer commandLine(256);
    appendCopyCommandLine(commandLine, target, productFolder, options);
    Log::write(String("relaunch: ") + commandLine.bytes() + (wait ? "" : " (not waited for)"));
    DWORD code = exitDone;
    if (!runProcess(const_cast<char*>(commandLine.bytes()), false, nullptr, wait, wait ? &code : nullptr)) {
        showLastError((String("Error running ") + target).c_str());
        return exitFailed;
    }
    return static_cast<ExitCode>(code);
}
