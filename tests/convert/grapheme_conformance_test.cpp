// Every line of Unicode's own grapheme cluster test data, through the UTF-16 and the UTF-8 path.

#include "convert/characters.h"

#include "tests/support/cursor_fragments.h"

#include <QFile>
#include <QStringList>

#include <unicode/uchar.h>

#include <gtest/gtest.h>

#include <iostream>

using namespace rainbow;

namespace {

const char *const conformanceFile = "/usr/share/unicode/auxiliary/GraphemeBreakTest.txt";

struct ConformanceLine {
    int number;
    QString text;
    std::vector<QString> characters;
    std::vector<char32_t> codePoints;
    bool usesIndicConjunctRule; // GB9c, new in Unicode 15.1
};

/// "÷ 0020 × 0308 ÷ 0020 ÷  # comment": code points, with ÷ where a boundary lies and × where none.
ConformanceLine parse(int number, const QString &line)
{
    ConformanceLine parsed { number, {}, {}, {}, line.contains(QStringLiteral("[9.3]")) };
    QString character;
    for (const QString &token : line.section(u'#', 0, 0).split(u' ', Qt::SkipEmptyParts)) {
        if (token == QStringLiteral("÷")) {
            if (!character.isEmpty())
                parsed.characters.push_back(character);
            character.clear();
        } else if (token != QStringLiteral("×")) {
            const auto codePoint = char32_t(token.toUInt(nullptr, 16));
            parsed.codePoints.push_back(codePoint);
            character += QString::fromUcs4(&codePoint, 1);
        }
    }
    for (const QString &c : parsed.characters)
        parsed.text += c;
    return parsed;
}

/// The Unicode version in the file's first line, "# GraphemeBreakTest-15.0.0.txt", as 150000.
int fileVersion(const QString &firstLine)
{
    const QStringList parts = firstLine.section(u'-', 1).section(QStringLiteral(".txt"), 0, 0).split(u'.');
    return parts.value(0).toInt() * 10000 + parts.value(1).toInt() * 100 + parts.value(2).toInt();
}

int icuUnicodeVersion()
{
    UVersionInfo version;
    u_getUnicodeVersion(version);
    return version[0] * 10000 + version[1] * 100 + version[2];
}

/// Whether the line needs a newer Unicode than ICU's: a code point ICU does not know yet, or a
/// rule that came after its version.
bool needsNewerUnicode(const ConformanceLine &line, int icuVersion)
{
    if (line.usesIndicConjunctRule && icuVersion < 150100)
        return true;
    return std::any_of(line.codePoints.begin(), line.codePoints.end(), [](char32_t codePoint) {
        UVersionInfo age;
        u_charAge(UChar32(codePoint), age);
        return age[0] == 0 && u_charType(UChar32(codePoint)) == U_UNASSIGNED;
    });
}

} // namespace

TEST(GraphemeConformance, EveryLineOfUnicodesTestDataInUtf16AndUtf8)
{
    QFile file(QString::fromLatin1(conformanceFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text))
        << conformanceFile << " is missing: install Debian's unicode-data package";
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    const int icuVersion = icuUnicodeVersion();
    const bool fileIsNewer = fileVersion(lines.value(0)) > icuVersion;

    int checked = 0;
    int skipped = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i].startsWith(u'#'))
            continue;
        const ConformanceLine line = parse(i + 1, lines[i]);
        if (fileIsNewer && needsNewerUnicode(line, icuVersion)) {
            ++skipped;
            std::cout << "skipped line " << line.number << ": needs a newer Unicode than ICU's\n";
            continue;
        }
        SCOPED_TRACE("line " + std::to_string(line.number) + ": " + lines[i].toStdString());
        std::u16string expected16;
        std::string expected8;
        for (const QString &character : line.characters) {
            expected16 += u"<000000>" + character.toStdU16String() + u"</>";
            expected8 += "<000000>" + character.toStdString() + "</>";
        }
        const CharacterText utf16(line.text);
        const std::string utf8Text = line.text.toStdString();
        const Utf8CharacterText utf8(utf8Text);
        EXPECT_EQ(utf16.size(), qsizetype(line.characters.size()));
        EXPECT_EQ(characterCount(line.text), qsizetype(line.characters.size()));
        EXPECT_EQ(utf8.size(), qsizetype(line.characters.size()));
        EXPECT_EQ(test::fragmentsFrom<char16_t>(utf16, 0), expected16);
        EXPECT_EQ(test::fragmentsFrom<char>(utf8, 0), expected8);
        ++checked;
    }
    std::cout << "GraphemeBreakTest.txt: " << checked << " lines checked in UTF-16 and UTF-8, " << skipped
              << " skipped (newer Unicode than ICU " << icuVersion << ")\n";
    EXPECT_GT(checked, 500);
}
