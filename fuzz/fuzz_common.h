#pragma once
// What the harnesses share: the readers under test take file names, and
// several use fixed names in the current directory, so every harness moves
// once, before its first input, into a fresh temporary folder of its own and
// writes each input there. libFuzzer opens corpus files by name while it
// runs, so the folders and paths on the command line are made absolute at
// start. (The move waits for the first input so that with -jobs the parent
// process, which only starts workers, stays where its logs belong.)
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace fuzzcommon {

inline std::vector<std::string> arguments;
inline std::vector<char*> argumentPointers;

// "-name=relative/path" for the options that name files or folders, and
// every plain argument (a corpus folder or an input file).
inline std::string absoluteArgument(const std::string& arg, const std::string& cwd) {
    static const char* const pathOptions[] = {"-artifact_prefix=", "-exact_artifact_path=",
                                              "-dict=", "-merge_control_file=", "-features_dir="};
    for (const char* option : pathOptions) {
        const std::string prefix = option;
        if (arg.rfind(prefix, 0) == 0 && arg.size() > prefix.size() && arg[prefix.size()] != '/') {
            return prefix + cwd + "/" + arg.substr(prefix.size());
        }
    }
    if (!arg.empty() && arg[0] != '-' && arg[0] != '/') {
        return cwd + "/" + arg;
    }
    return arg;
}

} // namespace fuzzcommon

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    using namespace fuzzcommon;
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr) {
        std::perror("ghold fuzz: getcwd");
        std::abort();
    }
    for (int i = 0; i < *argc; ++i) {
        arguments.push_back(i == 0 ? (*argv)[i] : absoluteArgument((*argv)[i], cwd));
    }
    for (std::string& arg : arguments) {
        argumentPointers.push_back(arg.data());
    }
    argumentPointers.push_back(nullptr);
    *argv = argumentPointers.data();
    return 0;
}

inline void enterScratchFolder() {
    static bool entered = false;
    if (entered) {
        return;
    }
    entered = true;
    char pattern[] = "/tmp/ghold-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        std::perror("ghold fuzz: cannot enter a temporary folder");
        std::abort();
    }
}

inline void writeInput(const char* name, const uint8_t* data, size_t size) {
    enterScratchFolder();
    std::FILE* f = std::fopen(name, "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) ||
        std::fclose(f) != 0) {
        std::perror(name);
        std::abort();
    }
}
