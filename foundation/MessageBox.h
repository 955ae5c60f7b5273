// messageBox: the one entry point through which every message box of the program goes.
#pragma once

// Shows text with an MB_* style (icon and buttons) and returns the button chosen (IDOK,
// IDCANCEL, ...). The application installs its own handler (its message dialog); tests
// install one that records the text and style and returns a scripted answer.
int messageBox(const char* text, unsigned style);

using MessageBoxHandler = int (*)(const char* text, unsigned style);

// Installs handler (null restores the default, the system's MessageBoxA with the caption
// "Trelliq Setup") and returns the handler it replaces.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
