#pragma once
// ghtool export: writes a data file back out as an asset folder
// (docs/assets.md), which ghtool pack turns into the same bytes again.
#include <iosfwd>
#include <string>
#include <vector>

// Loads dataFile with the game's own loader and writes its contents under
// outDir (created as needed). Level texts carry no title or solution, since
// the data file holds neither. Empty string on success, else the message.
std::string exportGameData(const std::string& dataFile, const std::string& outDir);

// "ghtool export IN.dat OUT_DIR": 0 on success, 2 with a message on err.
int exportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "ghtool info IN.dat": a summary of a data file on out; 2 when it does
// not load.
int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The summary infoCommand prints, for a file loadGameData has just read.
std::string describeLoadedGameData(const std::string& name);
