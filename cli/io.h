#pragma once

#include "cli/result.h"
#include "engine/markup.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rainbow::cli {

/// How much of the text was read when memory ran out, for the message.
struct TextSize {
    std::size_t bytes = 0;
    bool whole = false; // false while the text is still being read
    std::size_t line = 0; // with --lines, the line's number
};

/// The file descriptor of --file, or standard input for "-" and for none; closed with this.
class InputFile {
public:
    explicit InputFile(int standardInput);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    /// The file of path, a usage failure when it cannot be opened; standard input for none or "-".
    Result<> open(const std::optional<std::string> &path);

    int fd() const { return m_fd; }
    /// "standard input", or the path quoted for a message.
    const std::string &name() const { return m_name; }

private:
    int m_fd;
    std::string m_name;
    bool m_owned = false;
};

/// All bytes of a file descriptor; a regular file takes one read() into a buffer of its size.
/// size follows the bytes read.
Result<std::string> readAll(const InputFile &file, TextSize &size);

/// One read() into buffer's room after used, growing it when little room is left; retries when a
/// signal interrupts. Returns the bytes read, 0 at the end.
Result<std::size_t> readSome(const InputFile &file, std::string &buffer, std::size_t used);

/// Every byte to the file descriptor.
Result<> writeAll(int fd, std::string_view bytes);

/// Output in chunks of about a mebibyte, each handed to one write(): the markup of a long text
/// never stands in memory whole. After a failed write the rest is dropped, and every flush()
/// reports that failure.
class ChunkedOutput final : public MarkupSink<char> {
public:
    explicit ChunkedOutput(int fd);

    char *reserve(std::size_t units) override;
    void commit(char *end) override { m_used = std::size_t(end - m_buffer.data()); }

    void write(std::string_view bytes);
    Result<> flush();

private:
    int m_fd;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    std::optional<Failure> m_failure;
};

/// Markup that nobody reads: one batch of room, used again and again.
class DiscardedMarkup final : public MarkupSink<char> {
public:
    char *reserve(std::size_t units) override;
    void commit(char *) override { }

private:
    std::vector<char> m_room;
};

} // namespace rainbow::cli
