// RecordReader: line splitting, the record's magic and the entry-name check.
#include "archive/RecordReader.h"

#include "foundation/Integer.h"

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

bool RecordReader::readHeader(int& count)
{
    String countText, unused1, unused2;
    if (!readRecord(countText, unused1, unused2))
        return false;
    count = Integer(countText, 10).value();
    return true;
}

bool RecordReader::readEntry(String& name, int& size, time_t& time)
{
    String sizeText, timeText;
    if (!readRecord(name, sizeText, timeText))
        return false;
    size = Integer(sizeText, 10).value();
    time = Integer(timeText, 10).value();
    return true;
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
