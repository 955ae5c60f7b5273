// Fuzz target: String against std::string. The input is a program of operations on four
// String slots (copies, windows, appends in place and across blocks, concatenation,
// c_str, comparisons, searches, trim, case and replace); after each one every slot must
// hold exactly the bytes of its model.
#include "foundation/String.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    uint8_t next() { return size ? (--size, *data++) : 0; }
    std::string bytes(size_t n)
    {
        n = n < size ? n : size;
        std::string s(reinterpret_cast<const char*>(data), n);
        data += n;
        size -= n;
        return s;
    }
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

bool same(const String& s, const std::string& model)
{
    if (s.length() != static_cast<int>(model.size()))
        return false;
    for (int i = 0; i < s.length(); ++i) {
        if (s.charAt(i) != model[i])
            return false;
    }
    return true;
}

std::string trimmed(const std::string& s)
{
    size_t begin = 0, end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32)
        --end;
    return s.substr(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    String slot[4];
    std::string model[4];
    while (in.size) {
        const uint8_t op = in.next();
        const int i = op >> 4 & 3, j = op >> 6 & 3;
        const int k = in.next() & 3;
        switch (op % 13) {
        case 0: {
            model[i] = in.bytes(in.next() % 64);
            slot[i] = String(model[i].data(), static_cast<int>(model[i].size()));
            break;
        }
        case 1:
            slot[i] = slot[j];
            model[i] = model[j];
            break;
        case 2:
            slot[i] += slot[j];
            model[i] += std::string(model[j]);
            break;
        case 3: {
            const size_t length = model[j].size();
            size_t begin = length ? in.next() % (length + 1) : 0;
            size_t end = length ? in.next() % (length + 1) : 0;
            if (begin > end)
                std::swap(begin, end);
            slot[i] = slot[j].substring(static_cast<int>(begin), static_cast<int>(end));
            model[i] = model[j].substr(begin, end - begin);
            break;
        }
        case 4:
            slot[i] = slot[j] + slot[k];
            model[i] = model[j] + model[k];
            break;
        case 5: {
            const char* text = slot[i].c_str();
            check(std::memcmp(text, model[i].data(), model[i].size()) == 0 && text[model[i].size()] == '\0');
            break;
        }
        case 6: {
            const std::string chunk = in.bytes(in.next() % 300);
            const std::string text(chunk.c_str());
            slot[i].append(text.c_str());
            model[i] += text;
            break;
        }
        case 7:
            check(sign(slot[i].compareTo(slot[j])) == sign(model[i].compare(model[j])));
            check(slot[i].equals(slot[j]) == (model[i] == model[j]));
            if (model[i] == model[j])
                check(slot[i].hashCode() == slot[j].hashCode());
            break;
        case 8: {
            // A buffer of exactly the text's size, so that a read past its end is seen.
            const std::string text(model[j].c_str());
            std::unique_ptr<char[]> exact(new char[text.size() + 1]);
            std::memcpy(exact.get(), text.c_str(), text.size() + 1);
            check(sign(slot[i].compareTo(exact.get())) == sign(model[i].compare(text)));
            break;
        }
        case 9:
            slot[i] = slot[j].trim();
            model[i] = trimmed(model[j]);
            break;
        case 10: {
            slot[i] = slot[j].toLowerCase();
            std::string lower = model[j];
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            model[i] = lower;
            break;
        }
        case 11: {
            const char from = static_cast<char>(in.next()), to = static_cast<char>(in.next());
            slot[i] = slot[j].replace(from, to);
            std::string replaced = model[j];
            for (char& c : replaced)
                c = c == from ? to : c;
            model[i] = replaced;
            break;
        }
        case 12: {
            const char c = static_cast<char>(in.next());
            const int from = static_cast<int8_t>(in.next());
            const size_t start = from < 0 ? 0 : static_cast<size_t>(from);
            const size_t found = start > model[i].size() ? std::string::npos : model[i].find(c, start);
            check(slot[i].indexOf(c, from) == (found == std::string::npos ? -1 : static_cast<int>(found)));
            const size_t last = model[i].rfind(c);
            check(slot[i].lastIndexOf(c) == (last == std::string::npos ? -1 : static_cast<int>(last)));
            const size_t sub = model[i].find(model[j], start);
            if (start <= model[i].size())
                check(slot[i].indexOf(slot[j], from) == (sub == std::string::npos ? -1 : static_cast<int>(sub)));
            break;
        }
        }
        for (int n = 0; n < 4; ++n) {
            check(same(slot[n], model[n]));
            // Appending a string to itself doubles it: stop before that takes the time.
            if (model[n].size() > 65536)
                return 0;
        }
    }
    return 0;
}
