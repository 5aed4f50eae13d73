#include "cli/image.h"

#include "cli/arguments.h"
#include "cli/io.h"
#include "cli/text_writer.h"
#include "cli/translation.h"
#include "convert/boundaries.h"
#include "convert/characters.h"
#include "engine/code_points.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unicode/ubrk.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>
#include <new>
#include <ostream>

namespace rainbow::cli {

namespace {

/// Where the conversion put each colour, as runs of byte offsets, neighbours of one colour joined.
class ImageColors final : public ColorSpanSink<char> {
public:
    void start(std::string_view trimmedText) override { m_text = trimmedText; }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        if (!m_runs.empty() && m_runs.back().color == color && m_runs.back().end == first) {
            m_runs.back().end = end;
            return;
        }
        m_runs.push_back({ first, end, color });
    }

    std::string_view text() const { return m_text; }
    const std::vector<ByteRun> &runs() const { return m_runs; }

private:
    std::string_view m_text;
    std::vector<ByteRun> m_runs;
};

/// UTF-16 code units of the well-formed UTF-8 bytes [from, to); INT32_MAX when there are that many
/// or more.
int32_t utf16Units(std::string_view text, std::size_t from, std::size_t to)
{
    return int32_t(std::min<std::size_t>(utf16Length(text.substr(from, to - from)), INT32_MAX));
}

/// The breaks of a text: its character boundaries, and ICU's line breaks with the hard ones
/// (after a line break character) marked.
std::vector<uint8_t> breaksOf(const QString &text)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const auto size = std::size_t(text.size());
    std::vector<uint8_t> breaks(size + 1, 0);
    breaks[0] = breaks[size] = CharacterStart;
    BoundaryScanner<char16_t> characters(units, size);
    while (!characters.atEnd())
        breaks[characters.next()] |= CharacterStart;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> lines(
        ubrk_open(UBRK_LINE, "", reinterpret_cast<const UChar *>(units), int32_t(size), &status),
        &ubrk_close);
    checkIcu(status, "ubrk_open");
    for (int32_t at = ubrk_next(lines.get()); at != UBRK_DONE; at = ubrk_next(lines.get())) {
        const bool hard = ubrk_getRuleStatus(lines.get()) >= UBRK_LINE_HARD;
        breaks[std::size_t(at)] |= hard ? HardBreak : LineBreak;
    }
    return breaks;
}

/// The drawing module's file: where it is installed, relative to the program, which in the build
/// tree is laid out the same way.
Result<std::string> modulePath()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return systemFailure(translate("rainbowtext-cli", "cannot find the program's own folder"));
    std::string path(self, std::size_t(length));
    path.erase(path.rfind('/') + 1);
    return path + RAINBOWTEXT_IMAGE_MODULE;
}

Result<DrawImageFunction> loadModule()
{
    const Result<std::string> path = modulePath();
    if (!path.ok())
        return path.failure();
    // Loaded for the rest of the run: Qt's GUI library it brings cannot be unloaded cleanly.
    void *module = ::dlopen(path.value().c_str(), RTLD_NOW | RTLD_LOCAL);
    void *draw = module ? ::dlsym(module, drawImageSymbol) : nullptr;
    if (!draw) {
        const char *why = ::dlerror();
        return Failure { fill(translate("rainbowtext-cli", "cannot load the drawing module %1: %2"),
            { quoted(path.value()), why ? why : "" }) };
    }
    return reinterpret_cast<DrawImageFunction>(draw);
}

/// A file beside the picture's, renamed to it once it is whole and removed otherwise.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string &path)
        : m_path(path)
    {
    }

    /// The temporary file made, readable by whom the umask lets read it, as any new file.
    Result<> open()
    {
        const std::string &path = m_path;
        const std::size_t slash = path.rfind('/');
        const std::string folder
            = slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        m_temporary = (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + '.' + name + ".XXXXXX";
        m_fd = ::mkstemp(m_temporary.data());
        if (m_fd < 0) {
            m_temporary.clear();
            return systemFailure(fill(translate("rainbowtext-cli", "--image: cannot write in the folder %1"),
                { quoted(folder) }));
        }
        const mode_t mask = ::umask(0); // mkstemp makes it the owner's alone
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
        return {};
    }

    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_temporary.empty())
            ::unlink(m_temporary.c_str());
    }

    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return m_fd; }

    /// The file under its own name, whole.
    Result<> keep()
    {
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0 || ::rename(m_temporary.c_str(), m_path.c_str()) != 0)
            return systemFailure(fill(translate("rainbowtext-cli", "cannot write %1"), { quoted(m_path) }));
        m_temporary.clear();
        return {};
    }

private:
    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
};

std::string sizeText(int64_t width, int64_t height)
{
    return std::to_string(width) + " × " + std::to_string(height);
}

} // namespace

std::optional<ImageKind> imageKind(std::string_view path)
{
    if (path == "-")
        return ImageKind::Png;
    const auto endsWith = [path](std::string_view ending) {
        if (path.size() <= ending.size() || path[path.size() - ending.size() - 1] == '/')
            return false;
        for (std::size_t i = 0; i < ending.size(); ++i) {
            const char c = path[path.size() - ending.size() + i];
            if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != ending[i])
                return false;
        }
        return true;
    };
    if (endsWith(".png"))
        return ImageKind::Png;
    if (endsWith(".svg"))
        return ImageKind::Svg;
    return std::nullopt;
}

ImageJob imageJob(std::string_view trimmed, const std::vector<ByteRun> &byteRuns)
{
    if (utf16Units(trimmed, 0, trimmed.size()) == INT32_MAX)
        throw std::bad_alloc();
    ImageJob job;
    job.text = QString::fromUtf8(trimmed.data(), qsizetype(trimmed.size()));
    job.runs.reserve(byteRuns.size());
    std::size_t byte = 0;
    int32_t unit = 0;
    for (const ByteRun &run : byteRuns) {
        unit += utf16Units(trimmed, byte, run.first);
        const int32_t start = unit;
        unit += utf16Units(trimmed, run.first, run.end);
        byte = run.end;
        job.runs.push_back({ start, unit, run.color });
    }
    job.breaks = breaksOf(job.text);
    return job;
}

Result<> drawImage(const Request &request, std::string_view text, int output, std::ostream &err)
{
    const ImageOptions &options = request.image;
    const Failure nothingToDraw { translate("rainbowtext-cli", "--image: the text is empty: nothing to draw") };
    if (trimSpaces(text).empty())
        return nothingToDraw;
    const bool toOutput = options.path == "-";
    if (toOutput && ::isatty(output))
        return Failure { translate("rainbowtext-cli",
            "--image -: standard output is a terminal; send the PNG into a pipe or a file, or name a file") };
    std::optional<TemporaryFile> file;
    if (!toOutput) {
        if (auto opened = file.emplace(options.path).open(); !opened.ok())
            return opened;
    }

    ImageColors colors;
    ChunkedOutput unused(output); // the colours go to colors, nothing is written
    TextWriter writer(request, unused, &colors);
    if (auto converted = writer.convert(text); !converted.ok())
        return converted;
    if (colors.text().empty())
        return nothingToDraw;

    ImageJob job = imageJob(colors.text(), colors.runs());
    job.options = options;
    job.fd = toOutput ? output : file->fd();
    const Result<DrawImageFunction> draw = loadModule();
    if (!draw.ok())
        return draw.failure();
    ImageOutcome outcome;
    draw.value()(&job, &outcome);

    if (!outcome.missingFont.isEmpty())
        err << "rainbowtext-cli: "
            << fill(translate("rainbowtext-cli", "warning: font %1 is not installed; drawn in %2 instead"),
                   { quoted(outcome.missingFont.toStdString()), quoted(outcome.usedFont.toStdString()) })
            << '\n';
    switch (outcome.status) {
    case ImageOutcome::Status::Drawn:
        break;
    case ImageOutcome::Status::TooLarge:
        return Failure { fill(translate("rainbowtext-cli",
                                          "--image: the picture would be at least %1 pixels, larger than "
                                          "the limit of %2 on a side and %3 in all; give --width to wrap the "
                                          "lines, or a smaller --font-size"),
            { sizeText(outcome.width, outcome.height), std::to_string(maxImageSide),
                std::to_string(maxImagePixels) }) };
    case ImageOutcome::Status::OutOfMemory:
        throw std::bad_alloc();
    case ImageOutcome::Status::WriteFailed:
        errno = outcome.errorNumber;
        return systemFailure(toOutput ? translate("rainbowtext-cli", "cannot write standard output")
                                   : fill(translate("rainbowtext-cli", "cannot write %1"), { quoted(options.path) }));
    }
    return file ? file->keep() : Result<>();
}

} // namespace rainbow::cli
