// RecordReader: line splitting, the record's magic and the entry-name check.
#include "archive/RecordReader.h"

namespace {

const char* const magic = "qxa-archive";

} // namespace

bool RecordReader::readLine(String& line)
{
    line = String();
    char pending[256];
    int count = 0;
    bool ended = true;
    for (int32_t c; (c = source_->read()) >= 0;) {
        if (c == '\n') {
            ended = false;
            break;
        }
        if (c == 0)
            continue;
        pending[count++] = static_cast<char>(c);
        if (count == sizeof pending) {
            line.append(String(pending, count));
            count = 0;
        }
    }
    line.append(String(pending, count));
    return !ended;
}

bool RecordReader::readRecord(String& first, String& second, String& third)
{
    String line;
    if (!readLine(line) || line.compareTo(magic) != 0)
        return false;
    return readLine(first) && readLine(second) && readLine(third);
}

bool RecordReader::staysInside(const String& name)
{
    if (name.isEmpty() || name.charAt(0) == '/' || name.charAt(0) == '\\' || name.indexOf(':') >= 0)
        return false;
    int start = 0;
    for (int at = 0; at <= name.length(); ++at) {
        if (at < name.length() && name.charAt(at) != '/' && name.charAt(at) != '\\')
            continue;
        int end = at;
        while (end > start && (name.charAt(end - 1) == '.' || name.charAt(end - 1) == ' '))
            --end;
        if (end == start && at > start)
            return false;
        start = at + 1;
    }
    return true;
}
