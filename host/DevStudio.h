// updateDevStudio: the product's folders in Developer Studio's search paths and its commands
// in the Tools menu, for one generation.
#pragma once

class RegistryUpdate;

// Install or uninstall per the update's mode, for its destination: puts
// destination + "bin" and + "lib" first in (or takes them out of) "Path Dirs" and
// "Library Dirs", then adds (or removes) "Enable Coverage Build", "Disable Coverage Build"
// and "Coverage Browser", removing the names of earlier releases. A generation this user
// has not run counts as success. While installing, a failed list edit or a cancel leaves
// the Tools menu alone and fails; while uninstalling every edit is tried. False with the
// last error set on failure.
bool updateDevStudio(RegistryUpdate& update, int index);
