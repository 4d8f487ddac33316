#!/usr/bin/env python3
"""The owner's texts (docs/*.md) as plain text for Notepad.

    tools/guide_text.py GUIDE.md VERSION     prints the text

to_text(markdown, version) gives the text with "\\n" line ends and no byte-order mark;
tools/pack-release.py adds both for the download.

The text is read in Notepad with word wrap off, so every line is at most 72 columns (36
full-width characters) and the structure shows without marks:
- "# title" framed by rules of "=", "## heading" with a rule of "=" under it, "### heading" with
  a rule of "-"; each as wide as its heading;
- "- item" as "· item", "1. item" as it is; lines that follow indented under the item's text;
- fenced code blocks kept line for line, indented, never wrapped;
- a picture, alone on its line, as a line naming its file;
- inline `code` as its plain text, never broken across lines (commands, examples), and
  **bold** as its plain text.
Anything else that looks like Markdown raises MarkupError rather than reaching the owner.
"""
import os
import re
import sys
import unicodedata

WIDTH = 72
CODE_INDENT = "    "
BULLET = "· "
# `code` travels between these two marks to the wrapper, which never breaks it.
CODE_START, CODE_END = "\ue000", "\ue001"

# Never at the start of a line / never at the end of one.
CLOSING = set("，。、；：？！）」』”’》〉】〕…—,.;:?!)]}%")
OPENING = set("（「『“‘《〈【〔([{")

# What a line may not keep once the marks are gone.
LEFTOVER_MARKS = re.compile(
    r"`|\*|\[|\]|\||^\s*#|^\s*>|^\s*[-+] |<[A-Za-z/!]|~~|^[-=_]{3,}$"
    r"|(?<![A-Za-z0-9])_|_(?![A-Za-z0-9])")  # _emphasis_, but not minggui-x86_64.exe
RULE_LINE = re.compile(r"^\s*[-=_*]{2,}\s*$")


class MarkupError(ValueError):
    """Markdown this converter does not understand."""


def width(text):
    """Display columns: East Asian wide, full-width and ambiguous characters take two."""
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in text)


def _is_wide(c):
    return unicodedata.east_asian_width(c) in "WFA"


def _is_word(c):
    """Characters of an ASCII word, number, address, path or file name."""
    return c.isascii() and c.isprintable() and c != " " and c not in "()[]{},;?!\"'"


def _path_runs_on(piece):
    """A path whose last character is a wide one: the wide characters after it belong to it
    too (D:\\茗 + 柜)."""
    return "\\" in piece and _is_wide(piece[-1]) and piece[-1] not in CLOSING


# ---- inline text ----

def _inline(text, where):
    text = re.sub(r"`([^`]+)`", CODE_START + r"\1" + CODE_END, text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    bad = LEFTOVER_MARKS.search(text)
    if bad:
        raise MarkupError("%s: markup not understood near %r" % (where, text[max(0, bad.start() - 10):bad.end() + 10]))
    return text


# ---- wrapping ----

def _pieces(text):
    """The text as unbreakable pieces, each with whether a space precedes it.

    A piece is one wide character or one ASCII word. Closing punctuation stays with what
    precedes it and opening punctuation with what follows it; a file name stays whole
    (疆内.txt runs back to a space or punctuation) and a path keeps its wide characters
    (D:\\茗柜 runs on to one).
    """
    pieces = []  # [text, space before]
    space = False
    i = 0
    while i < len(text):
        c = text[i]
        if c == " ":
            space = True
            i += 1
            continue
        j = i + 1
        if c == CODE_START:
            j = text.index(CODE_END, i) + 1
            piece = text[i + 1:j - 1]
            c = piece[0]
        else:
            if _is_word(c):
                while j < len(text) and _is_word(text[j]):
                    j += 1
            piece = text[i:j]
        prev = pieces[-1][0] if pieces else ""
        touching = bool(prev) and not space
        glue = touching and (
            c in CLOSING  # also a file name's extension: 疆内 + .txt
            or prev[-1] in OPENING
            or prev[-1] in "\\/"
            or (_path_runs_on(prev) and _is_wide(c) and c not in OPENING))
        if glue:
            pieces[-1][0] += piece
        else:
            pieces.append([piece, space])
        if touching and c == "." and len(piece) > 1 and _is_wide(prev[-1]):
            _take_name_stem(pieces)
        space = False
        i = j
    return pieces


def _take_name_stem(pieces):
    """A file name's wide characters before its extension (疆内.txt) reach back to the last
    space or punctuation: no break inside the name."""
    while len(pieces) > 1 and not pieces[-1][1] and pieces[-1][0][0] not in OPENING \
            and _is_wide(pieces[-2][0][-1]) and pieces[-2][0][-1] not in CLOSING | OPENING:
        stem, space = pieces.pop(-2)
        pieces[-1] = [stem + pieces[-1][0], space]


def _wrap(text, first_prefix, next_prefix, where):
    pieces = _pieces(text)
    lines = []
    line = first_prefix
    used = width(first_prefix)
    empty = True
    for piece, space in pieces:
        gap = " " if (space and not empty) else ""
        need = width(gap) + width(piece)
        if not empty and used + need > WIDTH:
            lines.append(line)
            line, used, empty = next_prefix, width(next_prefix), True
            gap, need = "", width(piece)
        if empty and used + need > WIDTH:
            raise MarkupError("%s: %r does not fit on a line of %d columns" % (where, piece, WIDTH))
        line += gap + piece
        used += need
        empty = False
    lines.append(line)
    return lines


# ---- blocks ----

HEADING = re.compile(r"^(#{1,3}) +(\S.*)$")
BULLET_ITEM = re.compile(r"^- +(\S.*)$")
NUMBERED_ITEM = re.compile(r"^(\d{1,2})\. +(\S.*)$")
PICTURE = re.compile(r"^!\[([^\]]*)\]\(([^)\s]+)\)$")
FENCE = re.compile(r"^```\w*$")


def _join(a, b):
    """Two source lines of one paragraph: a space only between ASCII text."""
    if a and b and a[-1].isascii() and b[0].isascii():
        return a + " " + b
    return a + b


def to_text(markdown, version):
    lines = markdown.replace("\r\n", "\n").replace("@VERSION@", version).split("\n")
    blocks = []  # lists of output lines, separated by one blank line
    i = 0

    def where():
        return "line %d" % (i + 1)

    def gather(first):
        """The paragraph or item text starting with `first` and its continuation lines."""
        nonlocal i
        text = first
        while i + 1 < len(lines):
            nxt = lines[i + 1]
            if not nxt.strip() or HEADING.match(nxt) or BULLET_ITEM.match(nxt) or NUMBERED_ITEM.match(nxt) \
                    or FENCE.match(nxt) or PICTURE.match(nxt):
                break
            if RULE_LINE.match(nxt):
                raise MarkupError("line %d: an underlined heading or a rule" % (i + 2))
            text = _join(text, nxt.strip())
            i += 1
        return _inline(text, where())

    list_block = None
    while i < len(lines):
        line = lines[i].rstrip()
        if not line:
            list_block = None
            i += 1
            continue
        if line != line.lstrip():
            raise MarkupError("%s: indented text (nested lists and indented code are not understood)" % where())
        heading = HEADING.match(line)
        bullet = BULLET_ITEM.match(line)
        numbered = NUMBERED_ITEM.match(line)
        picture = PICTURE.match(line)
        if heading:
            level = len(heading.group(1))
            title = _inline(heading.group(2), where()).replace(CODE_START, "").replace(CODE_END, "")
            if width(title) > WIDTH:
                raise MarkupError("%s: heading wider than a line" % where())
            rule = ("=" if level <= 2 else "-") * width(title)
            blocks.append([rule, title, rule] if level == 1 else [title, rule])
            list_block = None
        elif FENCE.match(line):
            code = []
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                text = CODE_INDENT + lines[i].rstrip()
                if width(text) > WIDTH:
                    raise MarkupError("%s: code line wider than a line" % where())
                code.append(text)
                i += 1
            if i == len(lines) or lines[i].rstrip() != "```":
                raise MarkupError("%s: code block not closed" % where())
            blocks.append(code)
            list_block = None
        elif picture:
            name = os.path.basename(picture.group(2))
            caption = _inline(picture.group(1), where())
            blocks.append(_wrap("（截图见同一文件夹里的 %s：%s）" % (name, caption), "", "", where()))
            list_block = None
        elif bullet or numbered:
            if numbered:
                mark = numbered.group(1) + ". "
                text = gather(numbered.group(2))
            else:
                mark = BULLET
                text = gather(bullet.group(1))
            item = _wrap(text, mark, " " * width(mark), where())
            if list_block is None:
                list_block = []
                blocks.append(list_block)
            list_block.extend(item)
        else:
            blocks.append(_wrap(gather(line), "", "", where()))
            list_block = None
        i += 1
    return "\n\n".join("\n".join(b) for b in blocks) + "\n"


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as f:
        sys.stdout.write(to_text(f.read(), sys.argv[2]))
