#include "toolkit/places.h"

#include "game/progress.h"
#include "tests/support/datafile.h"
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

TEST(FilePlaces, TheVariableThenTheCurrentFolderThenTheInstalledFolder) {
    InFolder here;
    struct Case {
        const char* what;
        const char* inCurrentFolder; // "file", "folder" or nothing named GHold.dat
        FileSearch search;
        const char* dataFile;
        const char* userFolder;
    };
    const Case cases[] = {
        {"an explicit variable wins, even naming nothing",
         "file",
         {"GHold.dat", "gloomhold", "/nowhere/my.dat", "/opt/gh/share/gloomhold", "/xdg",
          "/home/ann"},
         "/nowhere/my.dat",
         "/xdg/gloomhold"},
        {"the current folder keeps the player's files beside the data",
         "file",
         {"GHold.dat", "gloomhold", "", "/opt/gh/share/gloomhold", "/xdg", "/home/ann"},
         "GHold.dat",
         ""},
        {"a folder named like the data file is passed over",
         "folder",
         {"GHold.dat", "gloomhold", nullptr, "/opt/gh/share/gloomhold", nullptr, "/home/ann"},
         "/opt/gh/share/gloomhold/GHold.dat",
         "/home/ann/.local/share/gloomhold"},
        {"a relative data home is ignored",
         "",
         {"GHold.dat", "gloomhold", nullptr, "/opt/gh/share/gloomhold", "rel/data", "/home/ann/"},
         "/opt/gh/share/gloomhold/GHold.dat",
         "/home/ann/.local/share/gloomhold"},
        {"no program folder and no home",
         "",
         {"GHold.dat", "gloomhold", nullptr, nullptr, nullptr, ""},
         "GHold.dat",
         ""}};
    for (const Case& c : cases) {
        fs::remove_all("GHold.dat");
        if (std::string(c.inCurrentFolder) == "file") {
            writeBytes("GHold.dat", {63, 0, 0, 0});
        } else if (std::string(c.inCurrentFolder) == "folder") {
            fs::create_directory("GHold.dat");
        }
        const FilePlaces places = findFilePlaces(c.search);
        EXPECT_EQ(places.dataFile, c.dataFile) << c.what;
        EXPECT_EQ(places.userFolder, c.userFolder) << c.what;
    }
}

TEST(FilePlaces, SettingsAndProgressGoToTheUserFolderMadeOnFirstUse) {
    InFolder here;
    const fs::path home = here.folder.path / "home";
    filePlaces.userFolder = (home / ".local/share/gloomhold").string();
    configLoad();
    ASSERT_EQ(filePlaces.userFolderState, 1u);
    ASSERT_EQ(writeLevelProgress(7), "");
    EXPECT_EQ(readLevelProgress(), 7);
    EXPECT_TRUE(fs::is_regular_file(home / ".local/share/gloomhold/Cfg.txt"));
    EXPECT_TRUE(fs::is_regular_file(home / ".local/share/gloomhold/LevelInfo.dat"));
    EXPECT_FALSE(fs::exists("Cfg.txt"));
    EXPECT_FALSE(fs::exists("LevelInfo.dat"));
    // Every folder made is the user's alone; one already there is left as it is.
    EXPECT_EQ(fs::status(home / ".local").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(home / ".local/share/gloomhold").permissions(), fs::perms::owner_all);
    EXPECT_NE(fs::status(here.folder.path).permissions(), fs::perms::owner_all);

    // A file where a folder should be: nothing can be kept, nothing breaks.
    writeBytes("blocked", {1});
    filePlaces = FilePlaces{};
    filePlaces.userFolder = (here.folder.path / "blocked" / "gloomhold").string();
    EXPECT_EQ(writeLevelProgress(3), "Not a directory");
    EXPECT_EQ(filePlaces.userFolderState, 2u);
    EXPECT_EQ(readLevelProgress(), 0);
    EXPECT_EQ(userFilePath(filePlaces, "Records.dat"),
              (here.folder.path / "blocked/gloomhold/Records.dat").string());
}
