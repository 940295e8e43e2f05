#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "Children.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;

// A viewer asked to end by its session, a terminal or `kill` still deletes its folder.
TEST(TerminationSignals, EndingOnASignalStillDeletesTheTemporaryFolder) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    testing::Scratch scratch;
    testing::WriteFile(scratch / "book",
                       EncodeArchive({{"XSE1.QRLC", "[cSettings]"}, {"PAGE.HTML", "page"}}));
    int log[2];
    ASSERT_EQ(pipe2(log, O_CLOEXEC), 0);
    const testing::Child viewer = testing::Start(
        EXTRACT_PROBE, {},
        {"TMPDIR=" + scratch.path().string(), "EBOOK_PROBE_BOOK=" + (scratch / "book").string()},
        log[1], -1);
    close(log[1]);
    const std::string folder = testing::ReadLine(log[0]);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(testing::ReadFile(folder + "PAGE.HTML"), "page");

    kill(viewer.pid, signal);
    EXPECT_EQ(testing::ReadLine(log[0]), "closed " + std::to_string(signal) + " deleted");
    EXPECT_EQ(testing::WaitForExit(viewer), 0);
    EXPECT_FALSE(fs::exists(folder));
    close(log[0]);
  }
}

}  // namespace
}  // namespace ebook
