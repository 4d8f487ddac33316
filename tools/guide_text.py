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
  paragraphs and fenced code indented under an item (after a blank line) belong to it;
- fenced code blocks kept line for line, indented, never wrapped: commands stand there, on
  lines of their own (inline `code` with a space in it is refused);
- a picture, alone on its line, as a line naming its file;
- inline `code` as its plain text, never broken across lines, and **bold** as its plain text.
Chinese has no spaces, so lines break between any two characters, but not inside a word of
ASCII, a file name, a number with its unit (500 毫秒) or a quoted name (“清除数据”, 《…》) that
fits on a line, and preferably after punctuation or at a space near the end of the line; a
paragraph's last line is never one lone character and its punctuation.
Anything else that looks like Markdown raises MarkupError rather than reaching the owner.
"""
import os
import re
import sys
import unicodedata

WIDTH = 72
CODE_INDENT = "    "
BULLET = "· "
# A full line ends at punctuation or a space rather than inside a word when that moves at most
# this many columns (six full-width characters) on to the next line.
LOOKBACK = 12
# `code` travels between these two marks to the wrapper, which never breaks it.
CODE_START, CODE_END = "\ue000", "\ue001"

# Never at the start of a line / never at the end of one.
CLOSING = set("，。、；：？！）」』”’》〉】〕…—,.;:?!)]}%")
OPENING = set("（「『“‘《〈【〔([{")
# A break after these reads as a pause; failing that, one after a particle that ends a phrase
# or before a word that starts one reads better than one inside a word.
PAUSE = set("，。、；：？！）")
PHRASE_END = set("的了")
PHRASE_START = set("或把就也都再")
# Quoted names: kept on one line whenever they fit on one.
QUOTES = {"“": "”", "《": "》", "【": "】", "「": "」"}
# Units that stay on the line of the number before them (longest first).
UNITS = sorted("毫秒 秒 分钟 分 小时 时 天 年 月 日 元 角 次 个 行 位 台 张 件 瓶 包 条 盏 页 "
               "格 遍 倍 字节 MB KB GB".split(), key=len, reverse=True)

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


def _path_runs_on(text):
    """A path whose last character is a wide one: the wide characters after it belong to it
    too (D:\\茗 + 柜)."""
    return "\\" in text and _is_wide(text[-1]) and text[-1] not in CLOSING


# ---- inline text ----

def _inline(text, where):
    for code in re.findall(r"`([^`]+)`", text):
        if " " in code.strip():
            raise MarkupError("%s: the command %r belongs on a line of its own (a code block)" % (where, code))
    text = re.sub(r"`([^`]+)`", CODE_START + r"\1" + CODE_END, text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    bad = LEFTOVER_MARKS.search(text)
    if bad:
        raise MarkupError("%s: markup not understood near %r" % (where, text[max(0, bad.start() - 10):bad.end() + 10]))
    return text


# ---- wrapping ----

class Piece:
    """Text that a line never breaks, with whether a space precedes it. A quoted name is one
    piece that still knows its own pieces (`parts`), for when it does not fit on a line."""

    def __init__(self, text, space, parts=None):
        self.text, self.space, self.parts = text, space, parts

    def glue(self, other):
        """`other` follows this piece without a break."""
        if self.parts and other.parts:
            joined = Piece(self.parts[-1].text + other.parts[0].text, self.parts[-1].space)
            self.parts = self.parts[:-1] + [joined] + other.parts[1:]
        elif self.parts:
            self.parts[-1] = Piece(self.parts[-1].text + other.text, self.parts[-1].space)
        elif other.parts:
            self.parts = [Piece(self.text + other.parts[0].text, self.space)] + other.parts[1:]
        self.text += other.text


def _unit_after(text, j):
    """The end of a unit (秒, 毫秒, MB ...) that follows a number ending before j, else j."""
    k = j + 1 if text[j:j + 1] == " " else j
    for unit in UNITS:
        if text.startswith(unit, k):
            end = k + len(unit)
            if not (unit.isascii() and end < len(text) and _is_word(text[end])):
                return end
    return j


def _pieces(text, quoted=False):
    """The text as unbreakable pieces.

    A piece is one wide character, one ASCII word (a number with the unit after it), or a
    quoted name. Closing punctuation stays with what precedes it and opening punctuation with
    what follows it; a file name stays whole (疆内.txt runs back to a space or punctuation)
    and a path keeps its wide characters (D:\\茗柜 runs on to one). `quoted`: the text is one
    quoted name, whose own pieces are wanted.
    """
    pieces = []
    space = False
    i = 0
    while i < len(text):
        c = text[i]
        if c == " ":
            space = True
            i += 1
            continue
        j = i + 1
        parts = None
        if c == CODE_START:
            j = text.index(CODE_END, i) + 1
            piece = text[i + 1:j - 1]
            c = piece[0]
        elif c in QUOTES and QUOTES[c] in text[i + 1:] and not (quoted and i == 0):
            j = text.index(QUOTES[c], i + 1) + 1
            parts = _pieces(text[i:j], True)
            piece = text[i:j].replace(CODE_START, "").replace(CODE_END, "")
        else:
            if _is_word(c):
                while j < len(text) and _is_word(text[j]):
                    j += 1
                if text[j - 1].isdigit():
                    j = _unit_after(text, j)
                elif j - i == 1 and c.isalpha() and text[j:j + 1] == " " and j + 1 < len(text) \
                        and _is_wide(text[j + 1]) and text[j + 1] not in CLOSING | OPENING:
                    j += 2  # a drive or a stick: C 盘, U 盘
            piece = text[i:j]
        new = Piece(piece, space, parts)
        prev = pieces[-1].text if pieces else ""
        touching = bool(prev) and not space
        if touching and (
                c in CLOSING  # also a file name's extension: 疆内 + .txt
                or prev[-1] in OPENING
                or prev[-1] in "\\/"
                or (_path_runs_on(prev) and _is_wide(c) and c not in OPENING)):
            pieces[-1].glue(new)
        else:
            pieces.append(new)
        if touching and c == "." and len(piece) > 1 and _is_wide(prev[-1]):
            _take_name_stem(pieces)
        space = False
        i = j
    return pieces


def _take_name_stem(pieces):
    """A file name's wide characters before its extension (疆内.txt, 使用说明.txt) reach back
    to the last space or punctuation, four at most: no break inside the name."""
    for _ in range(3):  # the one before the extension is taken already
        if not (len(pieces) > 1 and not pieces[-1].space and pieces[-1].text[0] not in OPENING
                and _is_wide(pieces[-2].text[-1]) and pieces[-2].text[-1] not in CLOSING | OPENING):
            return
        stem = pieces.pop(-2)
        stem.glue(pieces[-1])
        pieces[-1] = stem


def _fitting(pieces, room):
    """Quoted names wider than a line, opened into their own pieces."""
    out = []
    for p in pieces:
        if p.parts and width(p.text) > room:
            first = Piece(p.parts[0].text, p.space, p.parts[0].parts)
            out.extend(_fitting([first] + p.parts[1:], room))
        else:
            out.append(p)
    return out


def _break_at(line):
    """Where a full line of (gap, piece) pairs had better end, moving at most LOOKBACK columns
    of it on: after the last piece that ends in punctuation, or before one that a space or an
    opening mark starts; else between two phrases. None when there is no such place."""
    moved = 0
    phrase = None
    for k in range(len(line) - 1, 0, -1):
        gap, piece = line[k]
        moved += width(piece.text) + (width(line[k + 1][0]) if k + 1 < len(line) else 0)
        if moved > LOOKBACK:
            break
        if _pause(line[k - 1][1], gap, piece):
            return k
        if phrase is None and (line[k - 1][1].text[-1] in PHRASE_END or piece.text[0] in PHRASE_START):
            phrase = k
    return phrase


def _pause(before, gap, piece):
    """Whether a line may well end between these two pieces."""
    return before.text[-1] in PAUSE or bool(gap) or piece.text[0] in OPENING


def _columns(line):
    return sum(width(g) + width(p.text) for g, p in line)


def _wrap(text, first_prefix, next_prefix, where):
    room = WIDTH - max(width(first_prefix), width(next_prefix))
    done = []  # (prefix, line) of the lines before the current one
    prefix = first_prefix
    line = []  # (gap, piece)
    for piece in _fitting(_pieces(text), room):
        gap = " " if (piece.space and line) else ""
        if line and width(prefix) + _columns(line) + width(gap) + width(piece.text) > WIDTH:
            k = None if _pause(line[-1][1], gap, piece) else _break_at(line)
            carried = [("", line[k][1])] + line[k + 1:] if k is not None else []
            if carried and width(next_prefix) + _columns(carried) + width(gap) + width(piece.text) > WIDTH:
                k, carried = None, []
            done.append((prefix, line[:k]))
            prefix, line = next_prefix, carried
            gap = " " if (piece.space and line) else ""
        if not line and width(prefix) + width(piece.text) > WIDTH:
            raise MarkupError("%s: %r does not fit on a line of %d columns" % (where, piece.text, WIDTH))
        line.append((gap, piece))
    # A last line of one character and its punctuation takes the character before it along,
    # unless the line before ends where a line should.
    if done and len(line) == 1 and width(line[0][1].text) <= 6 and len(done[-1][1]) > 1 \
            and not _pause(done[-1][1][-1][1], line[0][1].space, line[0][1]):
        last = done[-1][1].pop()
        line = [("", last[1]), line[0]]
    done.append((prefix, line))
    return [p + "".join(g + piece.text for g, piece in l) for p, l in done]


# ---- blocks ----

HEADING = re.compile(r"^(#{1,3}) +(\S.*)$")
BULLET_ITEM = re.compile(r"^(- +)(\S.*)$")
NUMBERED_ITEM = re.compile(r"^((\d{1,2})\. +)(\S.*)$")
PICTURE = re.compile(r"^!\[([^\]]*)\]\(([^)\s]+)\)$")
FENCE = re.compile(r"^```\w*$")


def _join(a, b):
    """Two source lines of one paragraph: a space only between ASCII text."""
    if a and b and a[-1].isascii() and b[0].isascii():
        return a + " " + b
    return a + b


class _Reader:
    def __init__(self, markdown):
        self.lines = markdown.replace("\r\n", "\n").split("\n")
        self.i = 0

    def where(self):
        return "line %d" % (self.i + 1)

    def starts_block(self, line):
        return not line.strip() or HEADING.match(line) or BULLET_ITEM.match(line) \
            or NUMBERED_ITEM.match(line) or FENCE.match(line) or PICTURE.match(line)

    def paragraph(self, first, indent=""):
        """The paragraph or item text starting with `first` and its continuation lines (those
        of an item's own paragraph start with `indent`)."""
        text = first
        while self.i + 1 < len(self.lines):
            nxt = self.lines[self.i + 1]
            if not nxt.startswith(indent) or self.starts_block(nxt[len(indent):]):
                break
            if RULE_LINE.match(nxt):
                raise MarkupError("line %d: an underlined heading or a rule" % (self.i + 2))
            text = _join(text, nxt.strip())
            self.i += 1
        return _inline(text, self.where())

    def code(self, indent, prefix):
        """A fenced block whose fence is the current line; its lines, indented."""
        code = []
        self.i += 1
        while self.i < len(self.lines) and self.lines[self.i].strip() != "```":
            raw = self.lines[self.i].rstrip()
            if raw and not raw.startswith(indent):
                raise MarkupError("%s: code line outside its item" % self.where())
            text = prefix + CODE_INDENT + raw[len(indent):] if raw else ""
            if width(text) > WIDTH:
                raise MarkupError("%s: code line wider than a line" % self.where())
            code.append(text)
            self.i += 1
        if self.i == len(self.lines) or self.lines[self.i] != indent + "```":
            raise MarkupError("%s: code block not closed" % self.where())
        return code

    def item_blocks(self, indent, hang):
        """Paragraphs and code indented under an item, after a blank line: its own."""
        out = []
        while True:
            k = self.i + 1
            while k < len(self.lines) and not self.lines[k].strip():
                k += 1
            if k == self.i + 1 or k == len(self.lines) or not self.lines[k].startswith(indent) \
                    or self.lines[k][len(indent)] == " ":
                return out
            self.i = k
            body = self.lines[k][len(indent):].rstrip()
            out.append("")
            if FENCE.match(body):
                out.extend(self.code(indent, hang))
            elif self.starts_block(body):
                raise MarkupError("%s: only paragraphs and code are understood inside an item" % self.where())
            else:
                out.extend(_wrap(self.paragraph(body, indent), hang, hang, self.where()))


def to_text(markdown, version):
    r = _Reader(markdown.replace("@VERSION@", version))
    blocks = []  # lists of output lines, separated by one blank line
    list_block = None
    while r.i < len(r.lines):
        line = r.lines[r.i].rstrip()
        if not line:
            list_block = None
            r.i += 1
            continue
        if line != line.lstrip():
            raise MarkupError("%s: indented text (nested lists and indented code are not understood)" % r.where())
        heading = HEADING.match(line)
        bullet = BULLET_ITEM.match(line)
        numbered = NUMBERED_ITEM.match(line)
        picture = PICTURE.match(line)
        if heading:
            level = len(heading.group(1))
            title = _inline(heading.group(2), r.where()).replace(CODE_START, "").replace(CODE_END, "")
            if width(title) > WIDTH:
                raise MarkupError("%s: heading wider than a line" % r.where())
            rule = ("=" if level <= 2 else "-") * width(title)
            blocks.append([rule, title, rule] if level == 1 else [title, rule])
            list_block = None
        elif FENCE.match(line):
            blocks.append(r.code("", ""))
            list_block = None
        elif picture:
            name = os.path.basename(picture.group(2))
            caption = _inline(picture.group(1), r.where())
            blocks.append(_wrap("（截图见同一文件夹里的 %s：%s）" % (name, caption), "", "", r.where()))
            list_block = None
        elif bullet or numbered:
            source_mark, mark, first = (numbered.group(1), numbered.group(2) + ". ", numbered.group(3)) if numbered \
                else (bullet.group(1), BULLET, bullet.group(2))
            indent, hang = " " * len(source_mark), " " * width(mark)
            item = _wrap(r.paragraph(first), mark, hang, r.where())
            item += r.item_blocks(indent, hang)
            if list_block is None:
                list_block = []
                blocks.append(list_block)
            list_block.extend(item)
        else:
            blocks.append(_wrap(r.paragraph(line), "", "", r.where()))
            list_block = None
        r.i += 1
    return "\n\n".join("\n".join(b) for b in blocks) + "\n"


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as f:
        sys.stdout.write(to_text(f.read(), sys.argv[2]))
