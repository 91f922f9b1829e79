#include "toolkit/places.h"

#include <filesystem>
#include <system_error>

FilePlaces filePlaces;

namespace {

namespace fs = std::filesystem;

bool given(const char* text) {
    return text != nullptr && text[0] != 0;
}

// A folder or a device of that name is no data file, so the search goes on.
bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// $XDG_DATA_HOME only counts as an absolute path: the base directory rules
// say a relative one is to be ignored, as it would move with the current
// folder. Without a home either, there is nowhere but the current folder.
std::string userFolderFor(const FileSearch& search) {
    fs::path dataHome;
    if (given(search.dataHome) && fs::path(search.dataHome).is_absolute()) {
        dataHome = search.dataHome;
    } else if (given(search.home)) {
        dataHome = fs::path(search.home) / ".local" / "share";
    } else {
        return {};
    }
    return (dataHome / search.folderName).lexically_normal().string();
}

// mkdir -p, each folder it makes readable by the user alone, as the base
// directory rules ask of the data home.
bool makeFolders(const fs::path& folder) {
    std::error_code error;
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (fs::is_directory(partial, error)) {
            continue;
        }
        if (!fs::create_directory(partial, error)) {
            return false;
        }
        fs::permissions(partial, fs::perms::owner_all, error);
    }
    return fs::is_directory(folder, error);
}

} // namespace

FilePlaces findFilePlaces(const FileSearch& search) {
    FilePlaces places{};
    if (given(search.dataVariable)) {
        places.dataFile = search.dataVariable;
    } else if (isFile(search.dataName)) {
        places.dataFile = search.dataName;
        return places;
    } else if (given(search.installedFolder)) {
        places.dataFile = (fs::path(search.installedFolder) / search.dataName).string();
    } else {
        places.dataFile = search.dataName;
    }
    places.userFolder = userFolderFor(search);
    return places;
}

std::string userFilePath(FilePlaces& places, const char* name) {
    if (places.userFolder.empty()) {
        return name;
    }
    if (places.userFolderState == 0) {
        places.userFolderState = makeFolders(places.userFolder) ? 1 : 2;
    }
    return (fs::path(places.userFolder) / name).string();
}
