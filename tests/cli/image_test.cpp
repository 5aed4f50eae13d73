// Pictures from the command-line tool: a PNG read back pixel by pixel, SVG fills held to the
// markup's colours and drawn by a second renderer, wrapping, and the refusals.

#include "tests/cli/ubb_colors.h"
#include "tests/support/icu_reference.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

/// An SVG as rainbowtext-cli writes it: the text of each line, the fill of every unit of those
/// (empty outside a tspan), and the size it declares.
struct SvgPicture {
    QStringList lines;
    QStringList colors;
    QSize size;
    QString error;
};

SvgPicture readSvg(const QByteArray &svg)
{
    SvgPicture picture;
    QXmlStreamReader reader(svg);
    QString fill;
    bool inText = false; // whitespace between the elements is no text
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (reader.name() == u"svg")
                picture.size = QSize(
                    reader.attributes().value("width").toInt(), reader.attributes().value("height").toInt());
            else if (reader.name() == u"text")
                picture.lines << QString();
            else if (reader.name() == u"tspan")
                fill = reader.attributes().value("fill").toString().toUpper();
            inText = reader.name() == u"text" || reader.name() == u"tspan";
            break;
        case QXmlStreamReader::EndElement:
            if (reader.name() == u"tspan")
                fill.clear();
            inText = reader.name() == u"tspan";
            break;
        case QXmlStreamReader::Characters:
            if (inText) {
                picture.lines.back() += reader.text();
                for (qsizetype i = 0; i < reader.text().size(); ++i)
                    picture.colors << fill;
            }
            break;
        default:
            break;
        }
    }
    picture.error = reader.errorString();
    return picture;
}

/// The colour a pixel of a transparent picture was drawn in, as #RRGGBB.
QColor opaqueColor(QRgb pixel) { return QColor(qRed(pixel), qGreen(pixel), qBlue(pixel)); }

int distance(const QColor &a, const QColor &b)
{
    return std::max(
        { std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue()) });
}

} // namespace

TEST(CommandLineImage, PngGlyphsTakeTheGradientsEndsOnATransparentGround)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gradient.png");
    const QList<QByteArray> coloring { "-s", "FF0000", "-e", "0000FF" };
    const QByteArray text = "青柚彩虹文字青柚彩虹";
    const CliRun run = runCli(coloring + QList<QByteArray> { "--image", path.toUtf8(), text });
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull());
    const QStringList colors = expectedColors(coloring, text);
    // Each ideograph takes one em, 32 pixels, after the margin of 8: the first from the left edge,
    // the last to the right one.
    const struct {
        const char *name;
        int left;
        QColor expected;
    } characters[] = {
        { "first character", 8, QColor(colors.front()) },
        { "last character", image.width() - 8 - 32, QColor(colors.back()) },
    };
    for (const auto &character : characters) {
        SCOPED_TRACE(character.name);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = character.left; x < character.left + 32; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) < 192) // antialiased edges mix in the ground
                    continue;
                ++inked;
                ASSERT_LE(distance(opaqueColor(pixel), character.expected), 3)
                    << opaqueColor(pixel).name().toStdString() << " at " << x << "," << y;
            }
        }
        EXPECT_GT(inked, 40);
    }
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(qAlpha(image.pixel(x, 0)), 0) << "ground at " << x;

    // An emoji keeps its own colours in a colour emoji font (scripts/setup installs Noto's): a
    // yellow face, whatever blue its tag has.
    const QString emojiPath = dir.filePath("emoji.png");
    ASSERT_EQ(
        runCli({ "-s", "0000FF", "-e", "0000FF", "--image", emojiPath.toUtf8(), "\U0001F600" }).exitCode, 0);
    const QImage emoji = QImage(emojiPath).convertToFormat(QImage::Format_ARGB32);
    int yellow = 0;
    for (int y = 0; y < emoji.height(); ++y) {
        for (int x = 0; x < emoji.width(); ++x)
            yellow += qAlpha(emoji.pixel(x, y)) > 192 && qRed(emoji.pixel(x, y)) > 200
                && qGreen(emoji.pixel(x, y)) > 150;
    }
    EXPECT_GT(yellow, 100);
}

TEST(CommandLineImage, SvgFillsAreTheMarkupsColoursWhateverTheColouring)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("text.svg");
    const QByteArray text = "青柚彩虹 Rainbow <&> \"x\"\n😀 第二行 e\u0301 <font color=#123456>tag</font>";
    const struct {
        const char *name;
        QList<QByteArray> options;
    } colorings[] = {
        { "the default gradient", {} },
        { "stops blended in oklab", { "-c", "#F00,#0F0,#00F", "-b", "oklab" } },
        { "reversed and symmetric", { "-r", "-S" } },
        { "a symmetric rainbow", { "-m", "rainbow", "-S" } },
        { "whitespace skipped", { "-w", "-c", "#F00,#00F" } },
        { "recoloured", { "--recolor" } },
        { "grouped to fit", { "--fit", "300" } },
    };
    for (const auto &coloring : colorings) {
        SCOPED_TRACE(coloring.name);
        const CliRun run = runCli(coloring.options + QList<QByteArray> { "--image", path.toUtf8(), text });
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const SvgPicture picture = readSvg(file.readAll());
        ASSERT_EQ(picture.error, QString());
        // The line break ends the first text element instead.
        QString converted;
        QStringList expected = expectedColors(coloring.options, text, &converted);
        expected.remove(converted.indexOf(u'\n'));
        EXPECT_EQ(picture.lines.join(u'\n'), converted);
        EXPECT_EQ(picture.colors, expected);
    }

    // librsvg draws it at the size it declares, the size of the PNG of the same text.
    const QString drawn = dir.filePath("rsvg.png");
    ASSERT_EQ(QProcess::execute("rsvg-convert", { "-o", drawn, path }), 0) << "rsvg-convert (librsvg2-bin)";
    const QString ours = dir.filePath("ours.png");
    ASSERT_EQ(runCli({ "--fit", "300", "--image", ours.toUtf8(), text }).exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QImage(drawn).size(), readSvg(file.readAll()).size);
    EXPECT_EQ(QImage(drawn).size(), QImage(ours).size());
}

TEST(CommandLineImage, WidthWrapsBetweenCharactersNeverInsideOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("wrapped.svg");
    // A family emoji (joined by ZWJ), flags, é as e and a combining accent, and a word too long
    // for the width, which must break between letters.
    const QByteArray text
        = "Rainbowtextwithoutspaces 青柚彩虹文字 \U0001F468\u200D\U0001F469\u200D\U0001F467"
          "\U0001F1E8\U0001F1F3\U0001F1E8\U0001F1F3 e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301";
    const CliRun run = runCli({ "--image", path.toUtf8(), "--width", "90", text });
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const SvgPicture picture = readSvg(file.readAll());
    const QString whole = QString::fromUtf8(text);
    EXPECT_EQ(picture.lines.join(QString()), whole);
    EXPECT_GT(picture.lines.size(), 6);
    const std::vector<qsizetype> starts = rainbow::test::icuCharacterStarts(whole);
    qsizetype at = 0;
    for (const QString &line : picture.lines) {
        EXPECT_TRUE(std::binary_search(starts.begin(), starts.end(), at)) << "a line starts at unit " << at;
        at += line.size();
    }
    EXPECT_LE(picture.size.width(), 90);
}

TEST(CommandLineImage, BadRequestsAreRefusedAndLeaveNoFile)
{
    QTemporaryDir dir;
    const QByteArray inDir = dir.filePath("picture.png").toUtf8();
    const QByteArray large = QString(200000, u'青').toUtf8();
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        QByteArray input; // standard input, when no TEXT is given
        int exitCode;
        QByteArray message;
    } cases[] = {
        { "a name of another kind", { "--image", dir.filePath("picture.jpg").toUtf8(), "abc" }, {}, 2,
            "'" + dir.filePath("picture.jpg").toUtf8() + "' ends in neither .png nor .svg" },
        { "a folder that does not exist", { "--image", dir.filePath("none/picture.png").toUtf8(), "abc" }, {},
            2,
            "cannot write in the folder '" + dir.filePath("none").toUtf8() + "': No such file or directory" },
        { "a folder that cannot be written", { "--image", "/proc/picture.png", "abc" }, {}, 2,
            "cannot write in the folder '/proc'" },
        { "an empty text", { "--image", inDir, " " }, {}, 2, "the text is empty" },
        { "a text --recolor leaves empty", { "--image", inDir, "--recolor", "[color=red][/color]" }, {}, 2,
            "the text is empty" },
        { "a line too wide, in little memory", { "--image", inDir }, large, 2,
            "the picture would be at least 32768 × " },
        { "lines too many, in little memory", { "--image", inDir, "--width", "1000" }, large, 2,
            "pixels, larger than the limit of 32767 on a side and 50000000 in all; give --width to wrap the "
            "lines, or a smaller --font-size" },
        { "a font size over the limit", { "--image", inDir, "--font-size", "1001", "abc" }, {}, 2,
            "--font-size: '1001' is too large (at most 1000)" },
        { "a rainbow too short, as for markup", { "--image", inDir, "-m", "rainbow", "abc" }, {}, 1,
            "a rainbow needs at least 6 characters" },
        { "markup options", { "--image", inDir, "--merge", "abc" }, {}, 2,
            "--merge does nothing with --image" },
        { "picture options without a picture", { "--width", "100", "abc" }, {}, 2,
            "--width does nothing without --image" },
    };
    for (const auto &bad : cases) {
        SCOPED_TRACE(bad.name);
#ifdef RAINBOWTEXT_ADDRESS_SANITIZER
        const long limitKib = 0; // refused all the same, only not shown to need no more
#else
        const long limitKib = bad.input.isEmpty() ? 0 : 1000000;
#endif
        const CliRun run = runCli(bad.arguments, bad.input, {}, limitKib);
        EXPECT_EQ(run.exitCode, bad.exitCode);
        EXPECT_TRUE(run.err.contains(bad.message)) << run.err.constData();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }

    // PNG to standard output when that is a terminal (script(1) gives it one).
    QProcess terminal;
    terminal.start("script", { "-qec", RAINBOWTEXT_CLI_PATH " --image - abc", "/dev/null" });
    ASSERT_TRUE(terminal.waitForFinished(60000));
    EXPECT_EQ(terminal.exitCode(), 2);
    EXPECT_TRUE(terminal.readAllStandardOutput().contains("standard output is a terminal"));

    // A typeface that is not installed: a warning naming the one drawn with instead.
    const CliRun run = runCli({ "--image", inDir, "--font", "No Such Face", "abc" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        run.err.startsWith("rainbowtext-cli: warning: font 'No Such Face' is not installed; drawn in '"))
        << run.err.constData();
    EXPECT_FALSE(QImage(QString::fromUtf8(inDir)).isNull());
}
