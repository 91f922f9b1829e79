// ghtool: the command-line tool around the game's data. Each subcommand
// lives in its own unit; this file only picks one by name.
#include "tools/export.h"
#include "tools/leveltext.h"
#include "tools/pack.h"
#include "tools/render.h"
#include "tools/sim.h"
#include "tools/solve.h"
#include "tools/verify.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

int legendCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "usage: ghtool legend\n";
        return 2;
    }
    out << legendTable();
    return 0;
}

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    // Called with the words after the command's name; returns the exit
    // status (2 for bad input).
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// To add a command, add its line here; the usage text follows.
constexpr Command commands[] = {
    {"pack", "SRC_DIR OUT.dat", "build a data file from an asset folder", packCommand},
    {"export", "IN.dat OUT_DIR", "write a data file back out as an asset folder", exportCommand},
    {"info", "IN.dat", "summarise a data file", infoCommand},
    {"legend", "", "print the level text legend as a markdown table", legendCommand},
    {"render", "--data IN.dat --level N [MOVES] OUT.png", "draw a level after some moves",
     renderCommand},
    {"sim", "LEVEL.txt|--data IN.dat --level N MOVES [--trace]", "run the rules headless, JSON out",
     simCommand},
    {"solve",
     "LEVEL.txt|--data IN.dat --level N [--by ticks|moves] [--max-states N] "
     "[--max-seconds S]",
     "the shortest input sequence that completes a level", solveCommand},
    {"verify", "[--stats] [--data IN.dat] [SRC_DIR]", "replay every level's solution",
     verifyCommand},
};

void printUsage(std::ostream& to) {
    to << "usage: ghtool COMMAND ARGUMENTS...\n\ncommands:\n";
    for (const Command& c : commands) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-36s %s\n",
                      (std::string(c.name) + " " + c.arguments).c_str(), c.summary);
        to << line;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help") {
        printUsage(std::cout);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : commands) {
        if (name == c.name) {
            return c.run(args, std::cout, std::cerr);
        }
    }
    std::cerr << "ghtool: unknown command \"" << name << "\"\n\n";
    printUsage(std::cerr);
    return 2;
}
