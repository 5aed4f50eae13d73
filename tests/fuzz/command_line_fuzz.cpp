// rainbowtext-cli on any arguments and any standard input: it never crashes, and input that is
// not UTF-8 always ends with exit status 2 and a message on standard error (one line, or with
// --lines one for each line that is not UTF-8), each line in the tool's name.
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

#include "cli/command_line.h"
#include "cli/utf8.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

using namespace rainbow;
using rainbow::fuzz::check;

namespace {

/// A file in memory holding bytes, read from its start.
int memoryFile(const std::string &bytes)
{
    const int fd = memfd_create("stdin", 0);
    check(fd >= 0, "memfd_create works");
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + at, bytes.size() - at);
        check(written > 0, "the input file takes the bytes");
        at += std::size_t(written);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

} // namespace

// Input: a byte with the number of arguments (0 to 7) in its low bits and whether standard input
// is a pipe rather than a file in bit 3, the arguments each ended by a zero byte, then standard
// input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t head = input.byte();
    std::vector<std::string> arguments { "rainbowtext-cli" };
    std::string rest = input.restBytes();
    for (int i = 0; i < (head & 7); ++i) {
        const std::size_t end = rest.find('\0');
        arguments.push_back(rest.substr(0, end));
        rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
    }

    int in = -1;
    if ((head & 8) && rest.size() < 4096) {
        int ends[2];
        check(pipe(ends) == 0, "pipe works");
        check(::write(ends[1], rest.data(), rest.size()) == ssize_t(rest.size()), "the pipe takes the input");
        close(ends[1]);
        in = ends[0];
    } else {
        in = memoryFile(rest);
    }
    const int out = open("/dev/null", O_WRONLY);
    std::ostringstream err;
    const int status = runCommandLine(arguments, in, out, err);
    close(in);
    close(out);

    const std::string message = err.str();
    check(status == 0 || status == 1 || status == 2, "exit status 0, 1 or 2");
    if (status != 0) {
        check(!message.empty() && message.back() == '\n', "a failure says why, ending its line");
        for (std::size_t line = 0; line < message.size(); line = message.find('\n', line) + 1)
            check(
                message.compare(line, 17, "rainbowtext-cli: ") == 0, "each line of a failure names the tool");
        for (const char byte : message)
            check(
                byte == '\n' || (uint8_t(byte) >= 0x20 && byte != 0x7F), "no control character in a message");
    } else {
        check(message.empty(), "success writes nothing on standard error");
    }
    // A path is bytes: an argument that may hold --file's value is let off.
    bool badArgument = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const std::string &before = i > 0 ? arguments[i - 1] : arguments[0];
        const bool mayHoldPath = (argument.rfind("-", 0) == 0 && argument.find('F') != std::string::npos)
            || argument.rfind("--file=", 0) == 0 || before == "--file"
            || (before.size() > 1 && before[0] == '-' && before.back() == 'F');
        badArgument = badArgument || (!mayHoldPath && firstInvalidUtf8(argument).has_value());
    }
    if (badArgument || (arguments.size() == 1 && firstInvalidUtf8(rest)))
        check(status == 2, "an argument or standard input that is not UTF-8 gives exit status 2");
    return 0;
}
