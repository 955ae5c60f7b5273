// ProductExtraction: the product's folders, leftovers, wrappers and the uninstaller.
#include "setup/ProductExtraction.h"

#include "foundation/ErrorText.h"
#include "foundation/FindHandle.h"
#include "foundation/LastErrorKept.h"
#include "foundation/Links.h"
#include "foundation/Log.h"
#include "foundation/MachineChanges.h"
#include "foundation/ModulePath.h"
#include "foundation/ProductIdentity.h"
#include "host/InstallMarks.h"

#include <windows.h>

#include <cstdlib>

namespace {

const char* const folders[] = {"bin", "help", "include", "lib", "numega", "sample", "sample/text", "sample/win", "src"};

// What an earlier install may have left that this one replaces.
const char* const leftovers[] = {"bin/*.dll", "bin/*.exe", "bin/*.exe-", "bin/trelliq.cnt",
                                 "bin/trelliq.hlp", "bin/trqset.bat", "cpp", "numega/*"};

const struct {
    const char* name;
    ProductExtraction::Family family;
} wrappers[] = {
    {"bcc32", ProductExtraction::Borland},  {"c++", ProductExtraction::Gnu},
    {"cc68k", ProductExtraction::Microtec}, {"ccppc", ProductExtraction::Gnu},
    {"ccxa", ProductExtraction::Tasking},   {"cl", ProductExtraction::Microsoft},
    {"g++", ProductExtraction::Gnu},        {"gcc", ProductExtraction::Gnu},
    {"link", ProductExtraction::Microsoft}, {"mcc68k", ProductExtraction::Microtec},
    {"powerpc-wrs-vxworks-gcc", ProductExtraction::Gnu},
};

// Steps of the bar besides the entries: 9 folders, 11 wrapper rows, the uninstaller, and 7
// that are never taken, so the bar stops short of its end.
const int extraRange = 28;

#ifdef TRELLIQ_BENCH_TIMES
// Only in the benchmark's build (bench/Bench.cmake): the milliseconds the decoder thread
// spent decoding and the extraction spent waiting for it, as one line "BUSY WAITED"
// appended to the file that the environment variable TRELLIQ_DECODE_TIMES names.
void reportDecodeTimes(const DecoderThread& decoder)
{
    const char* name = std::getenv("TRELLIQ_DECODE_TIMES");
    if (!name)
        return;
    const String line = String::valueOf(static_cast<int>(decoder.decoderBusy() * 1000)) + " " +
                        String::valueOf(static_cast<int>(decoder.readerWaited() * 1000)) + "\r\n";
    HANDLE file = CreateFileA(name, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line.c_str(), static_cast<DWORD>(line.length()), &written, nullptr);
    CloseHandle(file);
}
#endif

} // namespace

ProductExtraction::ProductExtraction(const Path& programFolder, const Path& destination, const bool* compilerFlags,
                                     ExtractionView& view, int resourceId, DecoderThread::Decoding decoding)
    : programFolder_(programFolder), destination_(destination), compilerFlags_(compilerFlags), view_(view),
      reader_(destination, view, resourceId, decoding)
{
}

bool ProductExtraction::run()
{
    // However the extraction ends (an exception of the view or of the file layer included),
    // the decoder thread ends with it, before the caller reports any failure; joining it
    // must not replace the last error that the caller reads.
    struct CloseReader {
        ArchiveReader& reader;
        ~CloseReader()
        {
            const LastErrorKept kept;
            reader.close();
#ifdef TRELLIQ_BENCH_TIMES
            reportDecodeTimes(reader.decoder());
#endif
        }
    } closeReader{reader_};
    try {
        const int count = reader_.readHeader();
        view_.setRange(count + extraRange);
        // Looked at before anything is written: only an earlier install of ours is
        // cleaned, never a folder of someone else's that happens to have a bin.
        const bool earlierInstall = holdsProductInstall(destination_);
        for (const char* folder : folders)
            createFolder(folder);
        // A folder that is a link has been reported; nothing may be removed or written
        // through it, so nothing more is done.
        if (linkFound_) {
            SetLastError(ERROR_CANT_ACCESS_FILE);
            return false;
        }
        if (earlierInstall) {
            for (const char* pattern : leftovers)
                removeMatching(pattern);
        }
        reader_.extractEntries(count);
        for (const auto& wrapper : wrappers)
            installWrapper(wrapper.name, compilerFlags_[wrapper.family]);
        copyInto(modulePath(), product::uninstallerName);
    } catch (const Script::Abort&) {
        // Unwinding may call into the system (thread-local storage) and clear the last
        // error that the reader set; the caller reads it.
        ok_ = false;
        SetLastError(reader_.failure());
    }
    return ok_;
}

void ProductExtraction::showLastError(const String& context)
{
    view_.showFailure(lastErrorMessage(context.c_str()), MB_ICONERROR);
}

void ProductExtraction::createFolder(const char* name)
{
    const Path target = destination_ + name;
    view_.nextFile(target);
    const String link = firstLinkBelow(destination_, name);
    if (!link.isEmpty()) {
        ok_ = false;
        linkFound_ = true;
        view_.showFailure("Error creating directory " + target + ": " + link
                              + " is a link to another place, and setup writes nothing through links",
                          MB_ICONERROR);
        return;
    }
    const DWORD attributes = GetFileAttributesA(target.c_str());
    MachineChanges* const changes = MachineChanges::recorder();
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (changes)
            changes->creatingFolder(target);
        ok_ = CreateDirectoryA(target.c_str(), nullptr);
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ok_ = true;
    } else {
        try {
            MachineChanges::remove(target);
            if (changes)
                changes->creatingFolder(target);
            ok_ = CreateDirectoryA(target.c_str(), nullptr);
        } catch (const Exception&) {
            ok_ = false;
        }
    }
    if (ok_)
        Log::write("folder: " + target);
    else
        showLastError("Error creating directory " + target);
}

void ProductExtraction::removeMatching(const char* pattern)
{
    const Path path = destination_ + pattern;
    const Path directory = path.directory();
    for (FindHandle search(path.c_str()); search.found(); search.next()) {
        const String name = search.entry().cFileName;
        if (name.compareTo(".") == 0 || name.compareTo("..") == 0)
            continue;
        try {
            MachineChanges::remove(directory + name);
            Log::write("removed: " + directory + name);
        } catch (const Exception& failure) {
            ok_ = false;
            view_.showFailure(failure.message(), MB_ICONSTOP);
        }
    }
}

void ProductExtraction::installWrapper(const char* name, bool selected)
{
    if (selected) {
        copyInto(product::wrapperProgram, String("bin/") + name + ".exe-");
    } else {
        Log::write("skipped: " + destination_ + "bin/" + name + ".exe- (its compilers were not chosen)");
        view_.skipStep();
    }
}

void ProductExtraction::copyInto(const String& source, const String& targetName)
{
    // A relative source is the product's own file, just extracted; one beside the setup
    // program (which may sit in a ZIP or on a share that anybody can add a bin folder to)
    // only stands in when the product has none. One copy: a failure names its real source
    // and its own error.
    const Path target = destination_ + targetName;
    Path sourcePath = source;
    if (!sourcePath.isAbsolute()) {
        sourcePath = destination_ + source;
        if (!sourcePath.isFile())
            sourcePath = programFolder_ + source;
    }
    view_.nextFile(target);
    MachineChanges::replacingFile(target);
    ok_ = CopyFileA(sourcePath.c_str(), target.c_str(), FALSE);
    if (!ok_) {
        showLastError("Error copying " + sourcePath + " to " + target);
        return;
    }
    struct _stat record;
    const long long size = target.status(&record) ? static_cast<long long>(record.st_size) : -1;
    Log::write("file: " + target + " (" + String::valueOf(static_cast<int>(size)) + " bytes, a copy of " + sourcePath + ")");
}
