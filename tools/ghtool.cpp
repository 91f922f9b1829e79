// ghtool: the command-line tool around the game's data. Each subcommand
// lives in its own unit; this file only picks one by name.
#include "tools/export.h"
#include "tools/leveltext.h"
#include "tools/pack.h"

#include <cstdio>
#include <cstring>

namespace {

int legendCommand(int argc, char**) {
    if (argc != 0) {
        std::fprintf(stderr, "usage: ghtool legend\n");
        return 2;
    }
    std::fputs(legendTable().c_str(), stdout);
    return 0;
}

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    // Called with the words after the command's name.
    int (*run)(int argc, char** argv);
};

// To add a command, add its line here; the usage text follows.
constexpr Command commands[] = {
    {"pack", "SRC_DIR OUT.dat", "build a data file from an asset folder", packCommand},
    {"export", "IN.dat OUT_DIR", "write a data file back out as an asset folder", exportCommand},
    {"info", "IN.dat", "summarise a data file", infoCommand},
    {"legend", "", "print the level text legend as a markdown table", legendCommand},
};

void printUsage(std::FILE* to) {
    std::fprintf(to, "usage: ghtool COMMAND ARGUMENTS...\n\ncommands:\n");
    for (const Command& c : commands) {
        char line[80];
        std::snprintf(line, sizeof line, "%s %s", c.name, c.arguments);
        std::fprintf(to, "  %-32s %s\n", line, c.summary);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        printUsage(stdout);
        return 0;
    }
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            return c.run(argc - 2, argv + 2);
        }
    }
    std::fprintf(stderr, "ghtool: unknown command \"%s\"\n\n", argv[1]);
    printUsage(stderr);
    return 2;
}
