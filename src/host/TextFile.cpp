#include "host/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <string>

#include "host/HostError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/HostPath.h"

namespace host {
namespace {

// A text file the user may write, in a folder that takes no new files, is rewritten in place.
constexpr auto kRefused = platform::AtomicFile::Refused::WriteInPlace;
// The most a file opened for input may hold: a settings file is a few short lines.
constexpr std::size_t kMaxInputBytes = 64 * 1024;

struct OpenFile {
    bool output = false;
    std::string bytes;  // input: the whole file; output: what was written so far
    size_t pos = 0;
    std::string hostPath;
};

std::map<int, OpenFile>& Files() {
    static std::map<int, OpenFile> files;
    return files;
}

OpenFile& Opened(int number, bool output) {
    auto it = Files().find(number);
    if (it == Files().end() || it->second.output != output) RaiseError(kBadFileNameOrNumber);
    return it->second;
}

void Claim(int number) {
    if (number < 1 || number > 511) RaiseError(kBadFileNameOrNumber);
    if (Files().count(number)) RaiseError(kFileAlreadyOpen);
}

std::string HostPathOf(const QString& path) {
    std::string host = platform::HostPath(path);
    if (host.empty()) RaiseError(kPathNotFound);
    return host;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Past the comma or line end (CR LF, or a lone LF or CR) that ends the current value.
void SkipSeparator(OpenFile& f) {
    const std::string& b = f.bytes;
    while (f.pos < b.size() && b[f.pos] != ',' && !IsLineEnd(b[f.pos])) ++f.pos;
    if (f.pos >= b.size()) return;
    if (b[f.pos] == ',') {
        ++f.pos;
    } else if (b[f.pos] == '\r') {
        ++f.pos;
        if (f.pos < b.size() && b[f.pos] == '\n') ++f.pos;
    } else {
        ++f.pos;
    }
}

// The next value's text, and whether it stood between quotes.
std::string NextValue(OpenFile& f, bool* quoted) {
    const std::string& b = f.bytes;
    while (f.pos < b.size() && (IsBlank(b[f.pos]) || (IsLineEnd(b[f.pos]))))
        ++f.pos;  // blank lines hold no value
    if (f.pos >= b.size()) RaiseError(kInputPastEndOfFile);
    std::string value;
    if (b[f.pos] == '"') {
        *quoted = true;
        // Every value has a line of its own, so the last quote of the line closes it and a quote
        // typed into the value reads back. Without a second quote on the line the value runs to
        // the next quote in the file, or to its end.
        size_t lineEnd = b.find_first_of("\r\n", f.pos + 1);
        if (lineEnd == std::string::npos) lineEnd = b.size();
        size_t close = b.rfind('"', lineEnd - 1);
        if (close == f.pos) close = b.find('"', f.pos + 1);
        const size_t end = close == std::string::npos ? b.size() : close;
        value = b.substr(f.pos + 1, end - f.pos - 1);
        f.pos = end == b.size() ? end : end + 1;
    } else {
        *quoted = false;
        const size_t start = f.pos;
        while (f.pos < b.size() && b[f.pos] != ',' && !IsLineEnd(b[f.pos])) ++f.pos;
        value = b.substr(start, f.pos - start);
        while (!value.empty() && IsBlank(value.back())) value.pop_back();
    }
    SkipSeparator(f);
    return value;
}

}  // namespace

void TextFile::OpenForInput(int number, const QString& path) {
    Claim(number);
    const std::string host = HostPathOf(path);
    // Without blocking: a FIFO or a device under the file's name must not hold the program up.
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            // A missing file in an existing folder is "File not found"; a missing folder is a path.
            const auto slash = host.find_last_of('/');
            struct stat st {};
            const std::string folder = slash == std::string::npos ? "." : host.substr(0, slash + 1);
            if (::stat(folder.c_str(), &st) == 0) RaiseError(kFileNotFound);
        }
        RaiseFileError(error, host);
    }
    // Only a regular file is read, and only a small one: a link to /dev/zero or a file of gigabytes
    // is no text file of ours.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        RaiseErrorWithDetail(kBadFileNameOrNumber,
                             FileErrorDetail(host, EINVAL) + QStringLiteral(" (not a regular file)"));
    }
    OpenFile f;
    char chunk[4096];
    for (;;) {
        if (f.bytes.size() > kMaxInputBytes) {
            ::close(fd);
            RaiseErrorWithDetail(
                kPathFileAccessError,
                QString::fromStdString(host) + QStringLiteral(": larger than %1 bytes").arg(kMaxInputBytes));
        }
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            RaiseFileError(error, host);
        }
        if (n == 0) break;
        f.bytes.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    Files()[number] = std::move(f);
}

void TextFile::OpenForOutput(int number, const QString& path) {
    Claim(number);
    OpenFile f;
    f.output = true;
    f.hostPath = HostPathOf(path);
    // Fail now, as creating the file would, when the folder cannot take it.
    platform::AtomicFile probe;
    if (!probe.Open(f.hostPath, kRefused)) RaiseFileError(probe.Error(), f.hostPath);
    probe.Discard();
    Files()[number] = std::move(f);
}

void TextFile::WriteInteger(int number, int32_t value) {
    Opened(number, true).bytes += std::to_string(value) + "\r\n";
}

void TextFile::WriteString(int number, const QString& value) {
    std::string& bytes = Opened(number, true).bytes;
    bytes += '"';
    bytes += platform::TextBytes(value);
    bytes += "\"\r\n";
}

int16_t TextFile::InputInteger(int number) {
    bool quoted = false;
    const std::string text = NextValue(Opened(number, false), &quoted);
    size_t i = 0;
    if (!text.empty() && text[0] == '-') i = 1;
    if (quoted || i == text.size()) RaiseError(kTypeMismatch);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') RaiseError(kTypeMismatch);
        value = value * 10 + (text[i] - '0');
        if (value > 32768) RaiseError(kOverflow);
    }
    if (text[0] == '-') value = -value;
    if (value > 32767) RaiseError(kOverflow);
    return static_cast<int16_t>(value);
}

QString TextFile::InputString(int number) {
    bool quoted = false;
    return platform::BytesText(NextValue(Opened(number, false), &quoted));
}

void TextFile::Close(int number) {
    auto it = Files().find(number);
    if (it == Files().end()) return;
    OpenFile f = std::move(it->second);
    Files().erase(it);
    if (!f.output) return;
    const int error = platform::WriteFileAtomically(f.hostPath, f.bytes.data(), f.bytes.size(), kRefused);
    if (error) RaiseFileError(error, f.hostPath);
}

}  // namespace host
