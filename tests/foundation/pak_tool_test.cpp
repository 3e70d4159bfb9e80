#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation_fixture.h"
#include "pack_fixture.h"
#include "support/tool_run.h"

namespace foundation_testing {
namespace {

using ToolResult = qvn::test::ToolRun;

// Runs qvn-pak with `arguments` (already quoted for the shell); standard error is kept in
// `errFile`.
ToolResult RunTool(const std::string& arguments, const std::string& errFile) {
    return qvn::test::RunCommand(std::string(QVN_PAK_TOOL) + " " + arguments + " 2>" + errFile);
}

std::string Quote(const std::string& text) {
    return qvn::test::ShellQuote(text);
}

class PakToolTest : public FoundationTest {
protected:
    std::string Path(const std::string& relative) const { return dir_->path() + "/" + relative; }
};

TEST_F(PakToolTest, CreateListAndCatRoundTrip) {
    // A source folder with UTF-8 names (背景/ソ表.png), mixed case and nesting.
    dir_->writeFile("src/Script/Start.scr", "start script");
    dir_->writeFile("src/script2/sub/deep.txt", "deep");
    dir_->writeFile("src/\xE8\x83\x8C\xE6\x99\xAF/\xE3\x82\xBD\xE8\xA1\xA8.png", "sjis");
    const std::string errors = Path("errors.txt");

    ToolResult created =
        RunTool("create " + Quote(Path("game/game00.dat")) + " " + Quote(Path("src")), errors);
    ASSERT_EQ(created.status, 1) << "the archive's folder does not exist yet";
    dir_->writeFile("game/plain.txt", "plain bytes");
    created =
        RunTool("create " + Quote(Path("game/game00.dat")) + " " + Quote(Path("src")), errors);
    ASSERT_EQ(created.status, 0) << dir_->readFile("errors.txt");

    const ToolResult listed = RunTool("list " + Quote(Path("game/game00.dat")), errors);
    ASSERT_EQ(listed.status, 0) << dir_->readFile("errors.txt");
    EXPECT_EQ(listed.out,
              "12\tScript\\Start.scr\n"
              "4\tscript2\\sub\\deep.txt\n"
              "4\t\xE8\x83\x8C\xE6\x99\xAF\\\xE3\x82\xBD\xE8\xA1\xA8.png\n");

    const struct {
        std::string path;
        std::string bytes;
    } cases[] = {
        {"SCRIPT\\start.SCR", "start script"},    {"script2\\SUB\\Deep.txt", "deep"},
        {kSjisFolder + "\\" + kSjisFile, "sjis"}, {"PLAIN.txt", "plain bytes"},
        {"script/start.scr", "start script"},     {"Script2/sub\\DEEP.txt", "deep"},
        {kSjisFolder + "/" + kSjisFile, "sjis"},
    };
    for (const auto& c : cases) {
        const ToolResult cat = RunTool("cat " + Quote(Path("game")) + " " + Quote(c.path), errors);
        EXPECT_EQ(cat.status, 0) << c.path;
        EXPECT_EQ(cat.out, c.bytes) << c.path;
    }
    EXPECT_FALSE(dir_->exists("game/qvn.log")) << "the tool leaves no log behind";

    const ToolResult missing = RunTool("cat " + Quote(Path("game")) + " nothing.txt", errors);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(dir_->readFile("errors.txt"),
              "load error. code:00000002(2) " + dir_->windowsPath() + "game\\nothing.txt\r\n");
}

TEST_F(PakToolTest, CatAndListRefuseAProgramFolderThatIsNone) {
    const std::string errors = Path("errors.txt");
    dir_->writeFile("plain.txt", "plain bytes");
    const struct {
        const char* name;
        std::string arguments;
        std::string folder;
    } cases[] = {
        {"CatMissingFolder", "cat " + Quote(Path("none")) + " plain.txt", Path("none")},
        {"CatFileAsFolder", "cat " + Quote(Path("plain.txt")) + " plain.txt", Path("plain.txt")},
        {"ListInMissingFolder", "list " + Quote(Path("none/game00.dat")), Path("none")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult result = RunTool(c.arguments, errors);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(dir_->readFile("errors.txt"), "qvn-pak: no such folder: " + c.folder + "\n");
    }
}

TEST_F(PakToolTest, CreateRefusesNamesWithoutShiftJisForm) {
    dir_->writeFile("src/ok.txt", "ok");
    dir_->writeFile("src/emoji\xF0\x9F\x98\x80.txt", "no");
    const std::string errors = Path("errors.txt");
    const ToolResult created =
        RunTool("create " + Quote(Path("out.dat")) + " " + Quote(Path("src")), errors);
    EXPECT_EQ(created.status, 1);
    EXPECT_NE(dir_->readFile("errors.txt").find("has no Shift-JIS form"), std::string::npos);
    EXPECT_FALSE(dir_->exists("out.dat"));
}

}  // namespace
}  // namespace foundation_testing
