#pragma once

#include "engine/markup.h"

#include <optional>
#include <string>
#include <string_view>

namespace rainbow {

/// What stripColorMarkup knows beyond the built-in formats.
struct StripOptions {
    /// A format of one's own whose tags are colour tags too: OpenPrefix, six hex digits (either
    /// case), OpenSuffix, closed by CloseTag. Ignored when OpenPrefix and OpenSuffix are both
    /// empty: bare hex digits cannot be told from text.
    std::optional<MarkupTemplate> markup;
    /// Decode entities inside every colour tag, not only HTML's: the text was written with
    /// --escape in UBB, QQ空间 or markup.
    bool entitiesInEveryFormat = false;
};

/// The UTF-8 text without its colour markup, in one pass:
/// - UBB [color=V]…[/color] and QQ空间 [ftc=V]…[/ft], tag names in any case, V a colour a forum
///   takes (RRGGBB, #RRGGBB, #RGB or a CSS colour name, in any case), quoted or not;
/// - HTML <font color=V> and the color declaration of a style attribute on <font> or <span>, in
///   any quoting and case; a tag that holds more (size, a class, other declarations) keeps the
///   rest and its close tag;
/// - SGR colours (ESC [ 30..49, 90..107, 38;5;n, 38;2;r;g;b … m) and the resets that end them.
/// A close tag goes only with the open tag it closes ([/ft] and </span> close the innermost open
/// tag of their kind, coloured or not); a stray one stays. An open colour tag goes even unclosed,
/// as it colours the rest of a page. Inside HTML colour tags, &lt; &gt; &amp; &quot; &apos; &nbsp;
/// and numeric references are decoded (control characters aside). Everything else stays byte
/// for byte. Text that itself holds colour tags cannot be told from markup where a tag holds
/// several characters; where each character has a tag of its own it always can.
std::string stripColorMarkup(std::string_view text, const StripOptions &options = {});

} // namespace rainbow
