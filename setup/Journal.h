// Journal: the record of one run's changes to the machine, kept in the install folder, by
// which a cancel, a failure or the next run after a crash takes them back.
#pragma once

#include "foundation/Array.h"
#include "foundation/MachineChanges.h"

// Each change is written to the journal's file, and flushed to the disk, before it is made:
// folders and files made, files and folders replaced or removed (moved aside into a folder
// beside the journal, or beside themselves on another drive, and kept until the run ends),
// registry values with their earlier type and bytes, and registry keys made. Each record
// is framed by its length and a checksum, so that one cut off by a crash is recognised and
// ignored (the change it announced was then not made).
//
// A run that ends well finishes the journal: a last record says so, what was set aside
// goes, then the journal itself. A run that ends early rolls it back: every change undone
// in reverse order, then the journal goes, and with it the folders made for it when they
// are empty. The next run that finds a journal of a run that no longer runs takes it over.
class Journal : public MachineChanges {
public:
    // The journal's file in folder (which ends with a separator).
    static Path fileIn(const Path& folder);
    // Whether folder holds a journal (holdsInstallJournal).
    static bool isIn(const Path& folder);

    Journal() = default;
    // Closes the file; the journal stays on disk unless finished or rolled back.
    ~Journal() override;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Starts the journal in folder (which exists and ends with a separator); its first
    // records are the folders listed in made, which this run made for it, outermost first.
    // Throws File::Exception when the journal cannot be made.
    void begin(const Path& folder, const Array<String>& made);
    bool started() const { return file_ != INVALID_HANDLE_VALUE; }
    const Path& folder() const { return folder_; }

    void creatingFolder(const String& path) override;
    void creatingFile(const String& path) override;
    void setAside(const String& path) override;
    void changingValue(HKEY root, const String& subkey, const char* name) override;

    // The run ended well.
    void finish();
    // The journal's file goes, nothing undone (a journal used as the mark of a run).
    void discard();
    // The run ended early: every change undone, in reverse order. Returns what could not be
    // undone, one path a line; empty when the machine is as it was.
    String rollBack();

    // A journal in folder left by a run that no longer runs (the caller holds the lock of
    // one run at a time): one that had ended well is finished, any other rolled back. Of the
    // files and folders, only what lies inside folder, the folders made for it, the
    // program-menu entry named by menuEntry and Windows 95's autoexec.bat are touched. Returns what could not be undone, as rollBack does.
    static String takeOver(const Path& folder, const Path& menuEntry);

    // One change, as recorded.
    struct Record {
        enum Kind { None, Folder, File, Aside, Value, Key, Done };
        int kind = None;
        String path;     // Folder, File, Aside; the key's subkey for Value and Key
        String kept;     // Aside: where it went
        uint32_t root = 0; // Value, Key: the index of the predefined root
        bool named = false;    // Value: false for the key's default value
        String name;           // Value
        bool existed = false;  // Value: it was set before the change
        uint32_t type = 0;     // Value: its earlier type
        uint32_t number = 0;   // Value: its earlier number (REG_DWORD)
        String data;           // Value: its earlier bytes, a string's in UTF-16
    };
    const Array<Record>& records() const { return records_; }

private:
    void append(const Record& record);
    void closeFile();
    // The undo of records from first on, last first; what failed goes into failures.
    void undo(int first, String& failures) const;
    // The kept folder (with what it holds when discardKept, else only when empty) and the
    // journal's file go, then the folders made for the journal.
    void removeJournal(String& failures, bool discardKept);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    Path folder_;
    Array<Record> records_;
    // The first records: the folders made for the journal.
    int madeCount_ = 0;
    int asideCount_ = 0;
};
