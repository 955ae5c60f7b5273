// Journal: the records on disk, what each change does before it happens, and the undo.
#include "setup/Journal.h"

#include "foundation/File.h"
#include "foundation/Log.h"
#include "foundation/LongPathName.h"
#include "foundation/ProductIdentity.h"
#include "host/BatchFile.h"
#include "host/InstallMarks.h"
#include "host/RegistryKey.h"
#include "setup/TestPause.h"

#include <cerrno>
#include <cstring>

namespace {

const char (&magic)[9] = product::journalMagic;
const int magicLength = sizeof magic - 1;
const char* const keptFolderName = product::keptFolderName;

const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

uint32_t rootIndex(HKEY root)
{
    for (uint32_t i = 0; i < sizeof roots / sizeof roots[0]; ++i) {
        if (roots[i] == root)
            return i;
    }
    return ~0u;
}

// Whether key is prefix or lies below it (subkeys compared without regard to case).
bool keyUnder(const String& key, const String& prefix)
{
    const String lower = key.toLowerCase();
    const String wanted = prefix.toLowerCase();
    return lower.compareTo(wanted) == 0
           || (lower.length() > wanted.length() && lower.substring(0, wanted.length()).compareTo(wanted) == 0
               && lower.charAt(wanted.length()) == '\\');
}

// The product's own keys that an install may have to make a missing parent for (the
// uninstall list, a user's Software\Classes).
const char* const ownKeys[] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" TRELLIQ_PRODUCT_NAME,
                               "Software\\Classes\\.trq", "Software\\Classes\\Coverage.File"};

// Whether key lies above one of ownKeys.
bool aboveProductKey(HKEY root, const String& key)
{
    if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER)
        return false;
    for (const char* place : ownKeys) {
        if (key.length() < static_cast<int>(std::strlen(place)) && keyUnder(place, key))
            return true;
    }
    return false;
}

// The undo of making a key above ours: our keys below it go, then the key itself, only
// when nothing else has been put into it since. False when a deletion failed.
bool removeAbove(HKEY root, const String& key)
{
    for (const char* place : ownKeys) {
        RegistryKey own(root, place);
        if (keyUnder(place, key) && own.open(RegistryKey::Read) && !own.deleteTree())
            return false;
    }
    RegistryKey above(root, key);
    return !above.isEmpty() || above.deleteTree();
}

// Whether a registry record names a place that an install changes: its uninstall entry,
// its company's key, the .trq association, its environment variables, Developer Studio's
// settings and BoundsChecker's. A journal read back from disk may have been changed while
// its run was dead, and the elevated run that takes it over restores no other value and
// deletes no other key.
bool installChanges(const Journal::Record& record)
{
    const HKEY root = record.root < sizeof roots / sizeof roots[0] ? roots[record.root] : nullptr;
    const String& key = record.path;
    const char* const associations[] = {".trq", "Coverage.File"};
    for (const char* association : associations) {
        if ((root == HKEY_CLASSES_ROOT && keyUnder(key, association))
            || ((root == HKEY_LOCAL_MACHINE || root == HKEY_CURRENT_USER)
                && keyUnder(key, String("Software\\Classes\\") + association)))
            return true;
    }
    if (record.kind == Journal::Record::Key && aboveProductKey(root, key))
        return true;
    if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER)
        return false;
    if (keyUnder(key, String("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + product::name)
        || keyUnder(key, String("Software\\") + product::company))
        return true;
    if (record.kind != Journal::Record::Value)
        return false;
    const char* const environment = root == HKEY_LOCAL_MACHINE
                                        ? "System\\CurrentControlSet\\Control\\Session Manager\\Environment"
                                        : "Environment";
    if (key.toLowerCase().compareTo(String(environment).toLowerCase()) == 0) {
        const char* const variables[] = {"PATH", "LIB", "TRQFILE", "NMCL"};
        for (const char* variable : variables) {
            if (record.named && record.name.toLowerCase().compareTo(String(variable).toLowerCase()) == 0)
                return true;
        }
        return false;
    }
    return (root == HKEY_CURRENT_USER
            && (keyUnder(key, "Software\\Microsoft\\DevStudio") || keyUnder(key, "Software\\Microsoft\\Developer")))
           || keyUnder(key, "Software\\NuMega\\BoundsChecker");
}

uint32_t crc32(const char* data, int length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < length; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void putNumber(String& out, uint32_t number)
{
    char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(number >> (8 * i));
    out.append(String(bytes, 4));
}

void putText(String& out, const String& text)
{
    putNumber(out, static_cast<uint32_t>(text.length()));
    out.append(text);
}

// Reads what put* wrote; false once the bytes run out.
class Reader {
public:
    Reader(const char* data, int length) : data_(data), length_(length) {}
    bool number(uint32_t& value)
    {
        if (length_ - at_ < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(data_[at_ + i])) << (8 * i);
        at_ += 4;
        return true;
    }
    bool text(String& value)
    {
        uint32_t length;
        if (!number(length) || length > static_cast<uint32_t>(length_ - at_))
            return false;
        value = String(data_ + at_, static_cast<int>(length));
        at_ += static_cast<int>(length);
        return true;
    }
    bool ended() const { return at_ == length_; }

private:
    const char* data_;
    int length_;
    int at_ = 0;
};

String encode(const Journal::Record& record)
{
    String out;
    putNumber(out, static_cast<uint32_t>(record.kind));
    putText(out, record.path);
    putText(out, record.kept);
    putNumber(out, record.root);
    putNumber(out, record.named ? 1 : 0);
    putText(out, record.name);
    putNumber(out, record.existed ? 1 : 0);
    putNumber(out, record.type);
    putNumber(out, record.number);
    putText(out, record.data);
    return out;
}

bool decode(const char* data, int length, Journal::Record& record)
{
    Reader in(data, length);
    uint32_t kind, named, existed;
    if (!(in.number(kind) && in.text(record.path) && in.text(record.kept) && in.number(record.root)
          && in.number(named) && in.text(record.name) && in.number(existed) && in.number(record.type)
          && in.number(record.number) && in.text(record.data) && in.ended()))
        return false;
    if (kind <= Journal::Record::None || kind > Journal::Record::Done)
        return false;
    record.kind = static_cast<int>(kind);
    record.named = named != 0;
    record.existed = existed != 0;
    return true;
}

DWORD attributesOf(const String& path)
{
    return GetFileAttributesA(path.c_str());
}

bool exists(const String& path)
{
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

// path lies below folder (which ends with a separator), letters and separators folded.
bool isBelow(const String& path, const Path& folder)
{
    return path.length() > folder.length() && Path(path.substring(0, folder.length())).equals(folder);
}

// path with its short (8.3) components in their long form, as far as they exist: on Windows
// 95 and 98 the batch file is named by its short form, the one COMMAND.COM reads.
String longForm(const String& path)
{
    char buffer[MAX_PATH];
    const int length = longPathNameByComponents(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < static_cast<int>(sizeof buffer) ? String(buffer) : path;
}

// path is folder or one of its parents.
bool isFolderOrParent(const String& path, const Path& folder)
{
    const Path level = Path(path).addTrailingSeparator();
    return level.length() <= folder.length() && level.equals(Path(folder.substring(0, level.length())));
}

void failed(String& failures, const String& path)
{
    Log::write("not undone: " + path);
    failures.append(path + "\r\n");
}

} // namespace

Path Journal::fileIn(const Path& folder)
{
    return Path(folder).addTrailingSeparator() + product::journalName;
}

bool Journal::isIn(const Path& folder)
{
    return holdsInstallJournal(folder);
}

Journal::~Journal()
{
    closeFile();
}

void Journal::closeFile()
{
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
}

void Journal::begin(const Path& folder, const Array<String>& made)
{
    folder_ = Path(folder).addTrailingSeparator();
    const Path name = fileIn(folder_);
    // A journal already there is another run's: taken over before, never overwritten.
    file_ = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
        // Without a journal nothing may stay of what was made for it.
        for (int i = made.size() - 1; i >= 0; --i)
            RemoveDirectoryA(made[i].c_str());
        throw File::ExceptionCreate(name);
    }
    DWORD written = 0;
    if (!WriteFile(file_, magic, magicLength, &written, nullptr) || written != magicLength) {
        errno = ENOSPC;
        throw File::ExceptionWrite(name);
    }
    for (const String& level : made) {
        Record record;
        record.kind = Record::Folder;
        record.path = level;
        append(record);
    }
    madeCount_ = records_.size();
    Log::write("journal: " + name);
}

void Journal::append(const Record& record)
{
    // The tests' build can wait here: TRELLIQ_PAUSE_AT="KIND N FILE" before the Nth record
    // of KIND.
    const char* const kinds[] = {"", "folder", "file", "aside", "value", "key", "done"};
    testPause(kinds[record.kind]);
    const String payload = encode(record);
    String frame;
    putNumber(frame, static_cast<uint32_t>(payload.length()));
    putNumber(frame, crc32(payload.c_str(), payload.length()));
    frame.append(payload);
    // Written through to the disk before the change is made: a power cut after the change
    // must find its record.
    DWORD written = 0;
    if (!WriteFile(file_, frame.c_str(), static_cast<DWORD>(frame.length()), &written, nullptr)
        || written != static_cast<DWORD>(frame.length())) {
        errno = ENOSPC;
        throw File::ExceptionWrite(fileIn(folder_));
    }
    records_.add(record);
}

void Journal::creatingFolder(const String& path)
{
    Record record;
    record.kind = Record::Folder;
    record.path = path;
    append(record);
}

void Journal::creatingFile(const String& path)
{
    Record record;
    record.kind = Record::File;
    record.path = path;
    append(record);
}

void Journal::setAside(const String& path)
{
    // Inside the journal's folder into the kept folder; elsewhere (the program menu) into
    // it too when it is on the same drive, else beside the original.
    const Path keptFolder = folder_ + keptFolderName;
    if (!exists(keptFolder))
        CreateDirectoryA(keptFolder.c_str(), nullptr);
    Record record;
    record.kind = Record::Aside;
    record.path = path;
    record.kept = keptFolder + "\\" + String::valueOf(++asideCount_);
    const bool sameDrive = isBelow(path, folder_)
                           || Path(path.substring(0, 2)).equals(Path(folder_.substring(0, 2)));
    if (!sameDrive)
        record.kept = path + ".kept-" + String::valueOf(asideCount_);
    append(record);
    if (!MoveFileA(path.c_str(), record.kept.c_str())) {
        errno = EACCES;
        throw Path::Exception(path + ": cannot be replaced");
    }
}

void Journal::changingValue(HKEY root, const String& subkey, const char* name)
{
    const uint32_t index = rootIndex(root);
    if (index == ~0u)
        return;
    // The outermost key that does not exist yet: the change makes it, and the undo takes
    // it away with everything below.
    String missing;
    for (String level = subkey;;) {
        if (RegistryKey(root, level).open(RegistryKey::Read))
            break;
        missing = level;
        const int slash = level.lastIndexOf('\\');
        if (slash <= 0)
            break;
        level = level.substring(0, slash);
    }
    if (!missing.isEmpty()) {
        Record key;
        key.kind = Record::Key;
        key.root = index;
        key.path = missing;
        append(key);
        return;
    }
    Record record;
    record.kind = Record::Value;
    record.root = index;
    record.path = subkey;
    record.named = name != nullptr;
    record.name = name ? name : "";
    RegistryValue earlier;
    record.existed = RegistryKey(root, subkey).queryValue(name, earlier, TextForm::Wide);
    if (record.existed) {
        record.type = earlier.type;
        record.number = earlier.number;
        if (RegistryValue::isString(earlier.type))
            record.data = String(reinterpret_cast<const char*>(earlier.wide.c_str()),
                                 earlier.wide.length() * static_cast<int>(sizeof(wchar_t)));
        else
            record.data = earlier.text;
    }
    append(record);
}

void Journal::undo(int first, String& failures) const
{
    // The undo's own changes are not recorded.
    const MachineChanges::Recording unrecorded(nullptr);
    for (int i = records_.size() - 1; i >= first; --i) {
        const Record& record = records_[i];
        switch (record.kind) {
        case Record::File: {
            const DWORD attributes = attributesOf(record.path);
            if (attributes == INVALID_FILE_ATTRIBUTES)
                break;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(record.path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !DeleteFileA(record.path.c_str()))
                failed(failures, record.path);
            break;
        }
        case Record::Folder:
            if (exists(record.path) && !RemoveDirectoryA(record.path.c_str()))
                failed(failures, record.path);
            break;
        case Record::Aside:
            // Not moved yet when the run ended between the record and the move.
            if (exists(record.kept) && !MoveFileA(record.kept.c_str(), record.path.c_str()))
                failed(failures, record.path);
            break;
        case Record::Key: {
            RegistryKey key(roots[record.root], record.path);
            const bool done = aboveProductKey(roots[record.root], record.path)
                                  ? removeAbove(roots[record.root], record.path)
                                  : !key.open(RegistryKey::Read) || key.deleteTree();
            if (!done)
                failed(failures, key.fullName());
            break;
        }
        case Record::Value: {
            RegistryKey key(roots[record.root], record.path);
            const char* name = record.named ? record.name.c_str() : nullptr;
            bool ok;
            if (!record.existed) {
                RegistryValue now;
                ok = !key.queryValue(name, now) || key.deleteValue(name);
            } else if (RegistryValue::isString(record.type)) {
                const WideText wide(reinterpret_cast<const wchar_t*>(record.data.c_str()),
                                    record.data.length() / static_cast<int>(sizeof(wchar_t)));
                ok = key.setValue(name, RegistryValue(wide, record.type));
            } else if (record.type == REG_DWORD) {
                ok = key.setValue(name, RegistryValue(record.number));
            } else {
                RegistryValue value(record.data, record.type);
                value.form = TextForm::Wide;
                ok = key.setValue(name, value);
            }
            if (!ok)
                failed(failures, key.fullName() + record.name);
            break;
        }
        default:
            break;
        }
    }
}

void Journal::removeJournal(String& failures, bool discardKept)
{
    // After an undo the kept folder is empty; what could not be put back stays in it, for
    // the user to recover.
    const Path keptFolder = folder_ + keptFolderName;
    try {
        if (discardKept && exists(keptFolder))
            keptFolder.remove();
        else if (exists(keptFolder) && !RemoveDirectoryA(keptFolder.c_str()))
            failed(failures, keptFolder);
    } catch (const Exception&) {
        failed(failures, keptFolder);
    }
    closeFile();
    const Path name = fileIn(folder_);
    if (exists(name) && !DeleteFileA(name.c_str()))
        failed(failures, name);
    undo(0, failures);
}

void Journal::finish()
{
    if (!started())
        return;
    Record done;
    done.kind = Record::Done;
    append(done);
    // What was set aside goes; the folders made for the journal stay, with the product.
    madeCount_ = 0;
    const Path keptFolder = folder_ + keptFolderName;
    try {
        if (exists(keptFolder))
            keptFolder.remove();
        for (const Record& record : records_) {
            if (record.kind == Record::Aside && exists(record.kept))
                Path(record.kept).remove();
        }
    } catch (const Exception&) {
        // Left for the uninstall, which removes the folder with everything in it.
    }
    closeFile();
    DeleteFileA(fileIn(folder_).c_str());
    records_ = Array<Record>();
    Log::write("journal finished");
}

void Journal::discard()
{
    closeFile();
    DeleteFileA(fileIn(folder_).c_str());
    records_ = Array<Record>();
}

String Journal::rollBack()
{
    String failures;
    if (!started())
        return failures;
    closeFile();
    // Nothing more may be recorded while the changes are undone.
    undo(madeCount_, failures);
    const Array<Record> made(records_.data(), madeCount_);
    records_ = made;
    removeJournal(failures, false);
    records_ = Array<Record>();
    Log::write(failures.isEmpty() ? "rolled back" : "rolled back, except:\r\n" + failures);
    return failures;
}

String Journal::takeOver(const Path& given, const Path& menuEntry)
{
    Journal journal;
    journal.folder_ = Path(given).addTrailingSeparator();
    const Path name = fileIn(journal.folder_);
    String failures;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failed(failures, name);
        return failures;
    }
    const DWORD size = GetFileSize(file, nullptr);
    Array<char> bytes(size == INVALID_FILE_SIZE ? 0 : static_cast<int>(size));
    DWORD read = 0;
    const bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)
                    && read == static_cast<DWORD>(bytes.size());
    CloseHandle(file);
    if (!ok || bytes.size() < static_cast<int>(magicLength) || std::memcmp(bytes.data(), magic, magicLength) != 0) {
        failed(failures, name);
        return failures;
    }
    bool done = false;
    bool made = true;
    // Records until the first that was cut off or damaged: its change was never made.
    for (int at = magicLength; bytes.size() - at >= 8;) {
        Reader frame(bytes.data() + at, 8);
        uint32_t length, sum;
        frame.number(length);
        frame.number(sum);
        if (length > static_cast<uint32_t>(bytes.size() - at - 8) || crc32(bytes.data() + at + 8, static_cast<int>(length)) != sum)
            break;
        Record record;
        if (!decode(bytes.data() + at + 8, static_cast<int>(length), record))
            break;
        at += 8 + static_cast<int>(length);
        // A journal is trusted with this folder only: what it names elsewhere stays.
        const bool registry = record.kind == Record::Value || record.kind == Record::Key;
        const String path = registry ? record.path : longForm(record.path);
        const bool inside = registry ? installChanges(record)
                                     : isBelow(path, journal.folder_) || Path(path).equals(menuEntry)
                                           || Path(path).equals(Path(autoexecPath)) || record.kind == Record::Done;
        const bool madeForIt = record.kind == Record::Folder && isFolderOrParent(record.path, journal.folder_);
        if (!made || !madeForIt)
            made = false;
        if (record.kind == Record::Done)
            done = true;
        else if (!inside && !madeForIt)
            failed(failures, record.path);
        else
            journal.records_.add(record);
        if (made)
            journal.madeCount_ = journal.records_.size();
    }
    Log::write(String("journal of an earlier run taken over: ") + name);
    if (done) {
        // That run ended well and was only clearing up.
        journal.records_ = Array<Record>();
        journal.madeCount_ = 0;
        journal.removeJournal(failures, true);
        return failures;
    }
    journal.undo(journal.madeCount_, failures);
    journal.records_ = Array<Record>(journal.records_.data(), journal.madeCount_);
    journal.removeJournal(failures, false);
    return failures;
}
