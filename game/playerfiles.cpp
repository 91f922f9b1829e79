#include "game/playerfiles.h"

#include "game/progress.h"
#include "game/records.h"
#include "platform/files.h"
#include "widgets/msgbox.h"

#include <initializer_list>
#include <string>

namespace {

constexpr const char* ASIDE_SUFFIX = ".bad";

// The texts of a box stay alive until it closes. Each notice is shown once
// at most: a failure to write is told once per file in a run, and damage is
// only found at start-up.
struct Notice {
    uint32_t told;
    std::string path;
    std::string reason;
};

Notice progressFailure;
Notice recordsFailure;
Notice progressDamage;
Notice recordsDamage;

// An alert of text lines (null for a blank one) between blank lines, with
// an Ok button.
void showNotice(const char* title, std::initializer_list<const char*> lines) {
    std::unique_ptr<Dialog> box = dialogCreate();
    if (!box) {
        return;
    }
    dialogAddBlank(*box);
    for (const char* line : lines) {
        if (line != nullptr) {
            dialogAddText(*box, line);
        } else {
            dialogAddBlank(*box);
        }
    }
    dialogAddBlank(*box);
    dialogAddButtons(*box, DIALOG_OK);
    if (Dialog* dialog = dialogShow(std::move(box), title, nullptr, nullptr)) {
        dialog->alert = 1;
    }
}

void tellSaveFailure(Notice& notice, const char* title, const std::string& path,
                     const std::string& reason) {
    if (reason.empty() || notice.told) {
        return;
    }
    notice.told = 1;
    notice.path = path;
    notice.reason = reason;
    showNotice(title, {"This file could not be written:", notice.path.c_str(), nullptr,
                       notice.reason.c_str(), nullptr, "The game goes on without saving it."});
}

// A damaged file is renamed, so that what it held is not written over, and
// the player is told where it went.
void keepDamaged(Notice& notice, const char* title, const std::string& path, const char* lost) {
    const std::string failure = keepFileAside(path, ASIDE_SUFFIX);
    notice.told = 1;
    notice.path = path;
    notice.reason = failure.empty() ? "It is kept as " + path + ASIDE_SUFFIX
                                    : "It could not be kept aside: " + failure;
    showNotice(title, {"This file is damaged:", notice.path.c_str(), nullptr, notice.reason.c_str(),
                       lost});
}

} // namespace

int32_t loadPlayerFiles() {
    const std::string progressPath = progressFilePath();
    int32_t level = 0;
    if (inspectLevelProgressFile(progressPath.c_str(), level) == ProgressFile::Damaged) {
        keepDamaged(progressDamage, "Progress file damaged", progressPath,
                    "Play starts again at level 0.");
    }
    const std::string recordsPath = recordsFilePath();
    if (readRecordsFile(recordsPath, playerRecords) == RecordsFile::Damaged) {
        keepDamaged(recordsDamage, "Records file damaged", recordsPath,
                    "The records that could be read are kept.");
    }
    return level;
}

void saveProgress(int32_t level) {
    const std::string path = progressFilePath();
    tellSaveFailure(progressFailure, "Progress not saved", path,
                    writeLevelProgressFile(path.c_str(), level));
}

void saveRecords() {
    const std::string path = recordsFilePath();
    tellSaveFailure(recordsFailure, "Records not saved", path,
                    writeRecordsFile(path, playerRecords));
}

void resetSaveNotices() {
    for (Notice* notice : {&progressFailure, &recordsFailure, &progressDamage, &recordsDamage}) {
        *notice = Notice{};
    }
}
