// withoutDirectory and withDirectoryFirst: whole entries in any position, every other byte kept.
#include "host/DirectoryList.h"

#include <gtest/gtest.h>

TEST(DirectoryList, EveryEntryOfTheFolderGoesAndNothingElse)
{
    const char* const ours = "C:/Tools/Trelliq/bin";
    const struct {
        const char* list;
        const char* without;
    } cases[] = {
        {"", ""},
        {"C:\\Tools\\Trelliq\\bin", ""},
        {"C:\\Tools\\Trelliq\\bin;", ""},
        {"C:\\Tools\\Trelliq\\bin;C:\\VC\\bin", "C:\\VC\\bin"},
        // Last, without a ';' of its own: the one before it goes with it.
        {"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin", "C:\\VC\\bin"},
        {"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin;", "C:\\VC\\bin;"},
        {"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin;D:\\x", "C:\\VC\\bin;D:\\x"},
        {"C:\\TOOLS\\trelliq\\BIN;a;c:/tools/trelliq/bin;b;C:\\Tools\\Trelliq\\bin", "a;b"},
        {"a;;C:\\Tools\\Trelliq\\bin", "a;"},
        {";;C:\\Tools\\Trelliq\\bin;;", ";;;"},
        // Entries that only begin, end or contain the folder's name stay.
        {"C:\\Tools\\Trelliq\\binary;C:\\Tools\\Trelliq\\bin\\;D:\\C:\\Tools\\Trelliq\\bin;\"C:\\Tools\\Trelliq\\bin\"",
         "C:\\Tools\\Trelliq\\binary;C:\\Tools\\Trelliq\\bin\\;D:\\C:\\Tools\\Trelliq\\bin;\"C:\\Tools\\Trelliq\\bin\""},
        {" C:\\Tools\\Trelliq\\bin ;%SystemRoot%", " C:\\Tools\\Trelliq\\bin ;%SystemRoot%"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(withoutDirectory(c.list, ours).c_str(), c.without) << "list \"" << c.list << "\"";
        EXPECT_STREQ(withDirectoryFirst(c.list, ours).c_str(), (std::string("C:\\Tools\\Trelliq\\bin;") + c.without).c_str())
            << "list \"" << c.list << "\"";
    }
}
