// qvn-kra: the animation compiler's words for every construct, read back through `dump` as the
// game loads them; the refusals of `build` and `dump`.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "media/sound/sound_test_support.h"
#include "platform/d3dx/png_encode.h"
#include "support/temp_program_dir.h"
#include "support/tool_run.h"

namespace sprite_tests {
namespace {

class KraToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::uint32_t pixels[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
        const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(2, 2, pixels, 2);
        dir_.writeFile("sprite/sheet.png", png);
        dir_.writeFile("sprite/\xE3\x82\xB7\xE3\x83\xBC\xE3\x83\x88.png", png);  // シート
        dir_.writeFile("sound/beep.wav",
                       qvn::test::WaveFile(qvn::test::AsBytes(qvn::test::RampSamples(100, 1))));
    }

    std::string Path(const std::string& relative) const { return dir_.path() + "/" + relative; }

    // `qvn-kra ARGUMENTS`, its standard error kept in errors.txt.
    qvn::test::ToolRun Kra(const std::string& arguments) {
        return qvn::test::RunCommand(std::string(QVN_KRA_TOOL) + " " + arguments + " 2>" +
                                     qvn::test::ShellQuote(Path("errors.txt")));
    }
    qvn::test::ToolRun Build(const std::string& source, const std::string& out) {
        dir_.writeFile("sprite/" + source, Source(source));
        return Kra("build " + qvn::test::ShellQuote(Path("sprite/" + source)) + " " +
                   qvn::test::ShellQuote(Path("sprite/" + out)));
    }
    std::string Errors() const { return dir_.readFile("errors.txt"); }
    // Builds sprite/<name>.txt into sprite/<name>.kra and dumps that; the dump's standard output.
    std::string BuildAndDump(const std::string& name) {
        const qvn::test::ToolRun built = Build(name + ".txt", name + ".kra");
        EXPECT_EQ(built.status, 0) << Errors();
        const qvn::test::ToolRun dump =
            Kra("dump " + qvn::test::ShellQuote(Path("sprite/" + name + ".kra")));
        EXPECT_EQ(dump.status, 0) << Errors();
        return dump.out;
    }

    std::string Source(const std::string& name) const { return sources_.at(name); }

    qvn::test::TempProgramDir dir_;
    std::map<std::string, std::string> sources_;
};

TEST_F(KraToolTest, DumpShowsTheCompiledWordsOfEveryConstruct) {
    // Each animation's name, its text as the source writes it (and the dump prints it back),
    // and the words it compiles to.
    const std::string sixtyFour(64, 'x');
    const struct {
        std::string name;
        std::string text;
        const char* code;
    } animations[] = {
        {"frames", "p1,2 3", "FFFD 0001 0002 0003 FF01 FFFF"},
        {"ranges", "p1-4 p-3 p5-3 p2,-2,7-9",
         "FFFD 0001 0002 0003 0004 FF01 FFFD 0001 0002 0003 FF01 FFFD 0005 FF01 FFFD 0002 0007 "
         "0008 0009 FF01 FFFF"},
        {"events", "P1,a,Z,2,b", "FFFD 0001 FF03 0000 FF03 0019 0002 FF03 0001 FF01 FFFF"},
        {"sounds", "p1,(beep),2,(missing),(beep)", "FFFD 0001 FF04 0000 0002 FF04 0001 FF01 FFFF"},
        {"ticks", "s50p1 S7.9 p2 s-3 p3 s99999 p4",
         "FFFE 0032 FFFD 0001 FF01 FFFE 0007 FFFD 0002 FF01 FFFE 0000 FFFD 0003 FF01 FFFE FFFF "
         "FFFD 0004 FF01 FFFF"},
        {"moves", "p1,2 m10,-4 p3 M-7.9,,3.2",
         "FFFD 0001 0002 FF01 FFFC 000A FFFC FFFD 0003 FF01 FFFC FFF9 0003 FFFF"},
        {"m ends a list", "p1,m5 5", "FFFD 0001 FF01 FFFC 0005 0005 FFFF"},
        {"n aborts", "p1,n2", "FFFF"},
        {"spaced s", "s 5 p1", "FFFF"},
        {"frame limit", "p65279 p65280", "FFFF"},
        {"open sound", "p1,(beep", "FFFF"},
        {"long sound", "p1,(" + sixtyFour + ")", "FFFF"},
        {"empty", "", "FFFF"},
        {"\xE5\xBE\x85\xE6\xA9\x9F", "\\tp1\\n", "FFFD 0001 FF01 FFFF"},  // 待機
    };
    const std::string header =
        "magic KRA4\n"
        "textures 2\n"
        "texture 0 mode 0 \"sheet.png\"\n"
        "texture 1 mode 3 \"\xE3\x82\xB7\xE3\x83\xBC\xE3\x83\x88.png\"\n"
        "pointlists 2\n"
        "pointlist 0: 0,0 -1,2\n"
        "pointlist 1:\n"
        "parts 1\n"
        "part 0 texture 1 frame 1 src 1,2 3x4 dst -5,6\n";
    std::string source = "# every construct of the animation language\n" + header;
    std::string expected = header + "animations 14\n";
    std::string codes;
    for (std::size_t i = 0; i < std::size(animations); ++i) {
        const std::string line = "animation " + std::to_string(i) + " \"" + animations[i].name +
                                 "\" text \"" + animations[i].text + "\"\n";
        source += line;
        expected += line;
        codes += "code \"" + animations[i].name + "\": " + animations[i].code + "\n";
    }
    // Count lines are not items of a source: leave them out of it.
    for (const char* count : {"textures 2\n", "pointlists 2\n", "parts 1\n"}) {
        source.erase(source.find(count), std::string(count).size());
    }
    sources_["every.txt"] = source;
    EXPECT_EQ(BuildAndDump("every"), expected + codes);
    // Each aborted text leaves a line saying where and why.
    const std::string errors = Errors();
    for (const char* why : {"\"n aborts\" stops at byte 3: unknown command",
                            "\"spaced s\" stops at byte 2: unknown command",
                            "\"frame limit\" stops at byte 13: frame number 65280 or above",
                            "\"open sound\" stops at byte 8: sound name without \")\"",
                            "\"long sound\" stops at byte 67: sound name over 63 characters"}) {
        EXPECT_NE(errors.find(std::string("animation ") + why), std::string::npos) << why;
    }
}

TEST_F(KraToolTest, ThreeDMovesHoldFloatsAndVersionFiveUsesItsOffsetTable) {
    sources_["three.txt"] =
        "magic KRX5\n"
        "texture 0 mode 2 \"sheet.png\"\n"
        "pointlist 0: 7,-7\n"
        "part 0 texture 0 frame 1 src 0,0 2x2 dst -1,-1\n"
        "animation 0 \"fly\" text \"p1 m1.5,-2, 0.25\"\n";
    EXPECT_EQ(BuildAndDump("three"),
              "magic KRX5\n"
              "textures 1\n"
              "texture 0 mode 2 \"sheet.png\"\n"
              "pointlists 1\n"
              "pointlist 0: 7,-7\n"
              "parts 1\n"
              "part 0 texture 0 frame 1 src 0,0 2x2 dst -1,-1\n"
              "animations 1\n"
              "animation 0 \"fly\" text \"p1 m1.5,-2, 0.25\"\n"
              "code \"fly\": FFFD 0001 FF01 FFFC 0000 3FC0 0000 C000 0000 3E80 FFFF\n");
}

TEST_F(KraToolTest, BuildRefusesWhatTheLoaderWouldWithTheLine) {
    std::string textures = "magic KRA2\n";
    for (int i = 0; i < 33; ++i) {
        textures += "texture " + std::to_string(i) + " mode 0 \"sheet.png\"\n";
    }
    const struct {
        const char* name;
        std::string source;
        const char* error;
    } cases[] = {
        {"unknown magic", "magic KRA1\n",
         ":1: magic \"KRA1\" is none of KRA2 KRA3 KRA4 KRA5 KRX0 KRX3 KRX4 KRX5"},
        {"no magic", "# nothing\n\n", ":3: no magic line"},
        {"33 textures", textures, ":34: more than 32 textures"},
        {"three points in version 3", "magic KRA3\npointlist 0: 1,1 2,2 3,3\n",
         ":2: KRA3 holds at most two points a frame"},
        {"point lists in version 2", "magic KRA2\npointlist 0: 1,1\n",
         ":2: KRA2 has no point lists"},
        {"frames beside point lists", "magic KRA4\nframes 3\n",
         ":2: the frames of KRA4 are its point lists; no frames line"},
        {"a part of no texture",
         "magic KRA2\ntexture 0 mode 0 \"sheet.png\"\npart 0 texture 1 frame 1 src 0,0 1x1 dst "
         "0,0\n",
         ":3: the part names texture 1 of 1"},
        {"too much code",
         "magic KRA2\nanimation 0 \"a\" text \"p1-20000\"\nanimation 1 \"b\" text "
         "\"p1-20000\"\n",
         ":3: the compiled animations pass 65536 bytes"},
        {"index out of order", "magic KRA2\ntexture 1 mode 0 \"sheet.png\"\n",
         ":2: index 1 out of order (expected 0)"},
        {"number out of range", "magic KRA4\npointlist 0: 1,40000\n",
         ":2: \"40000\" is out of range -32768..32767"},
        {"missing image", "magic KRA2\ntexture 0 mode 0 \"nothere.png\"\n",
         ":2: no image \"nothere.png\" beside the source"},
        {"not an image", "magic KRA2\ntexture 0 mode 0 \"every.txt\"\n",
         ":2: \"every.txt\" is not a PNG or JPEG image"},
        {"unknown item", "magic KRA2\nsprite 0\n", ":2: unknown item \"sprite\""},
        {"open quote", "magic KRA2\nanimation 0 \"a\" text \"p1\n",
         ":2: text without its closing quote"},
        {"name too long", "magic KRA2\nanimation 0 \"" + std::string(32, 'a') + "\" text \"\"\n",
         ":2: the animation name is longer than 31 bytes"},
    };
    sources_["every.txt"] = "not an image";
    dir_.writeFile("sprite/every.txt", "not an image");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sources_["bad.txt"] = c.source;
        EXPECT_EQ(Build("bad.txt", "bad.kra").status, 1);
        EXPECT_EQ(Errors(), Path("sprite/bad.txt") + c.error + "\n");
        EXPECT_FALSE(dir_.exists("sprite/bad.kra"));
    }
}

TEST_F(KraToolTest, DumpOfARefusedContainerGivesTheLoaderLine) {
    dir_.writeFile("sprite/bad.kra", std::string("XXXX\0\0\0\0\0\0\0\0", 12));
    const qvn::test::ToolRun dump = Kra("dump " + qvn::test::ShellQuote(Path("sprite/bad.kra")));
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.out, "");
    EXPECT_NE(Errors().find("ISprite::Load: "), std::string::npos) << Errors();
    EXPECT_NE(Errors().find("sprite\\bad.kra: unknown magic 58 58 58 58"), std::string::npos)
        << Errors();
}

}  // namespace
}  // namespace sprite_tests
