#pragma once
// Where the program's files are: the one data file it reads, and the folder
// of the files it keeps for the player (settings, progress). The program
// decides once at start-up, before the settings are loaded, and keeps to it
// for the whole run.
#include <cstdint>
#include <string>

struct FilePlaces {
    // The data file to read. Empty until a search has been made; a program
    // that never searches (a test, a tool) reads the plain name in the
    // current folder.
    std::string dataFile;
    // Where the player's files live; empty for the current folder.
    std::string userFolder;
    // 0 until a file in the user folder is first asked for, then 1 when the
    // folder is there and 2 when it could not be made (the player's files
    // then cannot be kept, but the game still plays).
    uint32_t userFolderState;
};

extern FilePlaces filePlaces;

// What a search for the files is told about the machine. Null or empty
// texts count as not given.
struct FileSearch {
    const char* dataName;        // the data file's name, looked for in the current folder
    const char* folderName;      // the user folder's name inside the data home
    const char* dataVariable;    // the environment's explicit path of the data file
    const char* installedFolder; // the installed data folder, found beside the program
    const char* dataHome;        // $XDG_DATA_HOME
    const char* home;            // the user's home folder
};

// The order, first match wins:
// 1. an explicit path from the environment, taken even when no file is
//    there, so that a wrong path is reported rather than passed over;
// 2. the current folder, as the game always did; the player's files then
//    stay in the current folder beside it;
// 3. the installed data folder, also when nothing is there: that is the
//    file a report of the failure names;
// 4. the plain name, when the program's own folder is unknown.
// Unless the current folder won, the player's files go to the data home
// ($XDG_DATA_HOME when it is an absolute path, else ~/.local/share), in a
// folder named folderName.
FilePlaces findFilePlaces(const FileSearch& search);

// The path of a per-user file: the name alone when the player's files stay
// in the current folder, else the name inside the user folder, which is made
// (with any missing parents, readable by the user alone) the first time a
// file there is asked for. When it cannot be made the path is still given:
// opening it fails, as opening a file in a folder one may not write does.
std::string userFilePath(FilePlaces& places, const char* name);
