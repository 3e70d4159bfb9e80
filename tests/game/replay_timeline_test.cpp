// The timeline's text form: what each line becomes, and the message of each line it refuses.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/replay/replay_timeline.h"

namespace {

// One event as "TICK KIND A B [NAME]".
std::string Describe(const ReplayEvent& event) {
    static const char* const kKinds[] = {
        "key", "move",  "activate", "close",   "command", "lose", "restore", "button",     "wheel",
        "pad", "stick", "answer",   "capture", "vars",    "end",  "dialog",  "dialog-text"};
    std::string text = std::to_string(event.tick) + " " + kKinds[static_cast<int>(event.kind)] +
                       " " + std::to_string(event.a) + " " + std::to_string(event.b);
    return event.name.empty() ? text : text + " " + event.name;
}

std::vector<std::string> Parse(const std::string& text, std::string* error) {
    std::vector<ReplayEvent> events{ReplayEvent{99, ReplayEvent::Kind::End}};
    std::vector<std::string> described;
    const bool parsed = ParseTimeline(text, &events, error);
    for (const ReplayEvent& event : events) {
        described.push_back(Describe(event));
    }
    if (!parsed) {
        EXPECT_TRUE(events.empty()) << text;
    }
    return described;
}

TEST(ReplayTimelineTest, LinesBecomeEventsInTickOrder) {
    const std::string text =
        "# keys by name (any case), by number and in hexadecimal\r\n"
        "1 key RETURN down\r\n"
        "1 key return up   # a comment after the event\n"
        "\n"
        "  2\tkey 0x70 down\n"
        "2 key 13 up\n"
        "3 key a down\n"
        "3 key 7 up\n"
        "3 key F24 down\n"
        "3 key NUMPAD9 up\n"
        "3 key RCONTROL down\n"
        "4 click 799 599\n"
        "5 move 0 0\n"  // after the click's release at 5
        "6 click 10 20 right\n"
        "6 lose-device\n"
        "6 wheel -3\n"
        "7 pad 15 down\n"
        "7 stick -100 45\n"
        "8 command 40012\n"
        "8 answer yes\n"
        "8 answer no\n"
        "8 answer ok\n"
        "8 answer cancel\n"
        "9 activate 0\n"
        "9 close\n"
        "9 capture title.screen-1_A\n"
        "9 vars\n"
        "9 dialog 1264\n"
        "9 dialog-text 1201 \xE8\xBB\xBD  two words\n"
        "100000000 end";
    std::string error;
    const std::vector<std::string> expected = {"1 key 13 1",
                                               "1 key 13 0",
                                               "2 key 112 1",
                                               "2 key 13 0",
                                               "3 key 65 1",
                                               "3 key 7 0",
                                               "3 key 135 1",
                                               "3 key 105 0",
                                               "3 key 163 1",
                                               "4 move 799 599",
                                               "4 button 0 1",
                                               "5 button 0 0",
                                               "5 move 0 0",
                                               "6 move 10 20",
                                               "6 button 1 1",
                                               "6 lose 0 0",
                                               "6 wheel -3 0",
                                               "7 button 1 0",
                                               "7 restore 0 0",
                                               "7 pad 15 1",
                                               "7 stick -100 45",
                                               "8 command 40012 0",
                                               "8 answer 6 0",
                                               "8 answer 7 0",
                                               "8 answer 1 0",
                                               "8 answer 2 0",
                                               "9 activate 0 0",
                                               "9 close 0 0",
                                               "9 capture 0 0 title.screen-1_A",
                                               "9 vars 0 0",
                                               "9 dialog 1264 0",
                                               "9 dialog-text 1201 0 \xE8\xBB\xBD two words",
                                               "100000000 end 0 0"};
    EXPECT_EQ(Parse(text, &error), expected);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Parse("", &error), std::vector<std::string>{});
    EXPECT_EQ(Parse("# nothing but a comment\n\n", &error), std::vector<std::string>{});
}

TEST(ReplayTimelineTest, LineThatCannotBeReadIsNamedWithItsNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"x key A down", "timeline:1: tick expected, not 'x'"},
        {"+5 vars", "timeline:1: tick expected, not '+5'"},
        {"0 vars", "timeline:1: tick must be 1..100000000, not '0'"},
        {"100000001 vars", "timeline:1: tick must be 1..100000000, not '100000001'"},
        {"99999999999999999999 vars", "timeline:1: tick expected, not '99999999999999999999'"},
        {"5 vars\n# fine\n4 vars", "timeline:3: tick 4 comes after tick 5"},
        {"5", "timeline:1: event expected after the tick"},
        {"\n\n  5 jump", "timeline:3: unknown event 'jump'"},
        {"5 Vars", "timeline:1: unknown event 'Vars'"},
        {"5 close\x01\xff", "timeline:1: unknown event 'close\\x01\\xFF'"},
        {"5 key", "timeline:1: key: virtual key expected"},
        {"5 key RETURN", "timeline:1: key: down or up expected"},
        {"5 key RETURN sideways", "timeline:1: key: down or up expected, not 'sideways'"},
        {"5 key RETURN down now", "timeline:1: key: unexpected 'now'"},
        {"5 key 0 down", "timeline:1: key: virtual key must be 1..254, not '0'"},
        {"5 key 0xFF down", "timeline:1: key: virtual key must be 1..254, not '0xFF'"},
        {"5 key NOSUCH down", "timeline:1: key: unknown key 'NOSUCH'"},
        {"5 key F25 down", "timeline:1: key: unknown key 'F25'"},
        {"5 key F0 down", "timeline:1: key: unknown key 'F0'"},
        {"5 key NUMPAD10 down", "timeline:1: key: unknown key 'NUMPAD10'"},
        {"5 click 800 10", "timeline:1: click: x must be 0..799, not '800'"},
        {"5 click 10 600", "timeline:1: click: y must be 0..599, not '600'"},
        {"5 click -1 0", "timeline:1: click: x must be 0..799, not '-1'"},
        {"5 click 10 10 middle",
         "timeline:1: click: right or the end of the line expected, not 'middle'"},
        {"5 click 10 10 right again", "timeline:1: click: unexpected 'again'"},
        {"5 move 10", "timeline:1: move: y expected"},
        {"5 move 1.5 2", "timeline:1: move: x must be 0..799, not '1.5'"},
        {"5 wheel 0", "timeline:1: wheel: notches must not be 0"},
        {"5 stick 0 101", "timeline:1: stick: y must be -100..100, not '101'"},
        {"5 stick -50", "timeline:1: stick: y expected"},
        {"5 wheel 101", "timeline:1: wheel: notches must be -100..100, not '101'"},
        {"5 pad 16 down", "timeline:1: pad: button must be 0..15, not '16'"},
        {"5 pad 1 pressed", "timeline:1: pad: down or up expected, not 'pressed'"},
        {"5 command 0", "timeline:1: command: id must be 1..65535, not '0'"},
        {"5 command 65536", "timeline:1: command: id must be 1..65535, not '65536'"},
        {"5 answer maybe", "timeline:1: answer: yes, no, ok or cancel expected, not 'maybe'"},
        {"5 answer", "timeline:1: answer: yes, no, ok or cancel expected"},
        {"5 activate 2", "timeline:1: activate: state must be 0..1, not '2'"},
        {"5 close now", "timeline:1: close: unexpected 'now'"},
        {"5 lose-device 3", "timeline:1: lose-device: unexpected '3'"},
        {"5 capture", "timeline:1: capture: name expected"},
        {"5 dialog", "timeline:1: dialog: control id expected"},
        {"5 dialog 65536", "timeline:1: dialog: control id must be 0..65535, not '65536'"},
        {"5 dialog 1 2", "timeline:1: dialog: unexpected '2'"},
        {"5 dialog-text 1201", "timeline:1: dialog-text: text expected"},
        {"5 capture ../x",
         "timeline:1: capture: name '../x' must be at most 64 letters, digits, '_', '-' or '.', "
         "not starting with '.'"},
        {"5 capture .hidden",
         "timeline:1: capture: name '.hidden' must be at most 64 letters, digits, '_', '-' or "
         "'.', not starting with '.'"},
        {"5 capture a\n6 capture a", "timeline:2: capture: 'a' is already taken on line 1"},
        {"5 end\n# a comment may follow\n6 vars",
         "timeline:3: nothing may follow the end on line 1"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(Parse(c.text, &error), std::vector<std::string>{}) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    const std::string longName(65, 'n');
    std::string error;
    Parse("1 capture " + longName, &error);
    EXPECT_EQ(error.rfind("timeline:1: capture: name 'nnnn", 0), 0u) << error;
    EXPECT_NE(error.find("...'"), std::string::npos) << "a long token is cut short: " << error;
}

}  // namespace
