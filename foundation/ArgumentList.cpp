// ArgumentList: splitting a command line.
#include "foundation/ArgumentList.h"

ArgumentList::ArgumentList(const char* text) : arguments_(10, 0)
{
    parse(text);
}

void ArgumentList::parse(const char* text)
{
    arguments_.removeAllElements();
    if (!text)
        return;
    String current;
    bool quoting = false;
    bool started = false;
    for (const char* p = text;; ++p) {
        const char c = *p;
        if (c == '\0' || ((c == ' ' || c == '\t') && !quoting)) {
            // The end of the text also ends an open quotation: the argument gathered
            // so far is kept rather than dropped.
            if (started) {
                arguments_.addElement(new String(current));
                current = String();
                started = false;
            }
            if (c == '\0')
                break;
        } else if (c == '"') {
            quoting = !quoting;
            started = true;
        } else {
            current += String(c);
            started = true;
        }
    }
}

namespace {

const String empty;

} // namespace

const String& ArgumentList::argument(int index) const
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(arguments_.size()))
        return empty;
    return *static_cast<String*>(arguments_.elementAt(index));
}
