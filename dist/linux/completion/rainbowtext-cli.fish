# fish completion for rainbowtext-cli

# The text is free: no file names unless --file asks for one.
complete -c rainbowtext-cli -f

complete -c rainbowtext-cli -s m -l mode -x -a 'gradient rainbow' -d 'Gradient or rainbow'
complete -c rainbowtext-cli -s s -l start -x -d 'Start colour of the gradient (RRGGBB)'
complete -c rainbowtext-cli -s e -l end -x -d 'End colour of the gradient (RRGGBB)'
complete -c rainbowtext-cli -s c -l stops -x -d 'Gradient through 2 to 16 colours (C1,C2,...)'
complete -c rainbowtext-cli -s b -l blend -x -a 'rgb hsv oklab' -d 'How the gradient mixes colours'
complete -c rainbowtext-cli -s r -l reverse -d 'Colours run backward'
complete -c rainbowtext-cli -s S -l symmetric -d 'From the start to the end and back'
complete -c rainbowtext-cli -s M -l merge -d 'Neighbouring characters of one colour share a tag'
complete -c rainbowtext-cli -s w -l skip-spaces -d 'Whitespace stays untagged'
complete -c rainbowtext-cli -l fit -x -d 'The finest markup of at most N characters, or N of --fit-unit'
complete -c rainbowtext-cli -l fit-unit -x -a 'chars\t"Characters (code points)" utf-8\t"Bytes of UTF-8" gbk\t"Bytes of GBK"' -d 'What --fit counts'
complete -c rainbowtext-cli -s f -l format -x -a 'ubb qzone html span' -d 'Markup format'
complete -c rainbowtext-cli -s t -l template -x -d 'A format of one\'s own: OPEN{hex}MID{text}CLOSE'
complete -c rainbowtext-cli -l escape -d 'Write <, > and & as entities'
complete -c rainbowtext-cli -l strip -d 'Print the text without its colour tags'
complete -c rainbowtext-cli -l recolor -d 'Colour coloured text anew'
complete -c rainbowtext-cli -l list-formats -d 'Print each built-in format with a sample'
complete -c rainbowtext-cli -s F -l file -r -F -d 'Read the text from a file (- for standard input)'
complete -c rainbowtext-cli -s l -l lines -d 'Convert each line on its own'
complete -c rainbowtext-cli -s p -l preview -d 'Print the text in its colours'
complete -c rainbowtext-cli -l color-depth -x -a '24 8' -d 'The colours of the preview'
complete -c rainbowtext-cli -s h -l help -d 'Show the help'
complete -c rainbowtext-cli -s V -l version -d 'Show the version'
