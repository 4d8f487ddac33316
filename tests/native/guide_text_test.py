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

CLOSING = "，。、；：？！）」』”》…,.;:?!)"
OPENING = "（「『“《(["
QUOTES = ["“”", "《》", "【】"]
UNITS = re.compile(r"\s*(毫秒|秒|分|小时|元|次|个|行|位|台|MB)")
COMMAND = re.compile(r"(ping \d+\.|ipconfig |certutil |cd /d )")


def columns(line):
    # Notepad with a Chinese font: wide, full-width and ambiguous characters take two columns.
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in line)


def is_word(c):
    return c.isascii() and (c.isalnum() or c in "._-\\/:")


class RealDocuments(unittest.TestCase):
    def test_each_line_reads_in_notepad(self):
        for path in ["docs/使用说明.md", "docs/更新说明.md"]:
            with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                lines = guide_text.to_text(f.read(), "1.1.0").split("\n")
            self.assertIn("1.1.0", lines[1])
            for n, line in enumerate(lines):
                before = lines[n - 1] if n else ""
                with self.subTest(document=path, line=n + 1, text=line):
                    self.assertLessEqual(columns(line), 72)
                    self.assertNotRegex(line, r"`|\*\*|\]\(|\||@VERSION@|\t")
                    self.assertNotRegex(line.strip(), r"^(#|- |\* |```|> )")
                    self.assertFalse(line.strip() and line.strip()[0] in CLOSING, "starts with closing punctuation")
                    self.assertFalse(line and line[-1] in OPENING, "ends with opening punctuation")
                    if before and line and not re.match(r"(· |\d+\. |=+$|-+$| {4})", line):
                        self.assertFalse(is_word(before[-1]) and is_word(line.lstrip()[0]), "splits a word")
                    for quote in QUOTES:
                        self.assertEqual(line.count(quote[0]), line.count(quote[1]), "splits a quoted name")
                    self.assertFalse(re.search(r"\d$", before) and UNITS.match(line), "splits a number from its unit")
                    if COMMAND.search(line):
                        self.assertRegex(line, r"^ {4,}" + COMMAND.pattern, "a command on a line of its own")
                    if re.fullmatch(r"=+|-+", line):
                        # A heading's rule, under it (or above the title too): as wide as the
                        # heading, which a blank line sets off.
                        title = before or lines[n + 1]
                        self.assertEqual(columns(title), len(line))
                        self.assertTrue(n < 2 or not before or lines[n - 2] in ("", line))

    def test_the_guides_contents_name_its_chapters(self):
        with open(os.path.join(ROOT, "docs/使用说明.md"), encoding="utf-8") as f:
            guide = f.read()
        contents = guide.split("## 目录\n\n", 1)[1].split("\n", 1)[0]
        chapters = re.findall(r"^## (.+)$", guide, re.M)
        for name in re.sub(r"（.*?）|。$", "", contents).split("、"):
            self.assertIn(name, chapters)


def text(markdown):
    return guide_text.to_text(markdown, "9.9.9").rstrip("\n").split("\n")


class Wrapping(unittest.TestCase):
    def test_full_lines_are_36_wide_characters(self):
        self.assertEqual([len(l) for l in text("测" * 80)], [36, 36, 8])

    def test_lines_end_at_punctuation_near_their_end(self):
        self.assertEqual(text("测" * 33 + "，" + "测" * 10), ["测" * 33 + "，", "测" * 10])

    def test_punctuation_stays_with_its_neighbours(self):
        # The 37th character is a full stop: it takes the 36th with it to the next line.
        self.assertEqual(text("测" * 36 + "。尾"), ["测" * 35, "测。尾"])
        # An opening quote never ends a line.
        self.assertEqual(text("测" * 35 + "“引”"), ["测" * 35, "“引”"])

    def test_words_names_and_commands_are_never_broken(self):
        for piece in ["minggui-x86_64.exe", "192.168.0.200", "疆内.txt", "D:\\茗柜"]:
            with self.subTest(piece=piece):
                self.assertEqual(text("测" * 33 + " " + piece + "，尾")[1], piece + "，尾")

    def test_quoted_names_and_numbers_with_units_stay_together(self):
        self.assertEqual(text("测" * 30 + "点“清除数据”按钮"), ["测" * 30 + "点", "“清除数据”按钮"])
        self.assertEqual(text("测" * 33 + "等 500 毫秒")[1], "500 毫秒")
        self.assertIn("999秒", text("测" * 34 + "999秒")[1])
        # A name wider than a line is broken rather than refused.
        self.assertEqual(len(text("“" + "测" * 40 + "”")), 2)

    def test_lists_hang_their_lines_and_code_keeps_its_own(self):
        self.assertEqual(text("- " + "测" * 40), ["· " + "测" * 34, "   " + "测" * 6])
        self.assertEqual(text("1. " + "测" * 40), ["1. " + "测" * 34, "   " + "测" * 6])
        self.assertEqual(text("```\n路由器，192.168.0.1，\n  x  y\n```"), ["    路由器，192.168.0.1，", "      x  y"])
        # A command on its own line inside a step, and the step going on under it.
        self.assertEqual(text("1. 输入：\n\n   ```\n   ping 127.0.0.1\n   ```\n\n   看结果。\n2. 下一步"),
                         ["1. 输入：", "", "       ping 127.0.0.1", "", "   看结果。", "2. 下一步"])

    def test_markdown_it_does_not_understand_fails_loudly(self):
        for source in ["| a | b |", "见 [说明](x.md)", "#### 太深", "* 项目", "> 引用", "<b>粗</b>",
                       "```\n没有结束", "标题\n---", "_斜体_", "  缩进", "```\n" + "宽" * 35 + "\n```",
                       "测" + "x" * 80, "输入 `ping 127.0.0.1` 回车"]:
            with self.subTest(source=source):
                with self.assertRaises(guide_text.MarkupError):
                    guide_text.to_text(source, "9.9.9")


if __name__ == "__main__":
    unittest.main()
