// RegistryKey: the one way the program reads and writes the Windows registry.
#pragma once

#include "foundation/String.h"
#include "host/RegistryValue.h"

#include <windows.h>

#include <cstdint>

// A key named by a predefined root and a subkey path ("Software\Pembrox\Trelliq": single
// backslashes, none at either end). The handle is opened lazily in the mode each operation
// needs (reading, writing, or creating missing keys) and reopened only when that mode
// changes, so a run of reads or a run of writes uses one handle.
//
// Machine keys under HKEY_LOCAL_MACHINE\Software are read and written in the registry's
// 32-bit view by the x86 and the x64 program alike; those under Software\Classes, which
// both views share, in the program's own, as HKEY_CLASSES_ROOT.
//
// Nothing throws. Every operation keeps the registry's status code (status()) and returns
// whether it is 0; a failing status other than ERROR_NO_MORE_ITEMS also becomes the
// thread's last error, so that the end of an enumeration leaves the last error alone.
// A value name of null stands for the key's default (unnamed) value.
class RegistryKey {
public:
    enum Mode { Closed = 0, Read = 1, Write = 2, Create = 3 };

    RegistryKey(HKEY root, const char* subkey);
    RegistryKey(HKEY root, const String& subkey);
    // Copies root and subkey; the copy starts closed.
    RegistryKey(const RegistryKey& other);
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // Opens in mode; no call when the key is open in that mode already. Resets the
    // enumeration index. A failed open leaves the key closed.
    bool open(Mode mode);
    // True also when already closed.
    bool close();

    // The next subkey's name (at most 255 characters). At the end of the list or on any
    // failure: false, the name unchanged and the index back at 0.
    bool nextSubkey(String& name);
    // As nextSubkey for the named values; the key's default value is skipped. The value
    // comes in form (see RegistryValue); the name is ANSI text either way.
    bool nextValue(String& name, RegistryValue& value, TextForm form = TextForm::Ansi);
    // On failure the value is left unchanged. Values of any length are read whole, in form:
    // TextForm::Wide for a value of another program that is to be written back.
    bool queryValue(const char* name, RegistryValue& value, TextForm form = TextForm::Ansi);
    // The value's text; REG_EXPAND_SZ text comes with its environment references
    // expanded, and the text of another type ends at its first NUL. On failure the text
    // is left unchanged.
    bool getString(const char* name, String& text);
    // The value's REG_DWORD data. On failure the number is left unchanged.
    bool getNumber(const char* name, uint32_t& number);

    // Every change (setters, deleteValue, deleteTree) is told to the run's recorder first
    // (MachineChanges); one it cannot record is not made (ERROR_WRITE_FAULT).
    // The setters create the key and any missing parents. A value in the wide form is
    // written through the wide API (on Windows 95/98 converted to the ANSI code page).
    bool setValue(const char* name, const RegistryValue& value);
    bool setString(const char* name, const String& text);
    bool setNumber(const char* name, uint32_t number);
    bool deleteValue(const char* name);

    // Deletes the key with every subkey, depth first. True only when the key itself was
    // deleted, so a missing key gives false. Leaves the key closed.
    bool deleteTree();
    // True when the key opens and has neither a subkey nor a named value.
    bool isEmpty();

    // "HKEY_LOCAL_MACHINE\<subkey>\" ("unknown" for a root that is not predefined),
    // ready for a value name to be appended.
    String fullName() const;
    // The enclosing key, closed; the parent of a key directly under its root is the root.
    RegistryKey parent() const;

    HKEY root() const { return root_; }
    const String& subkey() const { return subkey_; }
    Mode mode() const { return mode_; }
    uint32_t status() const { return status_; }
    int index() const { return index_; }
    // Restarts the enumeration, for a caller that deletes what it enumerates.
    void resetIndex() { index_ = 0; }
    // How many times this object has asked the registry for a handle.
    int openCount() const { return openCount_; }

private:
    // Tells the run's recorder (MachineChanges) that the value is about to change; false,
    // with ERROR_WRITE_FAULT, when it could not record the change.
    bool recordChange(const char* name);
    // Sets the last error from the status unless it is 0 or ERROR_NO_MORE_ITEMS.
    bool finish();
    // RegDeleteKey of the closed key, status kept.
    void deleteFromParent();
    // Writes the key's named values to the log, before the key goes.
    void logValues();

    int index_;
    HKEY handle_;
    HKEY root_;
    String subkey_;
    Mode mode_;
    uint32_t status_;
    int openCount_;
};
