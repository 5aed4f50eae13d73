<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>rainbowtext-cli</name>
    <message>
        <source>%1 is not valid UTF-8 (byte offset %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. Try &apos;rainbowtext-cli --help&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory for a text of more than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory for a text of more than %1 bytes (line %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory for a text of %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory for a text of %1 bytes (line %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: rainbowtext-cli [OPTION]... [--] [TEXT]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wraps every character of TEXT (or of the file, or of standard input, without one trailing line break) in a colour tag, as a gradient or a rainbow, and prints the markup. A leading byte-order mark is dropped and spaces (U+0020) around the text are trimmed. A character is what a reader sees as one (an emoji, a flag, a letter with its marks) by the rules of Unicode %1, the version of the system&apos;s ICU library; a character newer than that may be split. In a gradient, character k of n takes the colour k/n of the way along the colours, so the last takes the end colour and the first is one step past the start colour, as in the desktop program. Colours are RRGGBB, #RRGGBB or #RGB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shorter markup:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Markup:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input and output:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;--&apos; ends the options: rainbowtext-cli -- -5 converts the text -5.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>Between the options listed in &quot;An option that would do nothing is refused: %1, ...&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An option that would do nothing is refused: %1, and a TEXT with --list-formats.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit status: 0 converted; 1 text too short for the rainbow or too long for --fit; 2 bad usage (an unknown option or value, options that clash or do nothing, a bad template), input that is not UTF-8, a file that cannot be read or written, or not enough memory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--file: cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1 of %2 is not valid UTF-8 (byte offset %3), printed as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1: %2 is not a colour (RRGGBB, #RRGGBB or #RGB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--stops takes %1 to %2 colours, not %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--stops: entry %1 %2 is not a colour (RRGGBB, #RRGGBB or #RGB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1: %2 is too large (at most %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1: %2 is not a whole number above 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the template has no {hex} placeholder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the template has no {text} placeholder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the template has {hex} or {text} more than once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the template has {text} before {hex}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1: %2 is not valid UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a gradient from the start to the end colour (default), or a rainbow: character k takes position k of a hue wheel (red, yellow, green, cyan, blue, magenta, back to red) of n positions, n rounded down to a multiple of 6, so the characters past it start round again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--mode: %1 is neither gradient nor rainbow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start colour of the gradient (default %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with --mode rainbow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>end colour of the gradient (default %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a gradient through 2 to 16 colours, evenly spaced, instead of --start and --end; two stops give exactly the gradient of --start and --end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>how the gradient mixes colours (default rgb, as the desktop program does; hsv along the shorter hue arc, oklab in a perceptual colour space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--blend: %1 is not one of rgb, hsv, oklab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>colours run backward: the first character takes the colour the last would have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>colours run forward and back: a gradient mirrors about the middle (the first and the last character share a colour, the second and the last but one, and so on); a rainbow runs forward over the first half (n/2 characters, rounded half to even) and backward over the rest, each half on a wheel of its own length, and needs 12 characters or more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>neighbouring characters of one colour share a tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>whitespace stays untagged and takes no colour step: every character Unicode calls White_Space, spaces of any width (U+0020, U+00A0, U+2003, U+3000 and others), tabs and line breaks, but not a space that carries a mark; the rainbow&apos;s 6 and 12 characters count the other characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the finest markup of at most N characters (code points): each colour goes to a group of k neighbouring characters (in the colour of the first), with the smallest k whose markup fits (with --merge, merged); exit 1 if even the largest group does not fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>markup format (default ubb)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format: %1 is not one of ubb, qzone, html, span</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with --preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a format of one&apos;s own: OPEN{hex}MID{text}CLOSE, where {hex} is the colour&apos;s six digits and {text} the characters, each once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--template: %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write &lt;, &gt; and &amp; as &amp;lt; &amp;gt; &amp;amp; (on by itself for html and span when a tag may hold several characters: --merge, --fit)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print each built-in format with a sample, then exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read the text from PATH (&apos;-&apos; for standard input)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--file: the path is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>convert each line on its own and print it before the next is read; a line too short for a rainbow or too long for --fit is printed uncoloured, and a line that is not UTF-8 is printed as it is and reported (exit 2 after the last line)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the text in its colours instead of the markup; the text&apos;s own colour sequences (ESC [ ... m) are dropped, and every other control character but tab and line breaks is shown as ^X, or as &lt;U+0080&gt; to &lt;U+009F&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the preview&apos;s colours: 24-bit, or the nearest of 256 (default: 24 when COLORTERM is truecolor or 24bit, else 8)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--color-depth: %1 is neither 24 nor 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>without --preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show this help, then exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the version, then exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has one dash: long options take two (--%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the program name is not valid UTF-8 (byte offset %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>argument %1 is not valid UTF-8 (byte offset %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--stops replaces --start and --end: give one or the other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--template replaces --format: give one or the other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 does nothing %2: leave it out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more than one TEXT given (%1); quote a text that holds spaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>both a TEXT and --file given: give one or the other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a TEXT does nothing with --list-formats: leave it out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a rainbow needs at least %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a rainbow needs at least %1 characters besides whitespace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a symmetric rainbow needs at least %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a symmetric rainbow needs at least %1 characters besides whitespace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the markup does not fit in %1 characters: even one tag for each stretch between untagged whitespace needs %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the markup does not fit in %1 characters: even one tag for the whole text needs %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
