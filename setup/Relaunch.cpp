// relaunchFromTemp: the folder of our own, the move, the copy put back, the start, the wait
// and the clean-up.
#include "setup/Relaunch.h"

#include "foundation/Buffer.h"
#include "foundation/CodePagePath.h"
#include "foundation/ErrorText.h"
#include "foundation/FolderAccess.h"
#include "foundation/Log.h"
#include "foundation/ModulePath.h"
#include "foundation/Process.h"
#include "foundation/SystemLibrary.h"
#include "foundation/Unguessable.h"
#include "host/DelayedMove.h"

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
    if (options.userScope)
        commandLine.append(" -u");
    if (options.machineScope)
        commandLine.append(" -m");
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

// Makes a new folder of our own in the temporary folder, writable only by the current user,
// the administrators and SYSTEM, and returns its path with a trailing backslash; empty,
// with the last error set, when the temporary folder is missing, not writable, or too long
// for the copy's path to fit. A name that exists already is never used: it could be
// anybody's.
String makeOwnFolder(const String& fileName)
{
    // In the code page, as every path here: its 8.3 form where its name has characters the
    // code page lacks.
    const String temp = tempFolderPath();
    if (temp.isEmpty())
        return String();
    // "trq" + 16 hex digits + '\\' + the file name must fit as well.
    if (temp.length() + 20 + fileName.length() >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return String();
    }
    Path folder(temp);
    folder.addTrailingSeparator();
    if (!folder.isAbsolute()) {
        SetLastError(ERROR_BAD_PATHNAME);
        return String();
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[24];
        const unsigned long long value = unguessable();
        wsprintfA(name, "trq%08lx%08lx", static_cast<unsigned long>(value >> 32),
                  static_cast<unsigned long>(value & 0xFFFFFFFFUL));
        const String candidate = (folder + name).replace('/', '\\');
        if (createFolderWithAccess(candidate, FolderAccess::ownerAndAdministrators))
            return candidate + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return String();
    }
    return String();
}

} // namespace

void removeOwnFolder(const String& folder, const String& copy)
{
    // The file first, so that the folder is empty when its turn comes. The folder is the
    // user's own: lacking the right to ask is no failure.
    if (!DeleteFileA(copy.c_str()) && GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES)
        delayedMove(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    const String bare = folder.substring(0, folder.length() - 1);
    if (!RemoveDirectoryA(bare.c_str()) && GetFileAttributesA(bare.c_str()) != INVALID_FILE_ATTRIBUTES)
        delayedMove(bare.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

ExitCode relaunchFromTemp(const Path& productFolder, const Options& options)
{
    String directory, base, extension;
    Path(modulePath()).split(&directory, &base, &extension);
    if (extension.length() == 0)
        extension = ".exe";
    const String source = directory + base + extension;
    const String folder = makeOwnFolder(base + extension);
    if (folder.isEmpty()) {
        showLastError("Unable to make a folder for the uninstaller in the temporary folder");
        return exitFailed;
    }
    const String target = folder + base + extension;

    const bool wait = moveOutOfTheWay(source, target);
    if (!wait && !CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        showLastError((String("Error copying ") + source + " to " + target).c_str());
        removeOwnFolder(folder, target);
        return exitFailed;
    }
    Buffer commandLine(256);
    appendCopyCommandLine(commandLine, target, productFolder, options);
    Log::write(String("relaunch: ") + commandLine.bytes() + (wait ? "" : " (not waited for)"));
    DWORD code = exitDone;
    // Started by the exact path of the file just put there.
    if (!runProcess(const_cast<char*>(commandLine.bytes()), false, nullptr, wait, wait ? &code : nullptr,
                    INFINITE, target.c_str())) {
        showLastError((String("Error running ") + target).c_str());
        removeOwnFolder(folder, target);
        return exitFailed;
    }
    // A copy not waited for is still running: both wait for the next start of Windows.
    removeOwnFolder(folder, target);
    return static_cast<ExitCode>(code);
}
