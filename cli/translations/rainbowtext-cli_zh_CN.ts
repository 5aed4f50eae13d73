<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>rainbowtext-cli</name>
    <message>
        <source>%1 is not valid UTF-8 (byte offset %2)</source>
        <translation>内容不是有效的 UTF-8（%1，字节偏移 %2）</translation>
    </message>
    <message>
        <source>%1. Try &apos;rainbowtext-cli --help&apos;.</source>
        <translation>%1。请运行 &apos;rainbowtext-cli --help&apos; 查看用法。</translation>
    </message>
    <message>
        <source>not enough memory for a text of more than %1 bytes</source>
        <translation>内存不足，无法处理超过 %1 字节的内容</translation>
    </message>
    <message>
        <source>not enough memory for a text of more than %1 bytes (line %2)</source>
        <translation>内存不足，无法处理超过 %1 字节的内容（第 %2 行）</translation>
    </message>
    <message>
        <source>not enough memory for a text of %1 bytes</source>
        <translation>内存不足，无法处理 %1 字节的内容</translation>
    </message>
    <message>
        <source>text of more than 2^31 - 1 characters</source>
        <translation>内容超过 2^31 - 1 个字符，无法处理</translation>
    </message>
    <message>
        <source>not enough memory for a text of %1 bytes (line %2)</source>
        <translation>内存不足，无法处理 %1 字节的内容（第 %2 行）</translation>
    </message>
    <message>
        <source>Usage: rainbowtext-cli [OPTION]... [--] [TEXT]</source>
        <translation>用法：rainbowtext-cli [选项]... [--] [TEXT]</translation>
    </message>
    <message>
        <source>Wraps every character of TEXT (or of the file, or of standard input, without one trailing line break) in a colour tag, as a gradient or a rainbow, and prints the markup. A leading byte-order mark is dropped and spaces (U+0020) around the text are trimmed. A character is what a reader sees as one (an emoji, a flag, a letter with its marks) by the rules of Unicode %1, the version of the system&apos;s ICU library; a character newer than that may be split. In a gradient, character k of n takes the colour k/n of the way along the colours, so the last takes the end colour and the first is one step past the start colour, as in the desktop program. Colours are RRGGBB, #RRGGBB or #RGB.</source>
        <translation>给 TEXT（或文件、标准输入的内容，去掉末尾的一个换行）的每个字加上颜色标签，生成渐变色或彩虹色，然后输出代码。开头的字节顺序标记会被去掉，文字两端的空格（U+0020）会被删除。一个字就是读者眼中的一个字符（一个表情、一面旗帜、一个带附加符号的字母），按 Unicode %1 的规则划分，即系统 ICU 库的版本；比它新的字符可能被拆开。渐变中，n 个字里的第 k 个字取颜色全程 k/n 处的颜色，所以最后一个字是结束颜色，第一个字比起始颜色前进一步，与桌面程序相同。颜色写作 RRGGBB、#RRGGBB 或 #RGB。</translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation>颜色：</translation>
    </message>
    <message>
        <source>Shorter markup:</source>
        <translation>更短的代码：</translation>
    </message>
    <message>
        <source>Markup:</source>
        <translation>代码格式：</translation>
    </message>
    <message>
        <source>Input and output:</source>
        <translation>输入与输出：</translation>
    </message>
    <message>
        <source>&apos;--&apos; ends the options: rainbowtext-cli -- -5 converts the text -5.</source>
        <translation>&apos;--&apos; 表示选项到此为止：rainbowtext-cli -- -5 转换的是文字 -5。</translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>Between the options listed in &quot;An option that would do nothing is refused: %1; ...&quot;</extracomment>
        <translation>、</translation>
    </message>
    <message>
        <source>Exit status: 0 converted; 1 text too short for the rainbow or too long for --fit; 2 bad usage (an unknown option or value, options that clash or do nothing, a bad template), input that is not UTF-8, a file that cannot be read or written, or not enough memory.</source>
        <translation>退出状态：0 转换成功；1 内容太短，无法生成彩虹色，或超出 --fit 的长度；2 用法有误（未知的选项或取值、相互冲突或不起作用的选项、有误的模板）、输入不是 UTF-8、文件无法读取或写入，或内存不足。</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>标准输入</translation>
    </message>
    <message>
        <source>--file: cannot open %1: %2</source>
        <translation>--file：无法打开 %1：%2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>无法读取%1</translation>
    </message>
    <message>
        <source>cannot write standard output</source>
        <translation>无法写入标准输出</translation>
    </message>
    <message>
        <source>line %1 of %2 is not valid UTF-8 (byte offset %3), printed as it is</source>
        <translation>第 %1 行（%2）不是有效的 UTF-8（字节偏移 %3），已原样输出</translation>
    </message>
    <message>
        <source>--%1: %2 is not a colour (RRGGBB, #RRGGBB or #RGB)</source>
        <translation>--%1：%2 不是颜色（应为 RRGGBB、#RRGGBB 或 #RGB）</translation>
    </message>
    <message>
        <source>--stops takes %1 to %2 colours, not %3</source>
        <translation>--stops 需要 %1 到 %2 种颜色，而不是 %3 种</translation>
    </message>
    <message>
        <source>--stops: entry %1 %2 is not a colour (RRGGBB, #RRGGBB or #RGB)</source>
        <translation>--stops：第 %1 项 %2 不是颜色（应为 RRGGBB、#RRGGBB 或 #RGB）</translation>
    </message>
    <message>
        <source>--%1: %2 is too large (at most %3)</source>
        <translation>--%1：%2 太大（最大为 %3）</translation>
    </message>
    <message>
        <source>--%1: %2 is not a whole number above 0</source>
        <translation>--%1：%2 不是大于 0 的整数</translation>
    </message>
    <message>
        <source>the template has no {hex} placeholder</source>
        <translation>模板里没有 {hex} 占位符</translation>
    </message>
    <message>
        <source>the template has no {text} placeholder</source>
        <translation>模板里没有 {text} 占位符</translation>
    </message>
    <message>
        <source>the template has {hex} or {text} more than once</source>
        <translation>模板里的 {hex} 或 {text} 出现了不止一次</translation>
    </message>
    <message>
        <source>the template has {text} before {hex}</source>
        <translation>模板里的 {text} 在 {hex} 之前</translation>
    </message>
    <message>
        <source>a gradient from the start to the end colour (default), or a rainbow: character k takes position k of a hue wheel (red, yellow, green, cyan, blue, magenta, back to red) of n positions, n rounded down to a multiple of 6, so the characters past it start round again</source>
        <translation>从起始颜色到结束颜色的渐变（默认），或彩虹：第 k 个字取色相环（红、黄、绿、青、蓝、品红，再回到红）n 个位置中的第 k 个，n 向下取为 6 的倍数，超出的字从头再转一圈</translation>
    </message>
    <message>
        <source>--mode: %1 is neither gradient nor rainbow</source>
        <translation>--mode：%1 既不是 gradient 也不是 rainbow</translation>
    </message>
    <message>
        <source>start colour of the gradient (default %1)</source>
        <translation>渐变的起始颜色（默认 %1）</translation>
    </message>
    <message>
        <source>with --mode rainbow</source>
        <translation>与 --mode rainbow 同用时</translation>
    </message>
    <message>
        <source>end colour of the gradient (default %1)</source>
        <translation>渐变的结束颜色（默认 %1）</translation>
    </message>
    <message>
        <source>a gradient through 2 to 16 colours, evenly spaced, instead of --start and --end; two stops give exactly the gradient of --start and --end</source>
        <translation>经过 2 到 16 种等距颜色的渐变，代替 --start 和 --end；两种颜色时与 --start、--end 的渐变完全相同</translation>
    </message>
    <message>
        <source>how the gradient mixes colours (default rgb, as the desktop program does; hsv along the shorter hue arc, oklab in a perceptual colour space)</source>
        <translation>渐变混合颜色的方式（默认 rgb，与桌面程序相同；hsv 沿较短的色相弧，oklab 在感知均匀的颜色空间中）</translation>
    </message>
    <message>
        <source>--blend: %1 is not one of rgb, hsv, oklab</source>
        <translation>--blend：%1 不是 rgb、hsv、oklab 之一</translation>
    </message>
    <message>
        <source>colours run backward: the first character takes the colour the last would have</source>
        <translation>颜色反向排列：第一个字取最后一个字本该有的颜色</translation>
    </message>
    <message>
        <source>colours run forward and back: a gradient mirrors about the middle (the first and the last character share a colour, the second and the last but one, and so on); a rainbow runs forward over the first half (n/2 characters, rounded half to even) and backward over the rest, each half on a wheel of its own length, and needs 12 characters or more</source>
        <translation>颜色先正向再反向：渐变以中间为轴对称（第一个字与最后一个字同色，第二个字与倒数第二个字同色，依此类推）；彩虹在前一半（n/2 个字，四舍六入五成双）正向、其余部分反向，每一半用与自身长度相同的色相环，至少需要 12 个字</translation>
    </message>
    <message>
        <source>whitespace stays untagged and takes no colour step: every character Unicode calls White_Space, spaces of any width (U+0020, U+00A0, U+2003, U+3000 and others), tabs and line breaks, but not a space that carries a mark; the rainbow&apos;s 6 and 12 characters count the other characters</source>
        <translation>空白不加标签，也不占颜色步：即 Unicode 称为 White_Space 的每个字符，包括各种宽度的空格（U+0020、U+00A0、U+2003、U+3000 等）、制表符和换行，但不包括带附加符号的空格；彩虹所需的 6 个和 12 个字只算其他字符</translation>
    </message>
    <message>
        <source>markup format (default ubb)</source>
        <translation>代码格式（默认 ubb）</translation>
    </message>
    <message>
        <source>--format: %1 is not one of ubb, qzone, html, span</source>
        <translation>--format：%1 不是 ubb、qzone、html、span 之一</translation>
    </message>
    <message>
        <source>a format of one&apos;s own: OPEN{hex}MID{text}CLOSE, where {hex} is the colour&apos;s six digits and {text} the characters, each once</source>
        <translation>自定义格式：OPEN{hex}MID{text}CLOSE，其中 {hex} 是颜色的六位数字，{text} 是文字，各出现一次</translation>
    </message>
    <message>
        <source>--template: %1: %2</source>
        <translation>--template：%1：%2</translation>
    </message>
    <message>
        <source>print each built-in format with a sample, then exit</source>
        <translation>列出每种内置格式及示例，然后退出</translation>
    </message>
    <message>
        <source>read the text from PATH (&apos;-&apos; for standard input)</source>
        <translation>从 PATH 读取文字（&apos;-&apos; 表示标准输入）</translation>
    </message>
    <message>
        <source>--file: the path is empty</source>
        <translation>--file：路径为空</translation>
    </message>
    <message>
        <source>print the text in its colours instead of the markup; the text&apos;s own colour sequences (ESC [ ... m) are dropped, and every other control character but tab and line breaks is shown as ^X, or as &lt;U+0080&gt; to &lt;U+009F&gt;</source>
        <translation>直接输出带颜色的文字，而不是代码；文字自带的颜色序列（ESC [ ... m）会被去掉，除制表符和换行外的其他控制字符显示为 ^X，或 &lt;U+0080&gt; 到 &lt;U+009F&gt;</translation>
    </message>
    <message>
        <source>the preview&apos;s colours: 24-bit, or the nearest of 256 (default: 24 when COLORTERM is truecolor or 24bit, else 8)</source>
        <translation>预览的颜色：24 位真彩色，或 256 色中最接近的颜色（默认：COLORTERM 为 truecolor 或 24bit 时为 24，否则为 8）</translation>
    </message>
    <message>
        <source>--color-depth: %1 is neither 24 nor 8</source>
        <translation>--color-depth：%1 既不是 24 也不是 8</translation>
    </message>
    <message>
        <source>without --preview</source>
        <translation>不与 --preview 同用时</translation>
    </message>
    <message>
        <source>show this help, then exit</source>
        <translation>显示本帮助，然后退出</translation>
    </message>
    <message>
        <source>show the version, then exit</source>
        <translation>显示版本，然后退出</translation>
    </message>
    <message>
        <source>%1 has one dash: long options take two (--%2)</source>
        <translation>%1 只有一个短横线：长选项要用两个（--%2）</translation>
    </message>
    <message>
        <source>the program name is not valid UTF-8 (byte offset %1)</source>
        <translation>程序名不是有效的 UTF-8（字节偏移 %1）</translation>
    </message>
    <message>
        <source>argument %1 is not valid UTF-8 (byte offset %2)</source>
        <translation>第 %1 个参数不是有效的 UTF-8（字节偏移 %2）</translation>
    </message>
    <message>
        <source>--stops replaces --start and --end: give one or the other</source>
        <translation>--stops 代替 --start 和 --end：两者只能选其一</translation>
    </message>
    <message>
        <source>--template replaces --format: give one or the other</source>
        <translation>--template 代替 --format：两者只能选其一</translation>
    </message>
    <message>
        <source>--%1 does nothing %2: leave it out</source>
        <translation>--%1 %2不起作用，请去掉它</translation>
    </message>
    <message>
        <source>more than one TEXT given (%1); quote a text that holds spaces</source>
        <translation>给出了不止一个 TEXT（%1 个）；含空格的文字请加引号</translation>
    </message>
    <message>
        <source>both a TEXT and --file given: give one or the other</source>
        <translation>同时给出了 TEXT 和 --file：两者只能选其一</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>a TEXT does nothing with --list-formats: leave it out</source>
        <translation>TEXT 与 --list-formats 同用时不起作用，请去掉它</translation>
    </message>
    <message>
        <source>a rainbow needs at least %1 characters</source>
        <translation>内容少于%1个字，无法生成彩虹色</translation>
    </message>
    <message>
        <source>a rainbow needs at least %1 characters besides whitespace</source>
        <translation>除空白外内容少于%1个字，无法生成彩虹色</translation>
    </message>
    <message>
        <source>a symmetric rainbow needs at least %1 characters</source>
        <translation>内容少于%1个字，无法生成对称彩虹色</translation>
    </message>
    <message>
        <source>a symmetric rainbow needs at least %1 characters besides whitespace</source>
        <translation>除空白外内容少于%1个字，无法生成对称彩虹色</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>Between the cases listed in &quot;An option that would do nothing is refused: %1; ...&quot;</extracomment>
        <translation>；</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>Options, then when they do nothing: &quot;--start, --end with --mode rainbow&quot;</extracomment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>with --strip</source>
        <translation>与 --strip 同用时</translation>
    </message>
    <message>
        <source>the finest markup of at most N characters (code points, or as --fit-unit counts): each colour goes to a group of k neighbouring characters (in the colour of the first), with the smallest k whose markup fits (with --merge, merged); exit 1 if even the largest group does not fit</source>
        <translation>生成不超过 N 个字符（码位，或按 --fit-unit 的计法）的最精细的代码：每种颜色给一组 k 个相邻的字（取组内第一个字的颜色），k 取代码能放下的最小值（用 --merge 时按合并后计算）；即使最大的一组也放不下，则退出状态为 1</translation>
    </message>
    <message>
        <source>what --fit counts: chars, characters (code points; the default, as phpBB counts); utf-8, bytes of UTF-8; gbk, bytes of GBK, where a character GBK lacks counts as the reference a browser sends for it on a GBK page (&amp;#128512; for U+1F600, 9 bytes), as Discuz! counts on a GBK board</source>
        <translation>--fit 的计法：chars 按字符（码位）计，为默认值，与 phpBB 相同；utf-8 按 UTF-8 字节计；gbk 按 GBK 字节计，GBK 没有的字按浏览器在 GBK 页面上提交的字符引用计（U+1F600 为 &amp;#128512;，9 个字节），与 GBK 编码的 Discuz! 论坛相同</translation>
    </message>
    <message>
        <source>--fit-unit: %1 is not one of chars, utf-8, gbk</source>
        <translation>--fit-unit：%1 不是 chars、utf-8、gbk 之一</translation>
    </message>
    <message>
        <source>without --fit</source>
        <translation>不用 --fit 时</translation>
    </message>
    <message>
        <source>print the text without its colour tags instead of converting it: UBB [color=...] and qzone [ftc=...] in any letter case, with a colour code or name; HTML &lt;font color=...&gt; and &lt;span style=&quot;color: ...&quot;&gt; in any quoting; the preview&apos;s colour sequences; the tags of --template. Other markup ([b], [url=...], &lt;a href&gt;) and the text stay as they are; the entities that --escape writes are decoded in HTML colour tags, and in every colour tag with --escape</source>
        <translation>不转换，而是去掉内容中的颜色标签后输出：UBB 的 [color=...] 和 QQ空间的 [ftc=...]，标签不分大小写，颜色可以是代码或颜色名；HTML 的 &lt;font color=...&gt; 和 &lt;span style=&quot;color: ...&quot;&gt;，引号不限；预览的颜色序列；--template 的标签。其他标记（[b]、[url=...]、&lt;a href&gt;）和文字保持原样；--escape 写出的实体在 HTML 颜色标签中会被还原，用 --escape 时在所有颜色标签中都会被还原</translation>
    </message>
    <message>
        <source>with --recolor</source>
        <translation>与 --recolor 同用时</translation>
    </message>
    <message>
        <source>colour coloured text anew: its colour tags are removed as --strip removes them (with --template&apos;s tags and --escape&apos;s entities too), then what is left is converted with the other options, the same as converting the stripped text</source>
        <translation>给已上色的内容重新上色：先像 --strip 那样去掉颜色标签（包括 --template 的标签和 --escape 的实体），再按其他选项转换剩下的内容，结果与转换去掉颜色后的内容相同</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>What failed, then the system&apos;s reason: &quot;cannot read &apos;a.txt&apos;: Is a directory&quot;</extracomment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>line %1 of %2: %3; printed uncoloured</source>
        <translation>第 %1 行（%2）：%3；已不加颜色输出</translation>
    </message>
    <message>
        <source>with --preview but no --fit</source>
        <translation>与 --preview 同用而没有 --fit 时</translation>
    </message>
    <message>
        <source>with --strip when the template has no text around {hex}</source>
        <translation>与 --strip 同用且模板在 {hex} 前后都没有文字时</translation>
    </message>
    <message>
        <source>missing value after %1</source>
        <translation>%1 后缺少取值</translation>
    </message>
    <message>
        <source>--%1 takes no value: %2</source>
        <translation>--%1 不接受取值：%2</translation>
    </message>
    <message>
        <source>--%1 does nothing with --list-formats: leave it out</source>
        <translation>--%1 与 --list-formats 同用时不起作用，请去掉它</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for the whole text needs %2 characters</source>
        <translation>代码无法控制在 --fit %1 以内：即使整段文字只用一个标签，也需要 %2 个字符</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace needs %2 characters</source>
        <translation>代码无法控制在 --fit %1 以内：即使每段空白之间的文字只用一个标签，也需要 %2 个字符</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for the whole text needs %2 bytes of UTF-8</source>
        <translation>代码无法控制在 --fit %1 以内：即使整段文字只用一个标签，也需要 %2 个 UTF-8 字节</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace needs %2 bytes of UTF-8</source>
        <translation>代码无法控制在 --fit %1 以内：即使每段空白之间的文字只用一个标签，也需要 %2 个 UTF-8 字节</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for the whole text needs %2 bytes of GBK</source>
        <translation>代码无法控制在 --fit %1 以内：即使整段文字只用一个标签，也需要 %2 个 GBK 字节</translation>
    </message>
    <message>
        <source>the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace needs %2 bytes of GBK</source>
        <translation>代码无法控制在 --fit %1 以内：即使每段空白之间的文字只用一个标签，也需要 %2 个 GBK 字节</translation>
    </message>
    <message>
        <source>neighbouring characters of one colour share a tag; in ubb, qzone and templates that open with &apos;[&apos;, a tag that holds a &apos;[&apos; of the text ends after it (with --fit too), so that the text&apos;s brackets stay text</source>
        <translation>相邻的同色字共用一个标签；ubb、qzone 以及以 &apos;[&apos; 开头的模板中，含有文字里的 &apos;[&apos; 的标签在它之后结束（--fit 也是如此），使文字里的方括号仍是文字</translation>
    </message>
    <message>
        <source>write &lt;, &gt; and &amp; as &amp;lt; &amp;gt; &amp;amp; (on by itself for html and span when a tag may hold several characters: --merge, --fit); with ubb or qzone only for a board that shows HTML as it is: most boards escape it themselves and would then show &amp;lt;</source>
        <translation>把 &lt;、&gt; 和 &amp; 写作 &amp;lt; &amp;gt; &amp;amp;（html 和 span 格式在一个标签可能包含多个字时自动开启：--merge、--fit）；ubb 或 qzone 格式只适用于原样显示 HTML 的论坛：多数论坛会自行转义，那样就会显示出 &amp;lt;</translation>
    </message>
    <message>
        <source>convert each line on its own and print it before the next is read; a line too short for a rainbow or too long for --fit, or not UTF-8, is printed as it is, line ending included, and reported by its number; the exit status is then the whole text&apos;s (1, or 2 for a line that is not UTF-8)</source>
        <translation>逐行转换，每行转换后先输出，再读下一行；太短而无法生成彩虹色、超出 --fit 或不是 UTF-8 的行原样输出（包括行尾），并报告其行号；退出状态与整段转换时相同（1，有不是 UTF-8 的行时为 2）</translation>
    </message>
    <message>
        <source>Pictures:</source>
        <translation>图片：</translation>
    </message>
    <message>
        <source>cannot find the program&apos;s own folder</source>
        <translation>找不到程序自身所在的文件夹</translation>
    </message>
    <message>
        <source>cannot load the drawing module %1: %2</source>
        <translation>无法加载绘图模块 %1：%2</translation>
    </message>
    <message>
        <source>--image: cannot write in the folder %1</source>
        <translation>--image：无法在文件夹 %1 中写入</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>--image: the text is empty: nothing to draw</source>
        <translation>--image：文字为空，没有可画的内容</translation>
    </message>
    <message>
        <source>--image -: standard output is a terminal; send the PNG into a pipe or a file, or name a file</source>
        <translation>--image -：标准输出是终端；请把 PNG 送入管道或文件，或者给出文件名</translation>
    </message>
    <message>
        <source>warning: font %1 is not installed; drawn in %2 instead</source>
        <translation>警告：字体 %1 未安装，改用 %2 绘制</translation>
    </message>
    <message>
        <source>--image: the picture would be at least %1 pixels, larger than the limit of %2 on a side and %3 in all; give --width to wrap the lines, or a smaller --font-size</source>
        <translation>--image：图片至少有 %1 像素，超过了每边 %2、总共 %3 像素的上限；请用 --width 让文字换行，或用更小的 --font-size</translation>
    </message>
    <message>
        <source>with --image</source>
        <translation>与 --image 同用时</translation>
    </message>
    <message>
        <source>without --image</source>
        <translation>不用 --image 时</translation>
    </message>
    <message>
        <source>--image: the path is empty</source>
        <translation>--image：路径为空</translation>
    </message>
    <message>
        <source>--image: %1 ends in neither .png nor .svg (or give - for PNG on standard output)</source>
        <translation>--image：%1 的结尾既不是 .png 也不是 .svg（或用 - 把 PNG 写到标准输出）</translation>
    </message>
    <message>
        <source>the typeface of the picture (default: the desktop program&apos;s, SimSun or else the first installed of AR PL UMing CN, Noto Serif/Sans CJK SC, WenQuanYi Zen/Micro Hei and AR PL UKai CN); characters it lacks come from those, emoji from a colour emoji font where one is installed. A typeface that is not installed is warned about, and the one drawn with named</source>
        <translation>图片的字体（默认：与桌面程序相同，即宋体 SimSun，没有时用 AR PL UMing CN、Noto Serif/Sans CJK SC、文泉驿正黑/微米黑、AR PL UKai CN 中已安装的第一种）；它缺少的字符取自这些字体，表情符号取自已安装的彩色表情字体。字体未安装时给出警告，并说明实际使用的字体</translation>
    </message>
    <message>
        <source>--font: the name is empty</source>
        <translation>--font：名称为空</translation>
    </message>
    <message>
        <source>the size of the characters in pixels, 1 to 1000 (default %1)</source>
        <translation>字符的大小，以像素计，1 至 1000（默认 %1）</translation>
    </message>
    <message>
        <source>the picture&apos;s background (default transparent)</source>
        <translation>图片的背景（默认 transparent，即透明）</translation>
    </message>
    <message>
        <source>--background: %1 is neither a colour (RRGGBB, #RRGGBB or #RGB) nor transparent</source>
        <translation>--background：%1 既不是颜色（应为 RRGGBB、#RRGGBB 或 #RGB），也不是 transparent</translation>
    </message>
    <message>
        <source>wrap the lines so that the picture is at most PX pixels wide, margins included: where a line may break by Unicode&apos;s rules (after a space, between Chinese characters), and in a word too long for a line between two characters, never inside one; a character wider than that stands alone on its line. Without it, lines break only at the text&apos;s own line breaks</source>
        <translation>让文字换行，使图片（含边距）宽度不超过 PX 像素：按 Unicode 的规则在允许换行处换行（空格之后、汉字之间），一行放不下的长单词则在两个字符之间断开，绝不从字符内部断开；比该宽度还宽的字符单独占一行。不用此选项时，只在文字自身的换行处换行</translation>
    </message>
    <message>
        <source>draw the text in its colours instead of printing markup, each character in the colour its tag would have and line breaks kept: FILE.png is a picture with a transparent background, FILE.svg keeps the text as text (one fill for each run of one colour); &apos;-&apos; writes PNG to standard output for a pipe. The file is written whole or not at all: an empty text, a folder that cannot be written and a picture over the limit of 32767 pixels on a side and 50000000 in all end with exit status 2</source>
        <translation>不输出标记，而是把文字按其颜色画成图片，每个字符的颜色与其标签的颜色相同，换行照旧：FILE.png 是透明背景的图片，FILE.svg 中的文字仍是文字（同一颜色的一段字符共用一个 fill）；&apos;-&apos; 把 PNG 写到标准输出，供管道使用。文件要么完整写出，要么完全不写：文字为空、文件夹无法写入、图片超过每边 32767 像素或总共 50000000 像素的上限时，退出状态为 2</translation>
    </message>
    <message>
        <source>An option that would do nothing is refused: %1; and any other option or a TEXT with --list-formats.</source>
        <translation>不起作用的选项会被拒绝：%1；以及与 --list-formats 同用的任何其他选项或 TEXT。</translation>
    </message>
</context>
</TS>
