#!/usr/bin/env python3
"""The owner's texts (docs/*.md) as plain text for Notepad.

    tools/guide_text.py GUIDE.md VERSION     prints the text

to_text(markdown, version) gives the text with "\\n" line ends and no byte-order mark;
tools/pack-release.py adds both for the download.
"""
import os
import re
import sys


def to_text(markdown, version):
    def picture(m):
        return "（图：%s，见同一文件夹中的 %s）" % (m.group(1), os.path.basename(m.group(2)))
    text = re.sub(r"!\[([^\]]*)\]\(([^)]+)\)", picture, markdown.replace("\r\n", "\n"))
    return text.replace("@VERSION@", version)


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as f:
        sys.stdout.write(to_text(f.read(), sys.argv[2]))
