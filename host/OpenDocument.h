// openDocument: opening a document, folder or web address with the program the system
// associates with it.
#pragma once

#include "foundation/String.h"

// Opens target: web addresses, folders and .html pages by running the command registered
// for them, every other file through the shell with the verb found. Reports its own
// failures (showLastError with the target as context).
void openDocument(const String& target);

// The association of target under HKEY_CLASSES_ROOT: kind is the scheme before "://" or
// the extension with its dot (empty for none, which means a folder); verb is the first
// verb of the class whose name contains "open" and that has a command; command is that
// command's template, REG_EXPAND_SZ expanded. Fails with ERROR_NO_ASSOCIATION when the
// extension is unregistered or no such verb exists; the outputs may then be partly set.
bool resolveDocument(const String& target, String& kind, String& verb, String& command);

// The command line for target from a command template: the first placeholder found of
// "-h \"%1\"", "%1", "%L", "%l" is replaced by the bare target; a template without one
// (or with it at the very start) gets a blank and the quoted target appended.
String buildCommandLine(const String& commandTemplate, const String& target);
