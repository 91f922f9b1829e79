// The records file's lines and which run is the best, and the titles file
// as the game reads it.
#include "game/records.h"
#include "game/titles.h"
#include "tests/support/datafile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

TEST(Records, ALineIsTakenOnlyWhenItsNumbersAgreeWithItsRun) {
    // steps: level 3's fewest steps once read, 0 when no line of it was taken.
    struct Case {
        const char* text;
        RecordsFile read;
        int32_t steps;
    };
    const Case cases[] = {
        {"# comment\n\n3 2 4 R.L.\r\n", RecordsFile::Read, 4},
        {"3 2 3 R.L.\n", RecordsFile::Read, 3},     // the fewest steps came from another run
        {"3 1 4 R.L.\n", RecordsFile::Damaged, 0},  // two moves in the run
        {"3 2 5 R.L.\n", RecordsFile::Damaged, 0},  // more steps than the run has
        {"3 2 0 \n", RecordsFile::Damaged, 0},      // no run
        {"3 0 0 ..\n", RecordsFile::Damaged, 0},    // no step at all
        {"3 2 4 R.X.\n", RecordsFile::Damaged, 0},  // no move character
        {"51 2 4 R.L.\n", RecordsFile::Damaged, 0}, // no level
        {"-3 2 4 R.L.\n", RecordsFile::Damaged, 0},
        {"3 2 4 R.L. x\n", RecordsFile::Damaged, 0},
        {"3 99999999999 4 R.L.\n", RecordsFile::Damaged, 0},
        // A level twice: the first is kept, as is every good line.
        {"3 2 4 R.L.\n3 2 5 R.L..\n", RecordsFile::Damaged, 4},
    };
    for (const Case& c : cases) {
        PlayerRecords records{};
        EXPECT_EQ(parseRecords(c.text, records), c.read) << c.text;
        EXPECT_EQ(records.levels[3].steps, c.steps) << c.text;
    }
}

TEST(Records, TheBestRunHasTheFewestMovesThenTheFewestSteps) {
    PlayerRecords records{};
    EXPECT_TRUE(noteCompletedRun(records, 5, "RR..L"));
    EXPECT_FALSE(noteCompletedRun(records, 5, "RR...L"));
    // Fewer steps with more moves: the steps are a record, the run is not.
    EXPECT_TRUE(noteCompletedRun(records, 5, "RRLL"));
    EXPECT_TRUE(noteCompletedRun(records, 5, "R.L.."));
    // As few moves in fewer steps: the run is kept in its place.
    EXPECT_TRUE(noteCompletedRun(records, 5, "RL.."));
    EXPECT_FALSE(noteCompletedRun(records, 5, "RL...."));
    EXPECT_FALSE(noteCompletedRun(records, 51, "R"));
    EXPECT_EQ(recordsText(records).substr(recordsText(records).find('\n') + 1), "5 2 4 RL..\n");
}

TEST(Titles, OneLinePerLevelOfPrintableCharactersCutToTheirRoom) {
    TempDir folder("titles");
    const std::string path = titlesPathFor((folder.path / "Game.dat").string());
    EXPECT_EQ(path, (folder.path / "Game.titles").string());
    std::ofstream(path, std::ios::binary) << "First\n\nCaf\xc3\xa9\tbar\n" << std::string(60, 'x');
    loadLevelTitles(path);
    EXPECT_STREQ(levelTitles.text[0], "First");
    EXPECT_STREQ(levelTitles.text[1], "");
    EXPECT_STREQ(levelTitles.text[2], "Cafbar");
    EXPECT_EQ(std::string(levelTitles.text[3]), std::string(47, 'x'));
    loadLevelTitles((folder.path / "none.titles").string());
    EXPECT_STREQ(levelTitles.text[0], "");
}
