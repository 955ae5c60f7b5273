// MachineChanges: the one seam through which a step announces a change to the machine
// before it makes it.
#pragma once

#include "foundation/Path.h"

#include <windows.h>

// A step that makes a folder or a file, replaces or removes one, or sets or removes a
// registry value tells the run's recorder first, so that a cancel, a failure or the next
// run after a crash can take the change back. Only the recorder knows how.
//
// There is at most one recorder at a time, put in place by Recording for the part of the run
// whose changes are to be undone. Without one every call does nothing: a test of one step,
// the uninstall's own removals. A recorder that cannot keep its record throws (the file
// layer's exceptions): the change must then not be made.
class MachineChanges {
public:
    virtual ~MachineChanges() = default;

    // The folder or file at path, which does not exist, is about to be made.
    virtual void creatingFolder(const String& path) = 0;
    virtual void creatingFile(const String& path) = 0;
    // path exists (a file, or a folder with everything in it) and is about to be replaced
    // or removed: the recorder moves it out of the way and keeps it until the run ends.
    // Afterwards nothing is at path. Throws when it cannot be moved; nothing has changed then.
    virtual void setAside(const String& path) = 0;
    // The registry value (name null: the key's default value) of the key root\subkey is
    // about to be set or removed; the key itself and its missing parents may be about to be
    // made.
    virtual void changingValue(HKEY root, const String& subkey, const char* name) = 0;

    // The recorder in place, or null.
    static MachineChanges* recorder();

    // The helpers every step uses.
    // path is about to be written as a new file: whatever is there is set aside first.
    static void replacingFile(const Path& path);
    // Removes path (a file, or a folder with everything in it): set aside under a recorder,
    // else Path::remove. Throws as Path::remove does.
    static void remove(const Path& path);

    // While it lives, recorder is the one in place; null: none (for the undo itself).
    class Recording {
    public:
        explicit Recording(MachineChanges* recorder);
        ~Recording();
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;

    private:
        MachineChanges* previous_;
    };
};
