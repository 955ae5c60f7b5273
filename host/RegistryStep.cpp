// RegistryStep: the run's mode and the shown setting, shared by the host's steps.
#include "host/RegistryStep.h"

bool RegistryStep::installMode = true;
String RegistryStep::destination;

namespace {

String text;

String& shownText()
{
    return text;
}

RegistryStep::TextHandler textHandler = nullptr;

} // namespace

void RegistryStep::setText(const String& text)
{
    shownText() = text;
    if (textHandler)
        textHandler(text);
}

const String& RegistryStep::text()
{
    return shownText();
}

RegistryStep::TextHandler RegistryStep::setTextHandler(TextHandler handler)
{
    TextHandler previous = textHandler;
    textHandler = handler;
    return previous;
}
