// RegistryStep: what the host's settings steps take from the application: whether this run
// installs or uninstalls, the install folder, and where the setting being written is shown.
#pragma once

#include "foundation/String.h"

class RegistryStep {
public:
    using TextHandler = void (*)(const String& text);

    // True while installing (the default), false while uninstalling; set by the application
    // once it knows its mode.
    static bool installMode;
    // The install folder, ending with a separator; set by the application.
    static String destination;

    // Keeps text as the setting being written and passes it to the handler, if any (the
    // application installs one that shows it in the "Update Registry" dialog).
    static void setText(const String& text);
    static const String& text();

    // Installs handler (null: only keep the text) and returns the one it replaces.
    static TextHandler setTextHandler(TextHandler handler);
};
