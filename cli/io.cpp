#include "cli/io.h"

#include "cli/arguments.h"
#include "cli/translation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rainbow::cli {

InputFile::InputFile(int standardInput)
    : m_fd(standardInput)
    , m_name(translate("rainbowtext-cli", "standard input"))
{
}

Result<> InputFile::open(const std::optional<std::string> &path)
{
    if (!path || *path == "-")
        return {};
    const int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return usageFailure(fill(translate("rainbowtext-cli", "--file: cannot open %1: %2"),
            { quoted(*path), std::strerror(error) }));
    }
    m_fd = fd;
    m_name = quoted(*path);
    m_owned = true;
    return {};
}

InputFile::~InputFile()
{
    if (m_owned)
        ::close(m_fd);
}

namespace {

/// One read() into buffer after used, retried when a signal interrupts.
Result<std::size_t> readAt(const InputFile &file, std::string &buffer, std::size_t used)
{
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer.data() + used, buffer.size() - used);
        if (got >= 0)
            return std::size_t(got);
        if (errno != EINTR)
            return systemFailure(fill(translate("rainbowtext-cli", "cannot read %1"), { file.name() }));
    }
}

} // namespace

Result<std::size_t> readSome(const InputFile &file, std::string &buffer, std::size_t used)
{
    constexpr std::size_t least = 1 << 16;
    if (buffer.size() - used < least)
        buffer.resize(std::max(2 * buffer.size(), used + least));
    return readAt(file, buffer, used);
}

Result<std::string> readAll(const InputFile &file, TextSize &size)
{
    std::size_t expected = 0;
    struct stat info { };
    if (fstat(file.fd(), &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t at = lseek(file.fd(), 0, SEEK_CUR);
        if (at >= 0 && info.st_size > at)
            expected = std::size_t(info.st_size - at);
        size = { expected, true };
    }
    // One byte more than the file holds lets the second read() report its end.
    std::string bytes(std::max<std::size_t>(expected + 1, 1 << 16), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(2 * bytes.size());
        const Result<std::size_t> got = readAt(file, bytes, used);
        if (!got.ok())
            return got.failure();
        if (got.value() == 0)
            break;
        used += got.value();
        if (used > size.bytes)
            size = { used, false };
    }
    bytes.resize(used);
    return bytes;
}

Result<> writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return systemFailure(translate("rainbowtext-cli", "cannot write standard output"));
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return {};
}

ChunkedOutput::ChunkedOutput(int fd)
    : m_fd(fd)
    , m_buffer(std::size_t(1) << 20)
{
}

char *ChunkedOutput::reserve(std::size_t units)
{
    const std::size_t needed = units + slack;
    if (m_buffer.size() - m_used < needed) {
        static_cast<void>(flush()); // a failure stays for the next flush() to report
        if (m_buffer.size() < needed)
            m_buffer.resize(needed);
    }
    return m_buffer.data() + m_used;
}

void ChunkedOutput::write(std::string_view bytes)
{
    if (bytes.size() > m_buffer.size()) {
        if (auto written = flush().ok() ? writeAll(m_fd, bytes) : Result<>(); !written.ok())
            m_failure = written.failure();
        return;
    }
    char *at = reserve(bytes.size());
    std::memcpy(at, bytes.data(), bytes.size());
    commit(at + bytes.size());
}

Result<> ChunkedOutput::flush()
{
    if (auto written = m_failure ? Result<>() : writeAll(m_fd, { m_buffer.data(), m_used }); !written.ok())
        m_failure = written.failure();
    m_used = 0;
    return m_failure ? Result<>(*m_failure) : Result<>();
}

char *DiscardedMarkup::reserve(std::size_t units)
{
    m_room.resize(std::max(m_room.size(), units + slack));
    return m_room.data();
}

} // namespace rainbow::cli
