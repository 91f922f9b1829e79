#include "game/gamedata.h"
#include "game/progress.h"
#include "platform/files.h"
#include "tests/support/datafile.h"
#include "toolkit/config.h"
#include "toolkit/places.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

size_t entriesIn(const fs::path& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

// A disk that fills up half-way through the new file: the limit on file size
// makes the write fail after the temporary file was created, whoever runs the
// test (permissions do not stop the superuser).
TEST(ReplaceFile, AWriteThatFailsLeavesTheOldFileWholeAndNoTemporaryBehind) {
    TempDir dir("files");
    const std::string path = (dir.path / "LevelInfo.dat").string();
    const std::string old = "the old progress";
    ASSERT_EQ(replaceFile(path, old.data(), old.size()), "");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 8;
    void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::vector<uint8_t> longer(128, 0x5A);
    const std::string reason = replaceFile(path, longer.data(), longer.size());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(reason, std::strerror(EFBIG));
    const std::vector<uint8_t> kept = readBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), old);
    EXPECT_EQ(entriesIn(dir.path), 1u);
}

// A FIFO under the name of one of the game's files would make a blocking open
// wait for a writer for ever. Each is refused at once: the data file as a
// load failure, the progress and the settings as absent.
TEST(OutsideFiles, AFifoUnderTheGamesFileNamesIsRefusedWithoutWaiting) {
    TempDir dir("files");
    filePlaces = FilePlaces{"", dir.path.string(), 1}; // the player's files are there
    for (const char* name : {"GHold.dat", "LevelInfo.dat", "Cfg.txt"}) {
        ASSERT_EQ(mkfifo((dir.path / name).c_str(), 0600), 0) << name;
    }
    EXPECT_EQ(loadGameData((dir.path / "GHold.dat").c_str()), 0);
    EXPECT_EQ(readLevelProgress(), 0);
    configSet("WINDX", "800");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "640");
    // Absent settings are written out afresh, as a regular file.
    EXPECT_TRUE(fs::is_regular_file(dir.path / "Cfg.txt"));
    filePlaces = FilePlaces{};
}

TEST(ReadWholeFile, ASizeBeyondTheLimitIsRefusedBeforeReading) {
    TempDir dir("files");
    const fs::path path = dir.path / "text.txt";
    ASSERT_TRUE(writeBytes(path, std::vector<uint8_t>(11, 'a')));
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_EQ(readWholeFile(path.string(), 10, bytes, &reason), FileStatus::TooLarge);
    EXPECT_EQ(reason, "larger than 10 bytes");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(readWholeFile(path.string(), 11, bytes), FileStatus::Ok);
    EXPECT_EQ(bytes.size(), 11u);
    // Opened without blocking to look at it, a regular file then reads as
    // any other.
    FileHandle file;
    ASSERT_EQ(openForReading(path.string(), file), FileStatus::Ok);
    EXPECT_EQ(fcntl(fileno(file.get()), F_GETFL) & O_NONBLOCK, 0);
    EXPECT_EQ(readWholeFile((dir.path / "none").string(), 11, bytes, &reason),
              FileStatus::CannotOpen);
    EXPECT_EQ(reason, "No such file or directory");
    // The system's own files say they are empty and then hold text: a file
    // that grows while it is read is refused whole.
    EXPECT_EQ(readWholeFile("/proc/self/status", 1000, bytes, &reason), FileStatus::Failed);
    EXPECT_EQ(reason, "changed while it was read");
    EXPECT_TRUE(bytes.empty());
}

// A save that cannot be made, or a keeping aside of a file that is not
// there, says why, and leaves the folder as it found it.
TEST(ReplaceFile, AMissingFolderOrAFolderInTheFilesPlaceIsRefusedAndKeepingAsideMoves) {
    TempDir dir("files");
    const std::string path = (dir.path / "LevelInfo.dat").string();
    EXPECT_EQ(replaceFile((dir.path / "none" / "x").string(), "new", 3),
              "No such file or directory");
    fs::create_directory(path);
    EXPECT_EQ(replaceFile(path, "new", 3), "Is a directory");
    EXPECT_TRUE(fs::is_empty(path));
    EXPECT_EQ(entriesIn(dir.path), 1u);
    std::vector<uint8_t> bytes{1};
    std::string reason;
    EXPECT_EQ(readWholeFile(path, 1000, bytes, &reason), FileStatus::NotRegular);
    EXPECT_EQ(reason, "not a regular file");
    EXPECT_TRUE(bytes.empty());
    fs::remove(path);

    EXPECT_EQ(keepFileAside(path, ".bad"), "No such file or directory");
    ASSERT_EQ(replaceFile(path, "old", 3), "");
    ASSERT_EQ(replaceFile(path + ".bad", "older", 5), "");
    EXPECT_EQ(keepFileAside(path, ".bad"), "");
    EXPECT_EQ(readBytes(path + ".bad"), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(entriesIn(dir.path), 1u);
}

// The new name is only on the disk once the folder holding it is: after the
// rename that very folder is opened to be synced (an open of the folder itself
// is an event without a name).
TEST(ReplaceFile, SyncsTheFolderHoldingTheFileAfterTheRename) {
    TempDir dir("files");
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.path.c_str(), IN_OPEN | IN_MOVED_TO), 0);
    ASSERT_EQ(replaceFile((dir.path / "Cfg.txt").string(), "new", 3), "");
    alignas(inotify_event) char buffer[4096];
    const ssize_t got = read(watch, buffer, sizeof buffer);
    close(watch);
    std::vector<std::string> events;
    for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        events.push_back(std::string(event->mask & IN_MOVED_TO ? "moved to " : "opened ") +
                         (event->len > 0 ? event->name : "the folder"));
        at += ssize_t(sizeof(inotify_event) + event->len);
    }
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
              (std::vector<std::string>{"moved to Cfg.txt", "opened the folder"}));
}
