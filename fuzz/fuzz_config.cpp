// Fuzzes Cfg.txt: configLoad on the input as the settings file in the
// harness's temporary folder, then configSave, and a second load of what was
// saved must give back every value. (A value that is itself a key name is
// the one exception: the reader takes a key's first occurrence anywhere in
// the text, so such a value is found in place of the later key's own line.)
//
//   fuzz_config -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "toolkit/config.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput("Cfg.txt", data, size);
    configLoad();
    char loaded[CONFIG_ENTRY_COUNT][CONFIG_VALUE_SIZE];
    bool valueIsKey = false;
    for (int i = 0; i < CONFIG_ENTRY_COUNT; ++i) {
        if (std::strlen(configTable[i].value) >= CONFIG_VALUE_SIZE) {
            std::abort();
        }
        std::memcpy(loaded[i], configTable[i].value, CONFIG_VALUE_SIZE);
        for (const ConfigEntry& entry : configTable) {
            valueIsKey = valueIsKey || std::strcmp(loaded[i], entry.key) == 0;
        }
    }
    configSave();
    configLoad();
    for (int i = 0; i < CONFIG_ENTRY_COUNT; ++i) {
        if (!valueIsKey && std::strcmp(loaded[i], configTable[i].value) != 0) {
            std::abort();
        }
    }
    return 0;
}
