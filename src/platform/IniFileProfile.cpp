#include "platform/IniFileProfile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <system_error>

#include "core/state/IniDocument.hpp"
#include "platform/DateiOeffnen.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;

// Closes a descriptor on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close itself succeeded (it can report a lost write).
    bool reset() {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

enum class ReadStatus { Ok, Missing, Failed };

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string text;
    struct stat info {};
    int fehler = 0;  // errno of a failed read
};

FileContent readFile(const fs::path& file) {
    FileContent result;
    // Non-blocking, so that a FIFO in the file's place cannot hang the program.
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        result.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        result.fehler = errno;
        return result;
    }
    if (::fstat(fd.get(), &result.info) != 0 || !S_ISREG(result.info.st_mode)) {
        result.fehler = S_ISDIR(result.info.st_mode) ? EISDIR : EINVAL;
        result.status = ReadStatus::Failed;
        return result;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n > 0) {
            result.text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            result.fehler = errno;
            result.status = ReadStatus::Failed;
            result.text.clear();
            return result;
        }
    }
    result.status = ReadStatus::Ok;
    return result;
}


bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A settings file reached through a symbolic link is updated where the link points, so the
// link itself survives the rename.
fs::path resolveTarget(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(file, ec)) return file;
    auto target = fs::weakly_canonical(file, ec);
    return ec ? file : target;
}

// Creates a fresh temporary file next to target; the name is returned in tempPath.
Fd createTemporary(const fs::path& target, fs::path& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath.replace_filename("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter++));
        // 0666 lets the umask decide a new file's permissions; an existing file's are copied later.
        const int raw = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw >= 0) return Fd(raw);
        if (errno != EEXIST) break;
    }
    return Fd(-1);
}

void syncDirectory(const fs::path& dir) {
    Fd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) (void)::fsync(fd.get());  // durability of the rename only; the data is safe already
}

}  // namespace

app::IniDocument IniFileProfile::readDocument() {
    const auto content = readFile(file_);
    if (content.status == ReadStatus::Failed && leseFehlerMelden_ && !leseFehlerGemeldet_) {
        leseFehlerGemeldet_ = true;
        leseFehlerMelden_(dateiFehlerText(file_.string(), content.fehler));
    }
    return content.status == ReadStatus::Ok ? app::IniDocument(content.text) : app::IniDocument();
}

int IniFileProfile::GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) {
    return readDocument().getInt(section, key, defaultValue);
}

std::string IniFileProfile::GetPrivateProfileString(std::string_view section, std::string_view key,
                                                    std::string_view defaultValue) {
    return readDocument().getString(section, key, defaultValue);
}

bool IniFileProfile::WritePrivateProfileString(std::string_view section, std::string_view key,
                                               std::string_view value) {
    const fs::path target = resolveTarget(file_);
    const auto old = readFile(target);
    // A file that exists but cannot be read would lose all its other settings if rewritten.
    if (old.status == ReadStatus::Failed) return false;
    const bool existed = old.status == ReadStatus::Ok;
    // A write-protected settings file stays as it is, as the user intended.
    if (existed && ::access(target.c_str(), W_OK) != 0) return false;

    app::IniDocument document = existed ? app::IniDocument(old.text) : app::IniDocument();
    if (!document.set(section, key, value)) return false;
    // The key already holds this value: a rewrite (two fsyncs) would change nothing. Playback
    // sets all ten timing channels from every file it opens, mostly to the values they have.
    if (existed && document.text() == old.text) return true;

    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return false;

    fs::path tempPath;
    Fd fd = createTemporary(target, tempPath);
    if (!fd.valid()) return false;

    bool ok = true;
    if (existed) {
        ok = ::fchmod(fd.get(), old.info.st_mode & 07777) == 0;
        // Keeps the owner when an administrator edits another user's settings; not always allowed.
        (void)::fchown(fd.get(), old.info.st_uid, old.info.st_gid);
    }
    ok = ok && writeAll(fd.get(), document.text());
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.reset() && ok;
    ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        (void)::unlink(tempPath.c_str());
        return false;
    }
    syncDirectory(dir);
    return true;
}

}  // namespace krv::platform
