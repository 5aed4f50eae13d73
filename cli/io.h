#pragma once

#include "engine/markup.h"

#include <cstddef>
#include <stdexcept>
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

/// std::runtime_error with the words of errno after what.
std::runtime_error systemError(const std::string &what);

/// The file descriptor of --file, or standard input for "-" and for none; closed with this.
class InputFile {
public:
    /// Throws UsageError when the file cannot be opened.
    InputFile(const std::string *path, int standardInput);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

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
std::string readAll(const InputFile &file, TextSize &size);

/// One read() into buffer's room after used, growing it when little room is left; retries when a
/// signal interrupts. Returns the bytes read, 0 at the end.
std::size_t readSome(const InputFile &file, std::string &buffer, std::size_t used);

/// Every byte to the file descriptor, or systemError.
void writeAll(int fd, std::string_view bytes);

/// Output in chunks of about a mebibyte, each handed to one write(): the markup of a long text
/// never stands in memory whole.
class ChunkedOutput final : public MarkupSink<char> {
public:
    explicit ChunkedOutput(int fd);

    char *reserve(std::size_t units) override;
    void commit(char *end) override { m_used = std::size_t(end - m_buffer.data()); }

    void write(std::string_view bytes);
    void flush();

private:
    int m_fd;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
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
