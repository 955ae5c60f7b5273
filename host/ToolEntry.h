// ToolEntry: one custom command of Developer Studio's Tools menu, as named registry values.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"
#include "foundation/WideText.h"
#include "host/RegistryValue.h"

struct ToolProperty {
    String name;
    RegistryValue value;
};

class ToolEntry {
public:
    // An empty slot: no name, no properties.
    ToolEntry() = default;
    // The eleven properties setup writes, in this order: AskArgument, CloseWindow,
    // DefaultArguments, GUITool, InitialDirectory, MenuName, OutputRedirect, PathName,
    // ReloadNoPrompt, UseSearchPath, VisibleOnMenu; their texts in the wide form (converted
    // from the program's text), as the other commands' are read and written.
    ToolEntry(const String& menuText, const String& pathName, const String& arguments,
              const String& initialDirectory, bool guiTool, bool outputRedirect);

    // The menu text without its first "&"; commands are the same when their names are
    // (case-sensitively). Empty when the slot holds no command.
    WideText name;
    // In the order they are written; of two with one name the later wins.
    Array<ToolProperty> properties;

    void add(const String& propertyName, const RegistryValue& value);
    // The same for the constructor's eleven properties, whose names are literals.
    void add(const char* propertyName, uint32_t number);
    void add(const char* propertyName, const String& text);
    void clear();
};

// Where text marks its accelerator: the index of the first "&" that is followed by a
// character and is not one of a "&&" pair (a literal ampersand); -1 when it marks none.
int acceleratorIndex(const WideText& text);
// text without the "&" that marks its accelerator (text itself when it marks none); a
// literal "&&" stays as it is.
WideText withoutAccelerator(const WideText& text);
