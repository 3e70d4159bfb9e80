#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/settings_store_format.h"

namespace {

SettingsStore SampleStore() {
    SettingsStore store;
    SettingsKey& main = store.addKey("Software\\Velkaro\\qvn\\main");
    main.setValue("SafetyQuit", 4, std::string("\x01\x00\x00\x00", 4));
    main.setValue("WindowRect", 3, std::string("\x10\x00\xff", 3));
    // Shift-JIS kept as it is (one pair with trail byte 0x5C), a lone lead byte escaped.
    main.setValue("\x95\x5C", 1, std::string("\x83\x5A\xB1 \x81\0", 6));
    main.setValue("", 7, std::string("a\0\0", 3));
    store.addKey("Software\\Velkaro\\qvn\\voice%\x81");  // escaped in a key path
    return store;
}

TEST(SettingsStoreFormatTest, WritesTheDocumentedForm) {
    const std::string expected =
        "; qvn settings. Written whole by the program; lines it cannot read are skipped.\n"
        "[Software\\Velkaro\\qvn\\main]\n"
        "\"SafetyQuit\"=dword:00000001\n"
        "\"WindowRect\"=hex:10,00,ff\n"
        "\"\x95\x5C\"=sz:\"\x83\x5A\xB1 \\x81\"\n"
        "\"\"=hex(7):61,00,00\n"
        "[Software\\Velkaro\\qvn\\voice%25%81]\n";
    EXPECT_EQ(FormatSettingsText(SampleStore()), expected);
}

TEST(SettingsStoreFormatTest, ReadsBackWhatItWrites) {
    SettingsStore original = SampleStore();
    SettingsParseResult parsed = ParseSettingsText(FormatSettingsText(original));
    EXPECT_EQ(parsed.damagedLines, 0);
    ASSERT_EQ(parsed.store.keys.size(), original.keys.size());
    for (std::size_t k = 0; k < original.keys.size(); ++k) {
        const SettingsKey& a = original.keys[k];
        const SettingsKey& b = parsed.store.keys[k];
        EXPECT_EQ(a.path, b.path);
        ASSERT_EQ(a.values.size(), b.values.size()) << a.path;
        for (std::size_t v = 0; v < a.values.size(); ++v) {
            EXPECT_EQ(a.values[v].name, b.values[v].name);
            EXPECT_EQ(a.values[v].type, b.values[v].type) << a.values[v].name;
            EXPECT_EQ(a.values[v].data, b.values[v].data) << a.values[v].name;
        }
    }
}

TEST(SettingsStoreFormatTest, DamagedAndOddLines) {
    struct Case {
        const char* name;
        std::string text;
        int damaged;
        std::size_t values;  // values of key "k" after parsing
    };
    const std::vector<Case> cases = {
        {"crlf endings", "[k]\r\n\"a\"=dword:00000001\r\n", 0, 1},
        {"value before any key", "\"a\"=dword:00000001\n[k]\n", 1, 0},
        {"values under a damaged key", "[k\n\"a\"=dword:00000001\n", 1, 0},
        {"bad escape in a key", "[k%zz]\n\"a\"=dword:00000001\n", 1, 0},
        {"escaped key", "[%6b]\n\"a\"=dword:00000001\n", 0, 1},
        {"duplicate keys merge", "[k]\n\"a\"=hex:01\n[K]\n\"b\"=hex:02\n", 0, 2},
        {"duplicate values replace", "[k]\n\"a\"=hex:01\n\"A\"=hex:02\n", 0, 1},
        {"short dword", "[k]\n\"a\"=dword:0001\n", 1, 0},
        {"bad hex digit", "[k]\n\"a\"=hex:0g\n", 1, 0},
        {"trailing comma", "[k]\n\"a\"=hex:01,\n", 1, 0},
        {"unterminated name", "[k]\n\"a=hex:01\n", 1, 0},
        {"unknown escape", "[k]\n\"a\\q\"=hex:01\n", 1, 0},
        {"cut escape", "[k]\n\"a\"=sz:\"x\\x4\"\n", 1, 0},
        {"text after string", "[k]\n\"a\"=sz:\"x\"y\n", 1, 0},
        {"huge type number", "[k]\n\"a\"=hex(123456789):01\n", 1, 0},
        {"empty hex", "[k]\n\"a\"=hex:\n", 0, 1},
        {"no final newline", "[k]\n\"a\"=hex(4):01,02,03,04", 0, 1},
        {"lead byte at line end", "[k]\n\"a\x82", 1, 0},
    };
    for (const Case& c : cases) {
        SettingsParseResult parsed = ParseSettingsText(c.text);
        EXPECT_EQ(parsed.damagedLines, c.damaged) << c.name;
        const SettingsKey* key = parsed.store.findKey("k");
        EXPECT_EQ(key != nullptr ? key->values.size() : 0u, c.values) << c.name;
    }
    SettingsParseResult replaced = ParseSettingsText("[k]\n\"a\"=hex:01\n\"A\"=hex:02\n");
    ASSERT_NE(replaced.store.findKey("K"), nullptr);
    EXPECT_EQ(replaced.store.findKey("K")->values[0].name, "a");
    EXPECT_EQ(replaced.store.findKey("K")->values[0].data, "\x02");
}

}  // namespace
