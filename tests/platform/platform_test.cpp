#include "platform/platform.h"

#include <stdexcept>

#include "platform/file_view.h"
#include "platform/replace_file.h"
#include "test_support.h"

TEST(Platform, ReplaceFileTakesThePlaceOnlyWhenWhollyWritten) {
    WorkDir dir;
    WriteFile("target.gk", "old");
    auto write = [](const char* text) { return [text](FILE* out) { return std::fputs(text, out) >= 0; }; };
    EXPECT_EQ(platform::ReplaceFile("target.gk", "new.tmp", write("new")), 0);
    EXPECT_EQ(ReadFile("target.gk"), "new");
    const std::function<bool(FILE*)> failing[] = {[](FILE*) { return false; },
                                                  [](FILE*) -> bool { throw std::runtime_error("full"); }};
    for (const auto& writer : failing) EXPECT_NE(platform::ReplaceFile("target.gk", "new.tmp", writer), 0);
    EXPECT_NE(platform::ReplaceFile("target.gk", "no-dir\\new.tmp", write("lost")), 0);
    EXPECT_EQ(ReadFile("target.gk"), "new");
    EXPECT_FALSE(Exists("new.tmp"));
}

// On Windows a mapping: its bytes must be the file's, and stay when the view is moved.
TEST(Platform, FileViewHoldsTheFilesBytes) {
    WorkDir dir;
    const std::string bytes = std::string("dictionary\0text", 15) + std::string(70000, 'x');
    WriteFile("dict.dz", bytes);
    WriteFile("empty.dz", "");
    platform::FileView view;
    ASSERT_TRUE(view.Open("dict.dz"));
    platform::FileView moved(std::move(view));
    EXPECT_EQ(moved.Bytes(), bytes);
    EXPECT_TRUE(moved.Open("empty.dz"));
    EXPECT_TRUE(moved.Bytes().empty());
    EXPECT_FALSE(moved.Open("missing.dz"));
    // A file open for writing elsewhere is read into memory, not mapped under the writer.
    FILE* writer = platform::OpenFile("dict.dz", "r+b");
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(moved.Open("dict.dz"));
    std::fputc('D', writer);
    std::fflush(writer);
    EXPECT_EQ(moved.Bytes(), bytes);
    std::fclose(writer);
    // And a writer that comes while a view lives cannot change the bytes it shows: it is
    // kept out of a mapped file for the view's life.
    WriteFile("dict.dz", bytes);
    ASSERT_TRUE(moved.Open("dict.dz"));
    platform::FileView kept(std::move(moved));
    if (FILE* late = platform::OpenFile("dict.dz", "r+b")) {
        std::fputc('D', late);
        std::fclose(late);
    }
    EXPECT_TRUE(kept.Bytes() == bytes) << "the bytes changed under the view";
}

TEST(Platform, ProgramPathsWithBackslashes) {
    WorkDir dir;
    EXPECT_EQ(platform::CreateDir("sub"), 0);
    WriteFile("sub/file.bin", "12345");
    EXPECT_FALSE(platform::FileExists("sub"));
    std::vector<platform::DirEntry> entries;
    ASSERT_TRUE(platform::ListDirectory("", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name + (entries[0].isDirectory ? "\\" : ""), "sub\\");
    EXPECT_FALSE(platform::ListDirectory("nowhere\\", entries));
    // Longer than Windows allows: refused, never cut into another path.
    EXPECT_TRUE(platform::MakePath({std::string(200, 'a'), std::string(59, 'b')}).has_value());
    EXPECT_FALSE(platform::MakePath({std::string(200, 'a'), std::string(60, 'b')}).has_value());
    EXPECT_EQ(platform::OpenFile(std::string(260, 'a'), "wb"), nullptr);
    EXPECT_EQ(platform::CreateDir(std::string(260, 'a')), -1);
}
