// A save killed at any moment leaves the settings file whole: the old table or the new one,
// never a mixture or a short file. A child saves two tables in turn until it is killed.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/settings.h"
#include "tests/support/harness.h"

TEST_F(GameTest, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNew) {
  const std::string path = folder + "data/zorblats.set";
  std::vector<uint8_t> tables[2];
  for (int t = 0; t < 2; ++t) {
    Settings = SettingsRecord{};
    Settings.difficulty = static_cast<int16_t>(t);
    for (int p = 0; p < kHighScorePlaces; ++p) Settings.highScores[p] = (t + 1) * 1000 - p;
    ASSERT_TRUE(SaveSettings());
    tables[t] = ReadFileBytes(path);
  }
  for (int round = 0; round < 20; ++round) {
    const pid_t saver = fork();
    if (saver == 0) {
      for (int i = 0;; ++i) {
        Settings.difficulty = static_cast<int16_t>(i % 2);
        for (int p = 0; p < kHighScorePlaces; ++p) Settings.highScores[p] = (i % 2 + 1) * 1000 - p;
        SaveSettings();
      }
    }
    usleep(2000 + 7919 * round % 30000);
    kill(saver, SIGKILL);
    waitpid(saver, nullptr, 0);
    const std::vector<uint8_t> file = ReadFileBytes(path);
    EXPECT_TRUE(file == tables[0] || file == tables[1]) << "round " << round << ": " << file.size() << " bytes";
  }
}
