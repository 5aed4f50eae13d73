#include "engine/strip_colors.h"

#include "engine/color_syntax.h"
#include "engine/terminal_color.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

namespace rainbow {

namespace {

// Bounds that keep one pass linear: a '<' or '[' that does not close its tag within them is text.
constexpr std::size_t longestHtmlTag = 1024;
constexpr std::size_t longestValue = 64; // of a UBB or QQ空间 tag

constexpr std::size_t none = std::string_view::npos;

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isDigit(c) || (lower(c) >= 'a' && lower(c) <= 'z'); }

/// Whether text has the lowercase ASCII word at at, in any case.
bool hasWordAt(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

bool equalsWord(std::string_view text, std::string_view word)
{
    return text.size() == word.size() && hasWordAt(text, 0, word);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendUtf8(std::string &out, char32_t c)
{
    char bytes[U8_MAX_LENGTH];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, UChar32(c));
    out.append(bytes, length);
}

/// The colour names browsers know (CSS), sorted.
constexpr std::string_view colorNames[] = { "aliceblue", "antiquewhite", "aqua", "aquamarine", "azure",
    "beige", "bisque", "black", "blanchedalmond", "blue", "blueviolet", "brown", "burlywood", "cadetblue",
    "chartreuse", "chocolate", "coral", "cornflowerblue", "cornsilk", "crimson", "cyan", "darkblue",
    "darkcyan", "darkgoldenrod", "darkgray", "darkgreen", "darkgrey", "darkkhaki", "darkmagenta",
    "darkolivegreen", "darkorange", "darkorchid", "darkred", "darksalmon", "darkseagreen", "darkslateblue",
    "darkslategray", "darkslategrey", "darkturquoise", "darkviolet", "deeppink", "deepskyblue", "dimgray",
    "dimgrey", "dodgerblue", "firebrick", "floralwhite", "forestgreen", "fuchsia", "gainsboro", "ghostwhite",
    "gold", "goldenrod", "gray", "green", "greenyellow", "grey", "honeydew", "hotpink", "indianred", "indigo",
    "ivory", "khaki", "lavender", "lavenderblush", "lawngreen", "lemonchiffon", "lightblue", "lightcoral",
    "lightcyan", "lightgoldenrodyellow", "lightgray", "lightgreen", "lightgrey", "lightpink", "lightsalmon",
    "lightseagreen", "lightskyblue", "lightslategray", "lightslategrey", "lightsteelblue", "lightyellow",
    "lime", "limegreen", "linen", "magenta", "maroon", "mediumaquamarine", "mediumblue", "mediumorchid",
    "mediumpurple", "mediumseagreen", "mediumslateblue", "mediumspringgreen", "mediumturquoise",
    "mediumvioletred", "midnightblue", "mintcream", "mistyrose", "moccasin", "navajowhite", "navy", "oldlace",
    "olive", "olivedrab", "orange", "orangered", "orchid", "palegoldenrod", "palegreen", "paleturquoise",
    "palevioletred", "papayawhip", "peachpuff", "peru", "pink", "plum", "powderblue", "purple",
    "rebeccapurple", "red", "rosybrown", "royalblue", "saddlebrown", "salmon", "sandybrown", "seagreen",
    "seashell", "sienna", "silver", "skyblue", "slateblue", "slategray", "slategrey", "snow", "springgreen",
    "steelblue", "tan", "teal", "thistle", "tomato", "turquoise", "violet", "wheat", "white", "whitesmoke",
    "yellow", "yellowgreen" };

/// Whether a UBB or QQ空间 value is a colour a forum takes: a hex code as the tool writes and
/// reads it (RRGGBB, #RRGGBB, #RGB) or a colour name, in any case.
bool isForumColor(std::string_view value)
{
    if (parseHexColor(value))
        return true;
    std::string name;
    for (const char c : value)
        name += lower(c);
    return std::binary_search(std::begin(colorNames), std::end(colorNames), name);
}

/// The end of a colour value starting at from and its closing ']': a colour a forum takes, in
/// quotes or not; none when there is no such value.
std::size_t colorValueEnd(std::string_view text, std::size_t from)
{
    std::size_t at = from;
    const char quote = at < text.size() && (text[at] == '"' || text[at] == '\'') ? text[at++] : '\0';
    const std::size_t start = at;
    while (at < text.size() && at - start < longestValue && (isAlnum(text[at]) || text[at] == '#'))
        ++at;
    if (!isForumColor(text.substr(start, at - start))
        || (quote && (at == text.size() || text[at++] != quote)))
        return none;
    return at < text.size() && text[at] == ']' ? at + 1 : none;
}

/// The end of any other value (a size, a font name) and its ']'.
std::size_t valueEnd(std::string_view text, std::size_t from)
{
    std::size_t at = from;
    for (; at < text.size() && at - from < longestValue; ++at) {
        const char c = text[at];
        if (c == ']')
            return at > from ? at + 1 : none;
        if (c == '[' || c == '\n' || c == '\r')
            return none;
    }
    return none;
}

/// The style's declarations without its color ones; hadColor tells whether there was one.
std::string withoutColorDeclarations(std::string_view style, bool &hadColor)
{
    std::string kept;
    bool first = true;
    for (std::size_t at = 0; at <= style.size();) {
        std::size_t end = style.find(';', at);
        if (end == none)
            end = style.size();
        const std::string_view declaration = style.substr(at, end - at);
        const std::size_t colon = declaration.find(':');
        if (colon != none && equalsWord(trimmed(declaration.substr(0, colon)), "color")) {
            hadColor = true;
        } else {
            if (!first)
                kept += ';';
            kept += declaration;
            first = false;
        }
        at = end + 1;
    }
    const std::string_view rest = trimmed(kept);
    return rest.empty() ? std::string() : kept.substr(std::size_t(rest.data() - kept.data()));
}

enum class Bracket { None, UbbClose, QzoneClose, UbbOpen, QzoneColorOpen, QzoneOtherOpen };

/// The UBB or QQ空间 tag at at and its end: [/color], [/ft], [color=…], [ftc=…], and [fts=…] or
/// [ftf=…] (size, font), which share [/ft] with the colour.
std::pair<Bracket, std::size_t> readBracket(std::string_view text, std::size_t at)
{
    if (hasWordAt(text, at, "[/color]"))
        return { Bracket::UbbClose, at + 8 };
    if (hasWordAt(text, at, "[/ft]"))
        return { Bracket::QzoneClose, at + 5 };
    if (hasWordAt(text, at, "[color=")) {
        const std::size_t end = colorValueEnd(text, at + 7);
        return { end == none ? Bracket::None : Bracket::UbbOpen, end };
    }
    if (hasWordAt(text, at, "[ft") && text.size() - at > 4 && isAlnum(text[at + 3]) && text[at + 4] == '=') {
        const bool color = lower(text[at + 3]) == 'c';
        const std::size_t end = color ? colorValueEnd(text, at + 5) : valueEnd(text, at + 5);
        if (end == none)
            return { Bracket::None, none };
        return { color ? Bracket::QzoneColorOpen : Bracket::QzoneOtherOpen, end };
    }
    return { Bracket::None, none };
}

/// The end of the SGR sequence ESC [ … m at at (its 'm' included); none when there is none.
std::size_t sgrEnd(std::string_view text, std::size_t at)
{
    const std::size_t length = sgrLength(text, at);
    return length ? at + length : none;
}

class Stripper {
public:
    Stripper(std::string_view text, const StripOptions &options)
        : m_text(text)
        , m_entitiesEverywhere(options.entitiesInEveryFormat)
    {
        for (const char c : { '[', '<', '\x1b', '&' })
            m_special[uint8_t(c)] = true;
        for (const char c : { '[', '\x1b' })
            m_otherStart[uint8_t(c)] = true;
        if (options.markup && !(options.markup->OpenPrefix.empty() && options.markup->OpenSuffix.empty())) {
            m_template = &*options.markup;
            for (const std::string *tag : { &m_template->OpenPrefix, &m_template->CloseTag }) {
                if (!tag->empty())
                    m_special[uint8_t(tag->front())] = m_otherStart[uint8_t(tag->front())] = true;
            }
            // Without a prefix, an open tag starts with its colour's digits.
            for (unsigned c = 0; c < 256 && m_template->OpenPrefix.empty(); ++c) {
                if (hexDigitValue(char(c)) >= 0)
                    m_special[c] = m_otherStart[c] = true;
            }
        }
        m_out.reserve(text.size());
    }

    std::string run()
    {
        const std::size_t n = m_text.size();
        while (m_at < n) {
            std::size_t plain = m_at;
            while (plain < n && !m_special[uint8_t(m_text[plain])])
                ++plain;
            m_out.append(m_text, m_at, plain - m_at);
            m_at = plain;
            if (m_at < n && !markup())
                m_out += m_text[m_at++];
        }
        return std::move(m_out);
    }

private:
    enum class Tag : uint8_t { Plain, Rewritten, Removed };

    struct Attribute {
        std::size_t start; // its leading whitespace
        std::size_t nameStart, nameEnd;
        std::size_t valueStart, valueEnd; // none when it has no value
        std::size_t end; // after its closing quote
    };

    /// Consumes the markup at m_at, writing what stays of it; false when it is text.
    bool markup()
    {
        if (m_template && templateTag())
            return true;
        switch (m_text[m_at]) {
        case '[':
            return bracketTag();
        case '<':
            return htmlTag();
        case '\x1b':
            return sgr();
        case '&':
            return decoding() && entity();
        default:
            return false;
        }
    }

    // Entities are decoded only inside HTML colour tags (or every colour tag when asked): whoever
    // wrote those tags escaped the text in them; text elsewhere is kept byte for byte.
    bool decoding() const { return m_htmlColors > 0 || (m_entitiesEverywhere && m_otherColors > 0); }

    void skip(std::size_t end) { m_at = end; }

    void keep(std::size_t end)
    {
        m_out.append(m_text, m_at, end - m_at);
        m_at = end;
    }

    /// The end of the template's open tag at at; none when there is none.
    std::size_t templateOpenEnd(std::size_t at) const
    {
        const MarkupTemplate &markup = *m_template;
        const std::size_t digits = at + markup.OpenPrefix.size();
        if (m_text.size() < digits + 6 || m_text.compare(at, markup.OpenPrefix.size(), markup.OpenPrefix) != 0
            || !parseHexColor(m_text.substr(digits, 6))
            || m_text.compare(digits + 6, markup.OpenSuffix.size(), markup.OpenSuffix) != 0)
            return none;
        return digits + 6 + markup.OpenSuffix.size();
    }

    bool templateCloseAt(std::size_t at) const
    {
        const std::string &close = m_template->CloseTag;
        return !close.empty() && m_text.compare(at, close.size(), close) == 0;
    }

    bool templateTag()
    {
        if (const std::size_t end = templateOpenEnd(m_at); end != none) {
            ++m_templateOpen;
            ++m_otherColors;
            skip(end);
            return true;
        }
        if (m_templateOpen > 0 && templateCloseAt(m_at)) {
            --m_templateOpen;
            --m_otherColors;
            skip(m_at + m_template->CloseTag.size());
            return true;
        }
        return false;
    }

    /// Whether a colour tag of UBB, QQ空间, SGR or the template starts at at: such a tag inside
    /// what looks like an HTML tag means the HTML was text that the colour tags split.
    bool otherColorMarkupAt(std::size_t at) const
    {
        if (m_template && (templateOpenEnd(at) != none || templateCloseAt(at)))
            return true;
        if (m_text[at] == '\x1b')
            return sgrEnd(m_text, at) != none;
        const Bracket kind = readBracket(m_text, at).first;
        return kind != Bracket::None && kind != Bracket::QzoneOtherOpen;
    }

    /// Whether [from, to) holds a '<' or the start of a colour tag of another kind.
    bool holdsOtherMarkup(std::size_t from, std::size_t to) const
    {
        for (std::size_t i = from; i < to; ++i) {
            if (m_text[i] == '<' || (m_otherStart[uint8_t(m_text[i])] && otherColorMarkupAt(i)))
                return true;
        }
        return false;
    }

    bool bracketTag()
    {
        const auto [kind, end] = readBracket(m_text, m_at);
        switch (kind) {
        case Bracket::None:
            return false;
        case Bracket::UbbClose:
            if (m_ubbOpen == 0)
                return false;
            --m_ubbOpen;
            --m_otherColors;
            skip(end);
            return true;
        case Bracket::QzoneClose: {
            if (m_qzone.empty())
                return false;
            const bool color = m_qzone.back();
            m_qzone.pop_back();
            if (!color)
                return false; // the close of a size or a font stays with it
            --m_otherColors;
            skip(end);
            return true;
        }
        case Bracket::UbbOpen:
            ++m_ubbOpen;
            ++m_otherColors;
            skip(end);
            return true;
        case Bracket::QzoneColorOpen:
            m_qzone.push_back(true);
            ++m_otherColors;
            skip(end);
            return true;
        case Bracket::QzoneOtherOpen:
            if (holdsOtherMarkup(m_at + 5, end))
                return false;
            m_qzone.push_back(false);
            keep(end);
            return true;
        }
        return false;
    }

    bool htmlTag()
    {
        const std::size_t at = m_at;
        const bool close = at + 1 < m_text.size() && m_text[at + 1] == '/';
        const std::size_t nameStart = at + (close ? 2 : 1);
        if (at < m_noTagBefore)
            return false;
        std::vector<Tag> *stack = nullptr;
        std::size_t nameEnd = nameStart;
        if (hasWordAt(m_text, nameStart, "font")) {
            stack = &m_font;
            nameEnd += 4;
        } else if (hasWordAt(m_text, nameStart, "span")) {
            stack = &m_span;
            nameEnd += 4;
        } else {
            return false;
        }
        if (close) {
            std::size_t end = nameEnd;
            while (end < m_text.size() && isSpace(m_text[end]))
                ++end;
            if (end == m_text.size() || m_text[end] != '>' || stack->empty())
                return false;
            const Tag tag = stack->back();
            stack->pop_back();
            if (tag != Tag::Plain)
                --m_htmlColors;
            if (tag == Tag::Removed)
                skip(end + 1);
            else
                keep(end + 1);
            return true;
        }
        const std::size_t end = parseAttributes(nameEnd);
        if (end == none)
            return false;
        for (std::size_t i = nameEnd; i < end; ++i) {
            if (m_otherStart[uint8_t(m_text[i])] && otherColorMarkupAt(i)) {
                m_noTagBefore = i;
                return false;
            }
        }
        const bool font = stack == &m_font;
        // What stays of each attribute: all of it, nothing, or a style without its colours.
        bool colored = false;
        std::size_t kept = 0;
        std::vector<std::string> &styles = m_styles;
        std::vector<uint8_t> &keepAttribute = m_keepAttribute;
        styles.resize(m_attributes.size());
        keepAttribute.assign(m_attributes.size(), 1);
        for (std::size_t i = 0; i < m_attributes.size(); ++i) {
            const Attribute &a = m_attributes[i];
            const std::string_view name = m_text.substr(a.nameStart, a.nameEnd - a.nameStart);
            if (font && equalsWord(name, "color")) {
                colored = true;
                keepAttribute[i] = 0;
            } else if (equalsWord(name, "style") && a.valueStart != none) {
                bool hadColor = false;
                styles[i] = withoutColorDeclarations(
                    m_text.substr(a.valueStart, a.valueEnd - a.valueStart), hadColor);
                colored = colored || hadColor;
                keepAttribute[i] = !hadColor ? 1 : styles[i].empty() ? 0 : 2;
            }
            kept += keepAttribute[i] != 0 ? 1 : 0;
        }
        if (!colored) {
            stack->push_back(Tag::Plain);
            keep(end);
            return true;
        }
        ++m_htmlColors;
        if (kept == 0) {
            stack->push_back(Tag::Removed);
            skip(end);
            return true;
        }
        stack->push_back(Tag::Rewritten);
        m_out.append(m_text, at, nameEnd - at);
        for (std::size_t i = 0; i < m_attributes.size(); ++i) {
            const Attribute &a = m_attributes[i];
            if (keepAttribute[i] == 1) {
                m_out.append(m_text, a.start, a.end - a.start);
            } else if (keepAttribute[i] == 2) {
                m_out.append(m_text, a.start, a.valueStart - a.start);
                m_out += styles[i];
                m_out.append(m_text, a.valueEnd, a.end - a.valueEnd);
            }
        }
        const std::size_t tail = m_attributes.empty() ? nameEnd : m_attributes.back().end;
        m_out.append(m_text, tail, end - tail);
        m_at = end;
        return true;
    }

    /// Reads the attributes of an open tag from after its name into m_attributes; returns the end
    /// of the tag (after '>'), none when it is no tag. A '<' outside quotes ends a tag that failed;
    /// the '<'s inside what it read are not tried again, which keeps the pass linear.
    std::size_t parseAttributes(std::size_t at)
    {
        m_attributes.clear();
        const std::string_view text = m_text.substr(0, std::min(m_text.size(), m_at + longestHtmlTag));
        const auto fail = [this](std::size_t reached) {
            m_noTagBefore = reached;
            return none;
        };
        const auto ends = [&](std::size_t i) { return isSpace(text[i]) || text[i] == '>' || text[i] == '<'; };
        if (at < text.size() && !ends(at) && text[at] != '/')
            return none;
        for (;;) {
            const std::size_t start = at;
            while (at < text.size() && (isSpace(text[at]) || text[at] == '/'))
                ++at;
            if (at == text.size() || text[at] == '<')
                return fail(at);
            if (text[at] == '>')
                return at + 1;
            Attribute a { start, at, at, none, none, at };
            while (at < text.size() && !ends(at) && text[at] != '=' && text[at] != '/')
                ++at;
            if (at == a.nameStart)
                return fail(at); // '=' with no name
            a.nameEnd = at;
            std::size_t equals = at;
            while (equals < text.size() && isSpace(text[equals]))
                ++equals;
            if (equals < text.size() && text[equals] == '=') {
                at = equals + 1;
                while (at < text.size() && isSpace(text[at]))
                    ++at;
                if (at == text.size())
                    return fail(at);
                if (text[at] == '"' || text[at] == '\'') {
                    const std::size_t closing = text.find(text[at], at + 1);
                    if (closing == none)
                        return fail(text.size());
                    a.valueStart = at + 1;
                    a.valueEnd = closing;
                    at = closing + 1;
                } else {
                    a.valueStart = at;
                    while (at < text.size() && !ends(at))
                        ++at;
                    a.valueEnd = at;
                }
            }
            a.end = at;
            m_attributes.push_back(a);
        }
    }

    static bool isColorParameter(int value)
    {
        return (value >= 30 && value <= 39) || (value >= 40 && value <= 49) || (value >= 90 && value <= 97)
            || (value >= 100 && value <= 107) || value == 58 || value == 59;
    }

    /// ESC [ … m: its colour parameters go, and a reset goes too unless it ends something else
    /// (bold, underline) that the text turned on.
    bool sgr()
    {
        const std::size_t at = m_at;
        const std::size_t sequenceEnd = sgrEnd(m_text, at);
        if (sequenceEnd == none)
            return false;
        const std::size_t end = sequenceEnd - 1; // at the 'm'
        if (end > at + 2 && m_text[at + 2] >= '<') { // a private marker: no colour of SGR's
            keep(sequenceEnd);
            return true;
        }
        std::vector<std::string_view> parameters;
        const std::string_view list = m_text.substr(at + 2, end - at - 2);
        for (std::size_t from = 0;;) {
            const std::size_t semicolon = list.find(';', from);
            parameters.push_back(list.substr(from, semicolon == none ? none : semicolon - from));
            if (semicolon == none)
                break;
            from = semicolon + 1;
        }
        std::string kept; // no parameter kept is empty: an empty one is a reset
        bool dropped = false;
        const auto keepParameter = [&](std::string_view parameter) {
            if (!kept.empty())
                kept += ';';
            kept += parameter;
        };
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const std::string_view parameter = parameters[i];
            int value = 0;
            bool number = parameter.size() <= 3;
            for (std::size_t k = 0; number && k < parameter.size(); ++k) {
                number = isDigit(parameter[k]);
                value = value * 10 + (parameter[k] - '0');
            }
            if (number && value == 0) { // a reset, ESC [ m among them
                if (m_sgrAttributes) {
                    keepParameter("0");
                    m_sgrAttributes = false;
                } else {
                    dropped = true;
                }
            } else if (number && (value == 38 || value == 48)) {
                // 38;5;n and 38;2;r;g;b take their arguments along.
                const std::string_view kind = i + 1 < parameters.size() ? parameters[i + 1] : "";
                i += kind == "5" ? 2 : kind == "2" ? 4 : 0;
                dropped = true;
            } else if ((number && isColorParameter(value))
                || (!number && parameter.size() > 3 && parameter[2] == ':'
                    && (parameter.substr(0, 2) == "38" || parameter.substr(0, 2) == "48"
                        || parameter.substr(0, 2) == "58"))) {
                dropped = true;
            } else {
                keepParameter(parameter);
                m_sgrAttributes = true;
            }
        }
        if (!dropped) {
            keep(end + 1);
            return true;
        }
        if (!kept.empty()) {
            m_out += "\x1b[";
            m_out += kept;
            m_out += 'm';
        }
        m_at = end + 1;
        return true;
    }

    bool entity()
    {
        const std::string_view rest = m_text.substr(m_at, 12);
        static constexpr std::array<std::pair<std::string_view, char32_t>, 6> named { {
            { "&lt;", U'<' },
            { "&gt;", U'>' },
            { "&amp;", U'&' },
            { "&quot;", U'"' },
            { "&apos;", U'\'' },
            { "&nbsp;", U'\u00A0' },
        } };
        for (const auto &[name, c] : named) {
            if (rest.compare(0, name.size(), name) == 0) {
                appendUtf8(m_out, c);
                m_at += name.size();
                return true;
            }
        }
        if (rest.size() < 4 || rest[1] != '#')
            return false;
        const bool hex = lower(rest[2]) == 'x';
        std::size_t at = hex ? 3 : 2;
        char32_t c = 0;
        const std::size_t first = at;
        const auto digitAt = [&](std::size_t i) {
            const int digit = hexDigitValue(rest[i]);
            return hex || digit < 10 ? digit : -1;
        };
        for (; at < rest.size() && digitAt(at) >= 0 && at - first < 7; ++at)
            c = c * (hex ? 16 : 10) + char32_t(digitAt(at));
        // Control characters stay written out: none reaches a terminal from here.
        const bool control = (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c < 0xA0);
        if (at == first || at == rest.size() || rest[at] != ';' || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)
            || c == 0 || control)
            return false;
        appendUtf8(m_out, c);
        m_at += at + 1;
        return true;
    }

    std::string_view m_text;
    bool m_entitiesEverywhere;
    const MarkupTemplate *m_template = nullptr;
    std::array<bool, 256> m_special {}; // bytes where markup or an entity may start
    std::array<bool, 256> m_otherStart {}; // bytes where a colour tag other than HTML's may start
    std::string m_out;
    std::size_t m_at = 0;

    int64_t m_ubbOpen = 0;
    int64_t m_templateOpen = 0;
    std::vector<bool> m_qzone; // open [ft…] tags: whether each colours
    std::vector<Tag> m_font;
    std::vector<Tag> m_span;
    int64_t m_htmlColors = 0; // HTML colour tags open
    int64_t m_otherColors = 0; // other colour tags open
    bool m_sgrAttributes = false; // since the last reset, something other than a colour was set
    // Of the tag being read: its attributes, what stays of each (1 all, 0 nothing, 2 the style
    // without its colours) and those styles.
    std::vector<Attribute> m_attributes;
    std::size_t m_noTagBefore = 0; // inside a tag that failed: no '<' before it starts one
    std::vector<uint8_t> m_keepAttribute;
    std::vector<std::string> m_styles;
};

} // namespace

std::string stripColorMarkup(std::string_view text, const StripOptions &options)
{
    return Stripper(text, options).run();
}

} // namespace rainbow
