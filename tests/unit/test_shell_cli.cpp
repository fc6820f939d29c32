// Command-line options, key scripts and the headless runner that plays them.
#include "shell_fixture.h"

#include "shell/cli.h"
#include "shell/headless.h"
#include "shell/script.h"

#include <vector>

static bool Parse(std::vector<const char *> args, CommandLine *cl, std::string *error) {
    args.insert(args.begin(), "kav");
    return ParseCommandLine((int)args.size(), args.data(), cl, error);
}

TEST(CommandLineOptions, GoodOptionsAreReadAndBadOnesSayWhatWasWrong) {
    CommandLine cl;
    std::string error;
    // The options the end-to-end runs use are checked there; these forms only here.
    ASSERT_TRUE(Parse({}, &cl, &error));   // no options: ask the question, pace at 60
    EXPECT_EQ(cl.startAnswer, -1);
    EXPECT_EQ(cl.fps, 60);
    ASSERT_TRUE(Parse({"--fps=144"}, &cl, &error)) << error;
    EXPECT_EQ(cl.fps, 144);
    ASSERT_TRUE(Parse({"--headless", "--input=keys.txt"}, &cl, &error)) << error;
    EXPECT_EQ(cl.inputPath, "keys.txt");
    ASSERT_TRUE(Parse({"--check"}, &cl, &error)) << error;   // the folder is optional
    EXPECT_TRUE(cl.check);
    EXPECT_EQ(cl.checkDir, "");
    ASSERT_TRUE(Parse({"--check", "data/kav"}, &cl, &error)) << error;
    EXPECT_EQ(cl.checkDir, "data/kav");
    ASSERT_TRUE(Parse({"--config=my.cfg", "--fps", "60", "--volume", "5", "--print-config"}, &cl, &error)) << error;
    EXPECT_TRUE(cl.printConfig && cl.fpsGiven && cl.volumeGiven);
    EXPECT_EQ(cl.configPath, "my.cfg");

    const struct { std::vector<const char *> args; const char *mention; } bad[] = {
        {{"--bogus"}, "--bogus"},
        {{"windowed"}, "windowed"},
        {{"--fps"}, "--fps"},
        {{"--fps", "abc"}, "abc"},
        {{"--fps", "-1"}, "-1"},
        {{"--fps", "1001"}, "1001"},
        {{"--headless", "--frames", "99999999999999999999"}, "99999999999999999999"},
        {{"--headless", "--frames", "50000001"}, "0 to 50000000 steps"},   // no run takes days
        // One file for two purposes: refused, however it is spelt.
        {{"--headless", "--playdemo", "my.dem", "--dump", "./my.dem"}, "--playdemo and --dump name the same file"},
        {{"--timedemo", "my.dem", "--dump", "my.dem"}, "--timedemo and --dump"},
        {{"--record", "x", "--dump", "x"}, "--record and --dump name the same file, x: one would write"},
        {{"--record", "d/../x", "--screenshot", "x", "--frames", "1"}, "--record and --screenshot"},
        {{"--windowed", "--dump", "x.png", "--screenshot", "x.png", "--frames", "1"}, "--screenshot and --dump"},
        {{"--headless", "--input", "world.log"}, "--input and the game's log"},
        {{"--headless", "--audio-out", "x", "--dump", "x"}, "--audio-out and --dump"},
        {{"--input", "k.txt"}, "--headless"},
        {{"--record", "a.dem", "--playdemo", "b.dem"}, "--record and --playdemo"},
        {{"--headless", "--input", "k.txt", "--playdemo", "b.dem"}, "--input and --playdemo"},
        {{"--headless", "--timedemo", "d.dem"}, "--timedemo"},
        {{"--headless", "--record", "d.dem"}, "--record"},
        {{"--timedemo", "d.dem", "--fps", "30"}, "--fps"},
        {{"--screenshot", "s.png"}, "--frames"},
        {{"--playdemo="}, "--playdemo"},
        {{"--headless", "--windowed"}, "--windowed"},
        {{"--headless", "--fps", "30"}, "--fps"},
        {{"--windowed", "--fullscreen"}, "--fullscreen"},
        {{"--windowed=yes"}, "--windowed"},
        {{"--dump", ""}, "--dump"},
        {{"--check", "--headless"}, "--check"},
        {{"--check="}, "--check"},
        {{"--data="}, "--data"},
        {{"--config", ""}, "--config"},
        {{"--headless", "--config", "k.cfg"}, "--config"},
        {{"--print-config", "--frames", "3"}, "--frames"},
        {{"--volume", "101"}, "101"},
        {{"--nosound", "--audio-out", "a.wav"}, "--nosound and --audio-out"},
        {{"--timedemo", "d.dem", "--audio-out", "a.wav"}, "--audio-out"},
    };
    for (const auto &b : bad) {
        EXPECT_FALSE(Parse(b.args, &cl, &error)) << b.mention;
        EXPECT_NE(error.find(b.mention), std::string::npos) << error;
    }
}

// The set of keys of a script line, from their names.
static uint64_t Keys(std::vector<const char *> names) {
    uint64_t keys = 0;
    for (const char *n : names) keys |= UINT64_C(1) << ScriptKeyFromName(n);
    return keys;
}

TEST(KeyScript, LinesGiveRunsOfHeldKeysAndMalformedLinesNameTheFileAndLine) {
    std::vector<InputRun> runs;
    std::string error;
    const std::string text = "# walk right, then jump while firing\n\n30 RIGHT\r\n  5\tup  space  \n"
                             "   # indented note\n0 LEFT\n1 space UP\n2 PAGEUP PAGEDOWN F1 ESCAPE DOWN a z 0 9";
    ASSERT_TRUE(ParseKeyScript(text, "keys.txt", &runs, &error)) << error;
    ASSERT_EQ(runs.size(), 3u);   // the line of 0 steps holds nothing
    EXPECT_EQ(runs[0].keys, Keys({"RIGHT"}));
    EXPECT_EQ(runs[1].keys, Keys({"UP", "SPACE"}));
    EXPECT_EQ(runs[2].keys, Keys({"PAGEUP", "PAGEDOWN", "F1", "ESCAPE", "DOWN", "A", "Z", "0", "9"}));
    EXPECT_EQ(runs[1].count, 6);   // a line with the keys of the one before adds to it
    EXPECT_EQ(KeyScriptLength(runs), 38);
    HoldScriptKeys(runs[2].keys);
    EXPECT_TRUE(KeyState[VK_PRIOR_] && KeyState[VK_F1_] && KeyState[int('Z')] && KeyState[int('9')] && !KeyState[int('Y')]);
    EXPECT_EQ(HeldScriptKeys(), runs[2].keys);

    const struct { std::string text; const char *where, *says; } bad[] = {
        {"10 LEFT\nLEFT 10\n", "k.txt:2:", "not 'LEFT'"},
        {"-3 LEFT\n", "k.txt:1:", "'-3'"},
        {"# ok\n\n5 JUMP\n", "k.txt:3:", "'JUMP'"},
        {"5 LEFT\n3x RIGHT\n", "k.txt:2:", "'3x'"},
        {"1 F2\n", "k.txt:1:", "'F2'"},
        {"2 LEFT,RIGHT\n", "k.txt:1:", "'LEFT,RIGHT'"},
        {"99999999999999999999 UP\n", "k.txt:1:", "99999"},
        // Counts no recording reaches are refused before anything runs: each line, and the sum.
        {"1 UP\n2147483648\n", "k.txt:2:", "2147483648 steps in one line, more than a script or demo may hold"},
        {"30000000 UP\n\n20000000 LEFT\n1\n", "k.txt:4:", "add up to more steps than a script or demo may hold"},
        // Control characters never reach the terminal raw (the limits and an escape sequence
        // are tried on the real program).
        {std::string("1 L\0EFT\n", 8), "k.txt:1:", "'L\\x00EFT'"},
    };
    for (const auto &b : bad) {
        EXPECT_FALSE(ParseKeyScript(b.text, "k.txt", &runs, &error)) << b.text;
        EXPECT_EQ(error.rfind(b.where, 0), 0u) << error;
        EXPECT_NE(error.find(b.says), std::string::npos) << error;
    }
    EXPECT_FALSE(ReadKeyScript("/nonexistent/keys.txt", &runs, &error));
    EXPECT_NE(error.find("/nonexistent/keys.txt"), std::string::npos);
    EXPECT_FALSE(ReadKeyScript("/", &runs, &error));
}

class HeadlessTest : public ShellTest {
protected:
    static int64_t Run(const char *script, int64_t frames = -1) {
        std::vector<InputRun> runs;
        std::string error;
        EXPECT_TRUE(ParseKeyScript(script, "test", &runs, &error)) << error;
        viewScale = 3.125f;
        return RunHeadlessSteps(runs, frames);
    }
};

// Keys held line by line, presses across lines, runs cut short or run on past the script and
// the unbounded zoom are fixed by the golden dumps and the walkthrough's checks; these are not.
TEST_F(HeadlessTest, EscapeEndsTheRunBeforeItsStepAndAnEmptyScriptRunsNone) {
    EXPECT_EQ(Run("2 PAGEUP\n1 ESCAPE PAGEUP\n5 PAGEUP\n"), 2);
    EXPECT_NEAR(viewScale, 3.525f, 1e-5f);   // the scale shows the steps that ran
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(viewScale, 3.125f);
}
