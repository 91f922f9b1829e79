#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How many names a new temporary file tries before giving up: each is taken
// by chance only if another writer is saving the same file at this moment.
constexpr int TEMPORARY_NAME_TRIES = 16;
// Read and write for everyone the umask allows, as any new file.
constexpr mode_t NEW_FILE_MODE = 0666;

std::string systemReason(int error) {
    return std::strerror(error);
}

void tell(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
}

// A descriptor that closes itself.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int opened) : fd(opened) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int release() {
        const int kept = fd;
        fd = -1;
        return kept;
    }
};

// O_NONBLOCK makes the open of a FIFO return at once instead of waiting for
// a writer; once the file is known to be regular, reads block as usual.
FileStatus openRegular(const std::string& path, Descriptor& file, struct stat& info,
                       std::string* reason) {
    file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0) {
        tell(reason, systemReason(errno));
        return FileStatus::CannotOpen;
    }
    if (::fstat(file.fd, &info) != 0) {
        tell(reason, systemReason(errno));
        return FileStatus::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        tell(reason, "not a regular file");
        return FileStatus::NotRegular;
    }
    const int flags = ::fcntl(file.fd, F_GETFL);
    if (flags < 0 || ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        tell(reason, systemReason(errno));
        return FileStatus::Failed;
    }
    return FileStatus::Ok;
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Unpredictable, so that nobody can plant a link under the name in advance;
// O_EXCL refuses one planted anyway.
std::string temporaryName(const std::string& path) {
    static std::random_device source;
    char suffix[sizeof ".tmp-12345678"];
    std::snprintf(suffix, sizeof suffix, ".tmp-%08x", unsigned(source()));
    return path + suffix;
}

// A file that is there but may not be written keeps its place, as it would
// if it were opened for writing in place. Only regular files are asked: the
// open of anything else for writing might wait on it.
bool mayReplace(const std::string& path, int& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return true;
    }
    Descriptor probe(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    error = errno;
    return probe.fd >= 0;
}

// The rename is only on the disk once the folder itself is; a folder that
// cannot be synced still holds the new file, so this is done on a best-effort
// basis.
void syncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) {
        ::fsync(dir.fd);
    }
}

} // namespace

void FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

FileStatus openForReading(const std::string& path, FileHandle& file, std::string* reason) {
    file.reset();
    Descriptor fd;
    struct stat info {};
    const FileStatus status = openRegular(path, fd, info, reason);
    if (status != FileStatus::Ok) {
        return status;
    }
    file.reset(::fdopen(fd.fd, "rb"));
    if (!file) {
        tell(reason, systemReason(errno));
        return FileStatus::Failed;
    }
    fd.release();
    return FileStatus::Ok;
}

FileStatus readWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                         std::string* reason) {
    bytes.clear();
    Descriptor fd;
    struct stat info {};
    const FileStatus status = openRegular(path, fd, info, reason);
    if (status != FileStatus::Ok) {
        return status;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > limit) {
        tell(reason, "larger than " + std::to_string(limit) + " bytes");
        return FileStatus::TooLarge;
    }
    // One byte more than the size said: a file that grows while it is read
    // is noticed rather than cut short.
    try {
        bytes.resize(size_t(size) + 1);
    } catch (const std::bad_alloc&) {
        tell(reason, systemReason(ENOMEM));
        return FileStatus::Failed;
    }
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            tell(reason, systemReason(errno));
            bytes.clear();
            return FileStatus::Failed;
        }
        if (n == 0) {
            break;
        }
        got += size_t(n);
    }
    if (got > size) {
        tell(reason, "changed while it was read");
        bytes.clear();
        return FileStatus::Failed;
    }
    bytes.resize(got);
    return FileStatus::Ok;
}

std::string replaceFile(const std::string& path, const void* data, size_t size) {
    int error = 0;
    if (!mayReplace(path, error)) {
        return systemReason(error);
    }
    std::string temporary;
    Descriptor file;
    for (int i = 0; i < TEMPORARY_NAME_TRIES && file.fd < 0; i++) {
        temporary = temporaryName(path);
        file.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE);
        if (file.fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (file.fd < 0) {
        return systemReason(errno);
    }
    error = 0;
    if (!writeAll(file.fd, static_cast<const uint8_t*>(data), size) || ::fsync(file.fd) != 0) {
        error = errno;
    }
    if (::close(file.release()) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return systemReason(error);
    }
    syncFolderOf(path);
    return {};
}

std::string keepFileAside(const std::string& path, const char* suffix) {
    const std::string aside = path + suffix;
    if (::rename(path.c_str(), aside.c_str()) != 0) {
        return systemReason(errno);
    }
    return {};
}
