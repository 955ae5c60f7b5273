// make-tree: writes a product tree in the shape of a real C/C++ tool, the same bytes for
// the same seed on every machine. A host program of the benchmark:
//   make-tree SEED FOLDER
// About 2000 files and 64 MB: many small source-like text files, medium headers and
// libraries, a few large binary-like programs, in the folders the product uses.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <utime.h>

namespace {

// splitmix64: small, fast, and defined by its code alone, so every machine makes the same tree.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
    // low <= result <= high, skewed towards low: most files of a kind are small.
    uint32_t skewed(uint32_t low, uint32_t high)
    {
        const uint32_t a = below(high - low + 1), b = below(high - low + 1);
        return low + (a < b ? a : b);
    }

private:
    uint64_t state_;
};

const char* const keywords[] = {"int", "unsigned", "char", "const", "static", "return", "if", "else",
                                "for", "while", "struct", "void", "sizeof", "switch", "case", "break",
                                "long", "double", "typedef", "enum", "NULL", "size_t", "bool", "true"};
const char* const controls[] = {"if", "while", "for"};
const char* const operators[] = {" = ", " + ", " - ", " * ", " == ", " != ", " < ", " && ", " || ", "->", ".", ", "};

// A vocabulary of made-up identifiers, shared by all text files as a real code base shares names.
std::vector<std::string> makeVocabulary(Random& random, int count)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    static const char* const parts[] = {"cov", "trace", "block", "file", "line", "count", "hit", "probe",
                                        "node", "table", "list", "buf", "ptr", "len", "name", "flag",
                                        "state", "ctx", "map", "set", "src", "dst", "info", "data"};
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string word = parts[random.below(24)];
        const int extra = random.below(3);
        for (int j = 0; j < extra; ++j) {
            std::string part = parts[random.below(24)];
            part[0] = static_cast<char>(part[0] - 'a' + 'A');
            word += part;
        }
        if (random.below(4) == 0)
            word += letters[random.below(26)];
        words.push_back(word);
    }
    return words;
}

std::string word(Random& random, const std::vector<std::string>& vocabulary)
{
    // Names used often dominate, as in real code.
    const uint32_t n = static_cast<uint32_t>(vocabulary.size());
    return vocabulary[random.below(1 + random.below(n))];
}

void sourceText(Random& random, const std::vector<std::string>& vocabulary, size_t size, bool header, std::string& out)
{
    out.clear();
    out += "/* " + word(random, vocabulary) + " - Trelliq code coverage, Pembrox */\n\n";
    int depth = 0;
    while (out.size() < size) {
        const uint32_t kind = random.below(10);
        std::string line(4 * depth, ' ');
        if (header && kind < 4) {
            line += std::string(keywords[random.below(24)]) + " " + word(random, vocabulary) + "(" +
                    keywords[random.below(24)] + " " + word(random, vocabulary) + ");";
        } else if (kind == 0 && depth < 4) {
            line += std::string(controls[random.below(3)]) + " (" + word(random, vocabulary) +
                    operators[random.below(12)] + word(random, vocabulary) + ") {";
            ++depth;
        } else if (kind == 1 && depth > 0) {
            --depth;
            line = std::string(4 * depth, ' ') + "}";
        } else if (kind == 2) {
            line += "/* " + word(random, vocabulary) + " " + word(random, vocabulary) + " " + word(random, vocabulary) + " */";
        } else if (kind == 3) {
            line.clear();
        } else {
            line += word(random, vocabulary) + operators[random.below(12)] + word(random, vocabulary);
            if (random.below(3) == 0)
                line += "(" + word(random, vocabulary) + ", " + std::to_string(random.below(4096)) + ")";
            line += ";";
        }
        out += line + "\n";
    }
    out.resize(size);
}

// Machine-code-like bytes: runs of instruction-ish bytes from a skewed alphabet, repeats of
// earlier stretches (as code and tables repeat), and some dense data that does not compress.
void binaryBytes(Random& random, size_t size, std::string& out)
{
    out.clear();
    out.reserve(size);
    while (out.size() < size) {
        const uint32_t kind = random.below(100);
        const size_t length = 16 + random.below(240);
        if (kind < 30 && out.size() > 4096) {
            const size_t from = out.size() - 1 - random.below(static_cast<uint32_t>(out.size() < 65536 ? out.size() - 1 : 65535));
            for (size_t i = 0; i < length; ++i)
                out += out[from + i];
        } else if (kind < 78) {
            for (size_t i = 0; i < length; ++i) {
                const uint32_t r = random.below(64);
                out += static_cast<char>(r < 16 ? 0 : r < 40 ? 0x40 + random.below(16) : random.below(256));
            }
        } else {
            for (size_t i = 0; i < length; i += 8) {
                const uint64_t v = random.next();
                out.append(reinterpret_cast<const char*>(&v), 8);
            }
        }
    }
    out.resize(size);
}

void makeFolders(const std::string& root, const std::string& name)
{
    std::string path = root;
    size_t start = 0;
    for (;;) {
        const size_t slash = name.find('/', start);
        if (slash == std::string::npos)
            return;
        path = root + "/" + name.substr(0, slash);
        if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "make-tree: %s: %s\n", path.c_str(), std::strerror(errno));
            std::exit(1);
        }
        start = slash + 1;
    }
}

void writeFile(const std::string& root, const std::string& name, const std::string& bytes, time_t time)
{
    makeFolders(root, name);
    const std::string path = root + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "make-tree: %s: %s\n", path.c_str(), std::strerror(errno));
        std::exit(1);
    }
    const utimbuf times = {time, time};
    utime(path.c_str(), &times);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-tree SEED FOLDER\n");
        return 2;
    }
    Random random(std::strtoull(argv[1], nullptr, 10));
    const std::string root = argv[2];
    if (mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "make-tree: %s: %s\n", root.c_str(), std::strerror(errno));
        return 1;
    }
    const std::vector<std::string> vocabulary = makeVocabulary(random, 3000);
    const time_t base = 1700000000; // file times in late 2023, a second apart per file
    int files = 0;
    uint64_t bytes = 0;
    std::string content;
    auto text = [&](const std::string& name, uint32_t low, uint32_t high, bool header) {
        sourceText(random, vocabulary, random.skewed(low, high), header, content);
        writeFile(root, name, content, base + files++);
        bytes += content.size();
    };
    auto binary = [&](const std::string& name, uint32_t low, uint32_t high) {
        binaryBytes(random, random.skewed(low, high), content);
        writeFile(root, name, content, base + files++);
        bytes += content.size();
    };

    // The programs: the compiler wrapper, the Coverage Browser and their libraries.
    binary("bin/trqc.exe", 600000, 900000);
    binary("bin/coverageBrowser.exe", 3000000, 5000000);
    for (int i = 0; i < 8; ++i)
        binary("bin/trq" + vocabulary[i] + std::to_string(i) + ".dll", 1000000, 3500000);
    // Help: a help file and its pages.
    binary("help/trelliq.hlp", 2000000, 3000000);
    for (int i = 0; i < 60; ++i)
        text("help/page" + std::to_string(i) + ".html", 8000, 60000, false);
    // Run-time libraries.
    for (int i = 0; i < 24; ++i)
        binary("lib/trq" + vocabulary[20 + i] + std::to_string(i) + ".lib", 150000, 1300000);
    // Headers.
    for (int i = 0; i < 480; ++i)
        text("include/" + vocabulary[100 + i] + std::to_string(i) + ".h", 2000, 60000, true);
    // Sources of the run-time, many small ones.
    for (int i = 0; i < 1100; ++i)
        text("src/" + vocabulary[600 + i % 900] + std::to_string(i) + (i % 3 ? ".c" : ".cpp"), 1000, 44000, false);
    // Samples.
    for (int i = 0; i < 150; ++i)
        text("sample/text/" + vocabulary[1500 + i] + std::to_string(i) + ".c", 500, 8000, false);
    for (int i = 0; i < 150; ++i)
        text("sample/win/" + vocabulary[1700 + i] + std::to_string(i) + (i % 5 ? ".c" : ".rc"), 500, 8000, false);
    // BoundsChecker files.
    for (int i = 0; i < 6; ++i)
        binary("numega/trqbc" + std::to_string(i) + ".dll", 100000, 600000);
    for (int i = 0; i < 6; ++i)
        text("numega/readme" + std::to_string(i) + ".txt", 1000, 6000, false);

    std::printf("%d files, %llu bytes\n", files, static_cast<unsigned long long>(bytes));
    return 0;
}
