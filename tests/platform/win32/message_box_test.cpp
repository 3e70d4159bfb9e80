// Message boxes under test: scripted answers, and the default button when none is scripted.

#include <string>
#include <vector>

#include "platform/win32/message_box.h"
#include "shell_window_test_support.h"

namespace {

// "本当に終了してもよろしいですか？" and "確認" in Shift-JIS.
const std::string kCloseQuestion =
    "\x96\x7B\x93\x96\x82\xC9\x8F\x49\x97\xB9\x82\xB5\x82\xC4\x82\xE0\x82\xE6\x82\xEB\x82\xB5"
    "\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
const std::string kConfirm = "\x8A\x6D\x94\x46";
// The close question's style as the game passes it: Yes/No, No as the default button.
constexpr UINT kQuestionStyle = 0x144;

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32_test::UseScriptedMessageBoxes(true);
        win32_test::TakeShownMessageBoxes();
    }
    void TearDown() override {
        win32_test::TakeShownMessageBoxes();
        win32_test::UseScriptedMessageBoxes(false);
    }
};

TEST_F(MessageBoxTest, ScriptedAnswersAreUsedInOrder) {
    EXPECT_EQ(kQuestionStyle & (MB_TYPEMASK | MB_DEFMASK), MB_YESNO | MB_DEFBUTTON2);
    win32_test::QueueMessageBoxAnswer(IDYES);
    win32_test::QueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, kCloseQuestion.c_str(), kConfirm.c_str(), kQuestionStyle),
              IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, kCloseQuestion.c_str(), kConfirm.c_str(), kQuestionStyle), IDNO);

    std::vector<win32_test::ShownMessageBox> shown = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, kCloseQuestion) << "the Shift-JIS text is kept as passed";
    EXPECT_EQ(shown[0].caption, kConfirm);
    EXPECT_EQ(shown[0].style, kQuestionStyle);
    EXPECT_EQ(shown[0].answer, IDYES);
    EXPECT_TRUE(shown[0].answeredByScript);
    EXPECT_EQ(shown[1].answer, IDNO);
}

TEST_F(MessageBoxTest, WithoutAScriptedAnswerTheDefaultButtonAnswers) {
    struct Case {
        const char* name;
        UINT style;
        int want;
    };
    const Case cases[] = {
        {"yes/no, No as default", kQuestionStyle, IDNO},
        {"yes/no, first default", MB_YESNO | MB_ICONQUESTION, IDYES},
        {"ok (the Direct3D error box)", MB_OK, IDOK},
        {"ok/cancel, second", MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {"yes/no/cancel, third", MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {"abort/retry/ignore, second", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {"default beyond the row falls back to the first", MB_OK | MB_DEFBUTTON3, IDOK},
        {"unknown button set shows OK", 0x0000000Eu, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.style), c.want);
    }
    std::vector<win32_test::ShownMessageBox> shown = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), std::size(cases));
    EXPECT_FALSE(shown[0].answeredByScript);
}

TEST_F(MessageBoxTest, AnswersThatAreNotButtonsAndBadTextAreSurvived) {
    win32_test::QueueMessageBoxAnswer(IDCANCEL);  // not a button of a yes/no box
    EXPECT_EQ(MessageBoxA(nullptr, "\x82", nullptr, kQuestionStyle), IDNO);
    // Without a display (the tests' video driver) the real box is never tried: no wait.
    win32_test::UseScriptedMessageBoxes(false);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, "\xFF\xFF", MB_OKCANCEL), IDOK);
    std::vector<win32_test::ShownMessageBox> shown = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].answeredByScript);
    EXPECT_EQ(shown[1].text, "");
}

TEST_F(MessageBoxTest, OnlyTheLatestBoxesAreKept) {
    for (int i = 0; i < 300; ++i) {
        MessageBoxA(nullptr, std::to_string(i).c_str(), "c", MB_OK);
    }
    std::vector<win32_test::ShownMessageBox> shown = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), 256u);
    EXPECT_EQ(shown.front().text, "44");
    EXPECT_EQ(shown.back().text, "299");
}

}  // namespace
