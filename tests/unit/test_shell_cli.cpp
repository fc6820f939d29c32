// Command-line options, key scripts and the headless runner that plays them.
#include "shell_fixture.h"

#include "shell/cli.h"
#include "shell/headless.h"

#include <vector>

static bool Parse(std::vector<const char *> args, CommandLine *cl, std::string *error) {
    args.insert(args.begin(), "kav");
    return ParseCommandLine((int)args.size(), args.data(), cl, error);
}

TEST(CommandLineOptions, NoArgumentsAskTheQuestionAndPaceAtSixty) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({}, &cl, &error));
    EXPECT_EQ(cl.startAnswer, -1);
    EXPECT_EQ(cl.fps, 60);
    EXPECT_FALSE(cl.headless);
    EXPECT_FALSE(cl.help);
    EXPECT_TRUE(cl.dumpPath.empty());
}

TEST(CommandLineOptions, GoodOptionsAreRead) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--windowed", "--fps", "0"}, &cl, &error)) << error;
    EXPECT_EQ(cl.startAnswer, 0);
    EXPECT_EQ(cl.fps, 0);
    ASSERT_TRUE(Parse({"--fullscreen", "--fps=144", "--dump", "w.json"}, &cl, &error)) << error;
    EXPECT_EQ(cl.startAnswer, 1);
    EXPECT_EQ(cl.fps, 144);
    EXPECT_EQ(cl.dumpPath, "w.json");
    ASSERT_TRUE(Parse({"--headless", "--frames", "250", "--input=keys.txt", "--dump", "out.json"}, &cl, &error));
    EXPECT_TRUE(cl.headless);
    EXPECT_EQ(cl.frames, 250);
    EXPECT_EQ(cl.inputPath, "keys.txt");
    ASSERT_TRUE(Parse({"--help"}, &cl, &error));
    EXPECT_TRUE(cl.help);
}

TEST(CommandLineOptions, BadOptionsSayWhatWasWrong) {
    const struct { std::vector<const char *> args; const char *mention; } bad[] = {
        {{"--bogus"}, "--bogus"},
        {{"windowed"}, "windowed"},
        {{"--fps"}, "--fps"},
        {{"--fps", "abc"}, "abc"},
        {{"--fps", "-1"}, "-1"},
        {{"--fps", "1001"}, "1001"},
        {{"--fps", "6 0"}, "6 0"},
        {{"--headless", "--frames", "-5"}, "-5"},
        {{"--headless", "--frames", "99999999999999999999"}, "99999999999999999999"},
        {{"--headless", "--frames"}, "--frames"},
        {{"--frames", "10"}, "--headless"},
        {{"--input", "k.txt"}, "--headless"},
        {{"--headless", "--windowed"}, "--windowed"},
        {{"--headless", "--fps", "30"}, "--fps"},
        {{"--windowed", "--fullscreen"}, "--fullscreen"},
        {{"--windowed=yes"}, "--windowed"},
        {{"--dump", ""}, "--dump"},
    };
    for (const auto &b : bad) {
        CommandLine cl;
        std::string error;
        EXPECT_FALSE(Parse(b.args, &cl, &error)) << b.mention;
        EXPECT_NE(error.find(b.mention), std::string::npos) << error;
    }
}

TEST(KeyScript, LinesGiveRunsOfHeldKeys) {
    std::vector<InputRun> runs;
    std::string error;
    const std::string text =
        "# walk right, then jump while firing\n"
        "\n"
        "30 RIGHT\r\n"
        "  5\tup  space  \n"
        "   # indented note\n"
        "0 LEFT\n"
        "2 PAGEUP PAGEDOWN F1 ESCAPE DOWN a z 0 9";
    ASSERT_TRUE(ParseKeyScript(text, "keys.txt", &runs, &error)) << error;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].count, 30);
    EXPECT_EQ(runs[0].keys, std::vector<uint8_t>{VK_RIGHT_});
    EXPECT_EQ(runs[1].count, 5);
    EXPECT_EQ(runs[1].keys, (std::vector<uint8_t>{VK_UP_, VK_SPACE_}));
    EXPECT_EQ(runs[2].count, 0);
    EXPECT_EQ(runs[3].keys, (std::vector<uint8_t>{VK_PRIOR_, VK_NEXT_, VK_F1_, VK_ESCAPE_, VK_DOWN_, 'A', 'Z',
                                                  '0', '9'}));
    EXPECT_EQ(KeyScriptLength(runs), 37);
}

TEST(KeyScript, MalformedLinesNameTheFileAndLine) {
    const struct { const char *text; const char *where; } bad[] = {
        {"10 LEFT\nLEFT 10\n", "k.txt:2:"},
        {"-3 LEFT\n", "k.txt:1:"},
        {"# ok\n\n5 JUMP\n", "k.txt:3:"},
        {"5 LEFT\n3x RIGHT\n", "k.txt:2:"},
        {"1 F2\n", "k.txt:1:"},
        {"99999999999999999999 UP\n", "k.txt:1:"},
        {"2 LEFT,RIGHT\n", "k.txt:1:"},
    };
    for (const auto &b : bad) {
        std::vector<InputRun> runs;
        std::string error;
        EXPECT_FALSE(ParseKeyScript(b.text, "k.txt", &runs, &error)) << b.text;
        EXPECT_EQ(error.rfind(b.where, 0), 0u) << error;
    }
    std::vector<InputRun> runs;
    std::string error;
    EXPECT_FALSE(ReadKeyScript("/nonexistent/keys.txt", &runs, &error));
    EXPECT_NE(error.find("/nonexistent/keys.txt"), std::string::npos);
    EXPECT_FALSE(ReadKeyScript("/", &runs, &error));
}

class HeadlessTest : public ShellTest {
protected:
    static std::vector<InputRun> Script(const char *text) {
        std::vector<InputRun> runs;
        std::string error;
        EXPECT_TRUE(ParseKeyScript(text, "test", &runs, &error)) << error;
        return runs;
    }
};

TEST_F(HeadlessTest, EachStepHoldsTheKeysOfItsLine) {
    // Zoom in for 2 steps, rest 1, zoom out for 3: the scale shows which keys each step held.
    EXPECT_EQ(RunHeadlessSteps(Script("2 PAGEUP\n1\n3 PAGEDOWN\n"), -1), 6);
    EXPECT_NEAR(viewScale, 3.125f - 0.2f, 1e-5f);
}

TEST_F(HeadlessTest, FramesCutTheScriptShortOrRunOnWithNoKeys) {
    EXPECT_EQ(RunHeadlessSteps(Script("5 PAGEUP\n"), 2), 2);
    EXPECT_NEAR(viewScale, 3.525f, 1e-5f);
    viewScale = 3.125f;
    EXPECT_EQ(RunHeadlessSteps(Script("1 PAGEUP\n"), 10), 10);
    EXPECT_NEAR(viewScale, 3.325f, 1e-5f);
    EXPECT_FALSE(KeyState[VK_PRIOR_]);
    EXPECT_EQ(RunHeadlessSteps({}, -1), 0);
}

TEST_F(HeadlessTest, EscapeEndsTheRunBeforeItsStep) {
    EXPECT_EQ(RunHeadlessSteps(Script("2 PAGEUP\n1 ESCAPE PAGEUP\n5 PAGEUP\n"), -1), 2);
    EXPECT_NEAR(viewScale, 3.525f, 1e-5f);
}

TEST_F(HeadlessTest, AKeyHeldAcrossLinesIsOnePressAndARestBetweenMakesTwo) {
    RunHeadlessSteps(Script("3 I\n0\n2 I PAGEUP\n"), -1);
    EXPECT_TRUE(showInfo);
    RunHeadlessSteps(Script("3 B\n1\n2 B\n"), -1);
    EXPECT_FALSE(showTiles);
}
