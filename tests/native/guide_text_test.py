#!/usr/bin/env python3
"""The owner's documents as Notepad shows them: tools/guide_text.py on the real documents and
on the wrapping rules' hard cases."""
import os
import re
import sys
import unicodedata
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import guide_text  # noqa: E402

DOCUMENTS = ["docs/使用说明.md", "docs/更新说明.md"]
CLOSING = "，。、；：？！）」』”》…,.;:?!)"
OPENING = "（「『“《(["
ITEM_START = re.compile(r"^(· |\d+\. )")


def columns(line):
    # Notepad with a Chinese font: wide, full-width and ambiguous characters take two columns.
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in line)


def is_word(c):
    return c.isascii() and (c.isalnum() or c in "._-\\/:")


class RealDocuments(unittest.TestCase):
    def check(self, path, check):
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            lines = guide_text.to_text(f.read(), "1.1.0").split("\n")
        for n, line in enumerate(lines):
            with self.subTest(document=path, line=n + 1, text=line):
                check(lines, n, line)

    def test_each_line_fits_notepad_without_marks(self):
        def check(lines, n, line):
            self.assertLessEqual(columns(line), 72)
            self.assertNotRegex(line, r"`|\*\*|\]\(|\||@VERSION@|\t")
            self.assertNotRegex(line.strip(), r"^(#|- |\* |```|> )")
            self.assertFalse(line.strip() and line.strip()[0] in CLOSING, "starts with closing punctuation")
            self.assertFalse(line and line[-1] in OPENING, "ends with opening punctuation")
        for path in DOCUMENTS:
            self.check(path, check)

    def test_headings_are_set_off_and_underlined_as_wide_as_they_are(self):
        def check(lines, n, line):
            if not re.fullmatch(r"=+|-+", line):
                return
            title = lines[n - 1]
            if n + 1 < len(lines) and lines[n + 1] and not re.fullmatch(r"=+", lines[n + 1]):
                title = lines[n + 1]  # the rule above the document's title
                self.assertEqual(lines[n + 2], line)
            else:
                self.assertTrue(n < 2 or lines[n - 2] == "" or re.fullmatch(r"=+", lines[n - 2]))
            self.assertEqual(columns(title), len(line))
        for path in DOCUMENTS:
            self.check(path, check)

    def test_no_word_is_split_between_lines(self):
        def check(lines, n, line):
            if n == 0 or not line or not lines[n - 1] or ITEM_START.match(line):
                return
            self.assertFalse(is_word(lines[n - 1][-1]) and is_word(line.lstrip()[0]),
                             "splits %r / %r" % (lines[n - 1][-12:], line.lstrip()[:12]))
        for path in DOCUMENTS:
            self.check(path, check)

    def test_guide_has_its_version_and_the_owner_s_sections(self):
        with open(os.path.join(ROOT, DOCUMENTS[0]), encoding="utf-8") as f:
            lines = guide_text.to_text(f.read(), "1.1.0").split("\n")
        self.assertIn("1.1.0", lines[1])
        for heading in ["第一次使用", "常见问题", "全是灰灯怎么办？"]:
            self.assertIn(heading, lines)


def text(markdown):
    return guide_text.to_text(markdown, "9.9.9").rstrip("\n").split("\n")


class Wrapping(unittest.TestCase):
    def test_full_lines_are_36_wide_characters(self):
        lines = text("测" * 80)
        self.assertEqual([len(l) for l in lines], [36, 36, 8])

    def test_punctuation_stays_with_its_neighbours(self):
        # The 37th character is a full stop: it takes the 36th with it to the next line.
        self.assertEqual(text("测" * 36 + "。尾"), ["测" * 35, "测。尾"])
        # An opening quote never ends a line.
        self.assertEqual(text("测" * 35 + "“引”"), ["测" * 35, "“引”"])

    def test_words_names_and_commands_are_never_broken(self):
        for piece in ["minggui-x86_64.exe", "192.168.0.200", "疆内.txt", "D:\\茗柜"]:
            with self.subTest(piece=piece):
                lines = text("测" * 33 + " " + piece + "，尾")
                self.assertEqual(lines[1], piece + "，尾")
        self.assertEqual(text("测" * 30 + "输入 `ping 192.168.0.1` 回车")[1], "ping 192.168.0.1 回车")

    def test_list_items_hang_their_continuation_under_the_text(self):
        self.assertEqual(text("- " + "测" * 40), ["· " + "测" * 34, "   " + "测" * 6])
        self.assertEqual(text("1. " + "测" * 40), ["1. " + "测" * 34, "   " + "测" * 6])

    def test_code_blocks_keep_their_lines_indented(self):
        self.assertEqual(text("```\n路由器，192.168.0.1，\n  x  y\n```"), ["    路由器，192.168.0.1，", "      x  y"])

    def test_markdown_it_does_not_understand_fails_loudly(self):
        for source in ["| a | b |", "见 [说明](x.md)", "#### 太深", "* 项目", "> 引用", "<b>粗</b>",
                       "```\n没有结束", "标题\n---", "_斜体_", "  缩进", "```\n" + "宽" * 35 + "\n```",
                       "测" + "x" * 80]:
            with self.subTest(source=source):
                with self.assertRaises(guide_text.MarkupError):
                    guide_text.to_text(source, "9.9.9")


if __name__ == "__main__":
    unittest.main()
