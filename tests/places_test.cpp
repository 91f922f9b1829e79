#include "toolkit/places.h"

#include "game/progress.h"
#include "tests/support/datafile.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Runs in a fresh current folder, and leaves the program's places as a test
// program has them: everything in the current folder.
struct InFolder {
    TempDir folder{"places"};
    fs::path previous = fs::current_path();
    InFolder() { fs::current_path(folder.path); }
    ~InFolder() {
        fs::current_path(previous);
        filePlaces = FilePlaces{};
    }
};

} // namespace

TEST(FilePlaces, TheVariableThenTheCurrentThenTheInstalledFolderAndTheUserFolderMadeOnFirstUse) {
    InFolder here;
    struct Case {
        const char* inCurrentFolder; // "file", "folder" or nothing named GHold.dat
        const char *variable, *installed, *dataHome, *home;
        const char *dataFile, *userFolder;
    };
    const Case cases[] = {// An explicit variable wins, even naming nothing.
                          {"file", "/nowhere/my.dat", "/opt/gh", "/xdg", "/home/ann",
                           "/nowhere/my.dat", "/xdg/gloomhold"},
                          // The current folder keeps the player's files beside the data.
                          {"file", "", "/opt/gh", "/xdg", "/home/ann", "GHold.dat", ""},
                          // A folder named like the data file is passed over.
                          {"folder", nullptr, "/opt/gh", nullptr, "/home/ann", "/opt/gh/GHold.dat",
                           "/home/ann/.local/share/gloomhold"},
                          // A relative data home is ignored.
                          {"", nullptr, "/opt/gh", "rel/data", "/home/ann/", "/opt/gh/GHold.dat",
                           "/home/ann/.local/share/gloomhold"},
                          // No program folder and no home.
                          {"", nullptr, nullptr, nullptr, "", "GHold.dat", ""}};
    for (const Case& c : cases) {
        fs::remove_all("GHold.dat");
        if (std::string(c.inCurrentFolder) == "file") {
            writeBytes("GHold.dat", {63, 0, 0, 0});
        } else if (std::string(c.inCurrentFolder) == "folder") {
            fs::create_directory("GHold.dat");
        }
        const FilePlaces places =
            findFilePlaces({"GHold.dat", "gloomhold", c.variable, c.installed, c.dataHome, c.home});
        EXPECT_EQ(places.dataFile, c.dataFile) << c.dataFile;
        EXPECT_EQ(places.userFolder, c.userFolder) << c.dataFile;
    }

    // Settings and progress go to the user folder, made on first use.
    const fs::path home = here.folder.path / "home";
    filePlaces.userFolder = (home / ".local/share/gloomhold").string();
    configLoad();
    ASSERT_EQ(filePlaces.userFolderState, 1u);
    ASSERT_EQ(writeLevelProgress(7), "");
    EXPECT_EQ(readLevelProgress(), 7);
    EXPECT_EQ(ints(fs::is_regular_file(home / ".local/share/gloomhold/Cfg.txt"),
                   fs::is_regular_file(home / ".local/share/gloomhold/LevelInfo.dat"),
                   fs::exists("Cfg.txt"), fs::exists("LevelInfo.dat")),
              ints(1, 1, 0, 0));
    // Every folder made is the user's alone; one already there is left as it is.
    EXPECT_EQ(fs::status(home / ".local").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(home / ".local/share/gloomhold").permissions(), fs::perms::owner_all);
    EXPECT_NE(fs::status(here.folder.path).permissions(), fs::perms::owner_all);

    // A file where a folder should be: nothing can be kept, nothing breaks.
    writeBytes("blocked", {1});
    filePlaces = FilePlaces{};
    filePlaces.userFolder = (here.folder.path / "blocked" / "gloomhold").string();
    EXPECT_EQ(writeLevelProgress(3), "Not a directory");
    EXPECT_EQ(ints(filePlaces.userFolderState, readLevelProgress()), ints(2, 0));
    EXPECT_EQ(userFilePath(filePlaces, "Records.dat"),
              (here.folder.path / "blocked/gloomhold/Records.dat").string());
}
