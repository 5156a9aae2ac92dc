#include "app/shell/Settings.h"

#include "app/shell/DisplayScale.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

std::optional<Settings> parse(QStringList arguments, int& exitCode) {
    arguments.prepend(QStringLiteral("Caltrix"));
    return ParseSettings(arguments, QStringLiteral("/opt/caltrix/bin"), exitCode);
}

TEST(Settings, DefaultsToTheExecutableFolderAndUnitScale) {
    int exitCode = -1;
    const auto settings = parse({}, exitCode);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->programFolder, QStringLiteral("/opt/caltrix/bin"));
    EXPECT_EQ(settings->timeScale, 1.0);
    EXPECT_FALSE(settings->demo);
    EXPECT_FALSE(settings->scale.given);
}

TEST(Settings, HostOptionsBecomeBaseAddresses) {
    EXPECT_EQ(BaseUrlFromOption(QStringLiteral("scores.example")), QUrl(QStringLiteral("http://scores.example")));
    EXPECT_EQ(BaseUrlFromOption(QStringLiteral("127.0.0.1:8080")), QUrl(QStringLiteral("http://127.0.0.1:8080")));
    EXPECT_EQ(BaseUrlFromOption(QStringLiteral("https://op.example/x?y")), QUrl(QStringLiteral("https://op.example")));
    EXPECT_FALSE(BaseUrlFromOption(QStringLiteral("ftp://op.example")).isValid());
    EXPECT_FALSE(BaseUrlFromOption(QString()).isValid());
}

TEST(Settings, OptionsAreReadAndBadValuesRefused) {
    int exitCode = -1;
    const auto settings = parse({"--program-folder", "/srv/caltrix/", "--config-endpoint", "op.example:81",
                                 "--score-site", "scores.example", "--time-scale", "0.01"},
                                exitCode);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->programFolder, QStringLiteral("/srv/caltrix"));
    EXPECT_EQ(settings->configEndpoint, QUrl(QStringLiteral("http://op.example:81")));
    EXPECT_EQ(settings->scoreSite, QUrl(QStringLiteral("http://scores.example")));
    EXPECT_DOUBLE_EQ(settings->timeScale, 0.01);

    for (const QStringList& bad :
         {QStringList{"--time-scale", "0"}, QStringList{"--time-scale", "fast"}, QStringList{"--score-site", "ftp://x"},
          QStringList{"--no-such-option"}, QStringList{"--scale", "0"}, QStringList{"--scale", "big"},
          // 1440 calls a day of API-Football's 100; a zone that does not exist.
          QStringList{"--feed", "api-football", "--feed-token-file", "/dev/null", "--feed-interval", "60"},
          QStringList{"--feed", "json", "--feed-url", "m.json", "--time-zone", "Mars/Olympus"}}) {
        exitCode = -1;
        EXPECT_FALSE(parse(bad, exitCode)) << bad.join(' ').toStdString();
        EXPECT_EQ(exitCode, 2);
    }
}

TEST(Settings, StaleAfterAndGoalHoldDefaultTo180And20AndZeroTurnsThemOff) {
    int exitCode = -1;
    EXPECT_EQ(parse({}, exitCode)->staleAfterSeconds, 180);
    EXPECT_EQ(parse({}, exitCode)->goalHoldSeconds, 20);
    EXPECT_EQ(parse({"--stale-after", "0"}, exitCode)->staleAfterSeconds, 0);
    EXPECT_EQ(parse({"--goal-hold", "0"}, exitCode)->goalHoldSeconds, 0);
    for (const char* option : {"--stale-after=", "--goal-hold="}) {
        for (const char* bad : {"-1", "soon"}) {
            exitCode = -1;
            EXPECT_FALSE(parse({QLatin1String(option) + QLatin1String(bad)}, exitCode)) << option << bad;
            EXPECT_EQ(exitCode, 2);
        }
    }
}

TEST(Settings, ScaleFitsTheScreenOrIsAFixedFactor) {
    int exitCode = -1;
    const auto fit = parse({"--scale", "fit"}, exitCode);
    ASSERT_TRUE(fit);
    EXPECT_TRUE(fit->scale.given && fit->scale.fit);
    const auto fixed = parse({"--scale", "1.5"}, exitCode);
    ASSERT_TRUE(fixed);
    EXPECT_TRUE(fixed->scale.given && !fixed->scale.fit);
    EXPECT_DOUBLE_EQ(fixed->scale.factor, 1.5);

    // Rounded down, so the scaled design never spills over the screen.
    EXPECT_DOUBLE_EQ(FitFactor({1920, 1080}, {1016, 760}), 1.42);
    EXPECT_DOUBLE_EQ(FitFactor({3840, 2160}, {1016, 760}), 2.84);
    EXPECT_DOUBLE_EQ(FitFactor({1280, 1024}, {1016, 760}), 1.25);
    EXPECT_DOUBLE_EQ(FitFactor({1024, 768}, {1016, 760}), 1.0);
}

// Qt draws widgets wrongly below a factor of 1, so the program lays out the
// design smaller itself there.
TEST(Settings, QtScalesFromOneUpAndTheLayoutBelow) {
    char program[] = "Caltrix";
    char* argv[] = {program, nullptr};
    EXPECT_DOUBLE_EQ(PrepareScale({true, false, 1.5}, argv), 1.0);
    EXPECT_EQ(qgetenv("QT_SCALE_FACTOR").toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(PrepareScale({true, false, 0.8}, argv), 0.8);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_SCALE_FACTOR"));
    qputenv("CALTRIX_FIT_MEASURED", "0.94");  // as measured by the first start
    EXPECT_DOUBLE_EQ(PrepareScale({true, true, 1.0}, argv), 0.94);
    qunsetenv("CALTRIX_FIT_MEASURED");
}

TEST(Settings, LowMemoryModeIsChosenOrFollowsTheMachinesMemory) {
    int exitCode = -1;
    EXPECT_EQ(parse({}, exitCode)->memoryMode, MemoryMode::Automatic);
    EXPECT_EQ(parse({"--low-memory"}, exitCode)->memoryMode, MemoryMode::Low);
    EXPECT_EQ(parse({"--no-low-memory"}, exitCode)->memoryMode, MemoryMode::Normal);
    EXPECT_FALSE(parse({"--low-memory", "--no-low-memory"}, exitCode));

    constexpr std::uint64_t gigabyte = 1024ull * 1024 * 1024;
    EXPECT_TRUE(DecideMemoryMode(MemoryMode::Automatic, gigabyte).low);
    EXPECT_FALSE(DecideMemoryMode(MemoryMode::Automatic, 2 * gigabyte).low);
    EXPECT_FALSE(DecideMemoryMode(MemoryMode::Normal, gigabyte).low);
    EXPECT_TRUE(DecideMemoryMode(MemoryMode::Low, 8 * gigabyte).low);
    EXPECT_EQ(DecideMemoryMode(MemoryMode::Automatic, gigabyte).reason,
              QStringLiteral("1.0 GB of memory to use, less than 2 GB"));
}

// The operator's own engine flags stay as given; the program adds the rest.
TEST(Settings, EngineFlagsComposeWithTheUsersOwn) {
    EXPECT_EQ(ComposeEngineFlags("  --no-sandbox  --renderer-process-limit=3 ",
                                 {"--renderer-process-limit=1", "--disable-gpu", "--no-sandbox"})
                  .toStdString(),
              "--no-sandbox --renderer-process-limit=3 --disable-gpu");
    EXPECT_EQ(ComposeEngineFlags({}, EngineFlags(false)).toStdString(),
              "--disable-gpu --renderer-process-limit=2 --disable-background-networking");
    const QByteArray low = ComposeEngineFlags({}, EngineFlags(true));
    for (const char* flag :
         {"--renderer-process-limit=1", "--enable-low-end-device-mode", "--js-flags=--max-old-space"})
        EXPECT_TRUE(low.contains(flag)) << flag;
    // The zygote processes go only where the sandbox, which needs them, is off.
    EXPECT_FALSE(low.contains("--no-zygote"));
    EXPECT_TRUE(EngineFlags(true, false).contains("--no-zygote"));
    EXPECT_FALSE(EngineSandboxed("--disable-gpu --no-sandbox"));
}

}  // namespace
}  // namespace caltrix
