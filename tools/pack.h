#pragma once
// ghtool pack: builds GHold.dat from an asset folder (docs/assets.md).
#include "tools/assets.h"
#include <iosfwd>
#include <string>
#include <vector>

// Reads every source of sourceDir into content. Returns an empty string on
// success, else one message naming the file (and line) that is wrong.
std::string readAssetFolder(const std::string& sourceDir, GameContent& content);

// readAssetFolder, then the data file written to outFile by way of a
// temporary file, so that outFile is never left half-written, and the
// levels' titles beside it (titlesPathFor). Empty string on success, else
// the message.
std::string packAssets(const std::string& sourceDir, const std::string& outFile);

// "ghtool pack SRC_DIR OUT.dat": 0 on success, 2 with a message on err.
int packCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
