#!/usr/bin/env python3
"""Writes the texts, the checksums and the zip of a release.

    tools/pack-release.py DIST VERSION EPOCH

DIST already holds the two programs (minggui-*.exe). EPOCH is the commit's time in seconds
since 1970 (git log -1 --format=%ct): every time the zip stores is that one, so that the
same commit always packs into the same bytes. Written beside the programs:
- 使用说明.txt and 更新说明.txt: docs/使用说明.md and docs/更新说明.md for Notepad, and
  LICENSE.txt: LICENSE. UTF-8 with a byte-order mark (Notepad of every Windows version since
  XP reads it as UTF-8, whatever the system's code page) and CR LF line ends (Notepad before
  Windows 10 shows a file without CR as one long line). A picture link of the guide becomes a
  line naming the picture file, and that picture is copied too.
- SHA256SUMS.txt over every one of those files, in sha256sum's format with CR LF line ends:
  `sha256sum -c` takes them, and Notepad shows one file a line.
- minggui-VERSION.zip: all of it under one folder, SHA256SUMS.txt included. Names that are
  not ASCII are stored in GBK without the UTF-8 flag, as the zip folders of Chinese Windows
  (7 included) read them, with the UTF-8 name in an Info-ZIP Unicode path field for other
  tools (7-Zip, WinRAR, unzip).
Then SHA256SUMS.txt is written again with the zip's line added, for the download as a whole.
"""
import hashlib
import os
import re
import shutil
import stat
import struct
import sys
import time
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import guide_text as guide_text_module  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOCS = os.path.join(ROOT, "docs")
# The owner's texts: the file in the download and its source. The guide comes first.
TEXTS = [("使用说明.txt", os.path.join(DOCS, "使用说明.md")),
         ("更新说明.txt", os.path.join(DOCS, "更新说明.md"))]
LICENSE = ("LICENSE.txt", os.path.join(ROOT, "LICENSE"))
SUMS = "SHA256SUMS.txt"


def for_notepad(text):
    return "\ufeff" + text.replace("\r\n", "\n").replace("\n", "\r\n")


def pictures_named_in(markdown):
    """The picture files a text links to, as guide_text names them: their base names."""
    return [os.path.basename(m) for m in re.findall(r"!\[[^\]]*\]\(([^)]+)\)", markdown)]


class GbkNamedInfo(zipfile.ZipInfo):
    """A member whose name is stored as GBK bytes, without the UTF-8 flag zipfile would set."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def zip_info(name, folder, date_time):
    """A member named `name` (inside `folder`), its name stored for Chinese Windows."""
    full = folder + "/" + name
    kind = zipfile.ZipInfo if full.isascii() else GbkNamedInfo
    info = kind(full, date_time=date_time)
    info.compress_type = zipfile.ZIP_DEFLATED
    # A plain file made on Unix, read-write for the owner and readable for all, wherever this
    # script runs (zipfile would take the system from the machine).
    info.create_system = 3
    info.external_attr = (stat.S_IFREG | 0o644) << 16
    if kind is GbkNamedInfo:
        field = struct.pack("<BI", 1, zlib.crc32(full.encode("gbk"))) + full.encode("utf-8")
        info.extra = struct.pack("<HH", 0x7075, len(field)) + field
    return info


def sums_of(dist, names):
    lines = []
    for name in names:
        with open(os.path.join(dist, name), "rb") as f:
            lines.append("%s  %s\r\n" % (hashlib.sha256(f.read()).hexdigest(), name))
    return "".join(lines)


def pack(dist, version, epoch):
    members = sorted(n for n in os.listdir(dist) if n.startswith("minggui-") and n.endswith(".exe"))
    pictures = []
    for name, source in TEXTS:
        with open(source, encoding="utf-8") as f:
            markdown = f.read()
        with open(os.path.join(dist, name), "w", encoding="utf-8", newline="") as f:
            f.write(for_notepad(guide_text_module.to_text(markdown, version)))
        members.append(name)
        pictures += [p for p in pictures_named_in(markdown) if p not in pictures]
    with open(LICENSE[1], encoding="utf-8") as f:
        licence = f.read()
    with open(os.path.join(dist, LICENSE[0]), "w", encoding="utf-8", newline="") as f:
        f.write(for_notepad(licence))
    members.append(LICENSE[0])
    for picture in pictures:
        shutil.copyfile(os.path.join(DOCS, picture), os.path.join(dist, picture))
    members += pictures

    inside = sums_of(dist, members)
    with open(os.path.join(dist, SUMS), "w", encoding="utf-8", newline="") as f:
        f.write(inside)
    members.append(SUMS)

    # Zip times have no time zone: the commit's time in UTC, the same on every machine.
    date_time = time.gmtime(epoch)[:6]
    folder = "minggui-%s" % version
    archive = folder + ".zip"
    with zipfile.ZipFile(os.path.join(dist, archive), "w") as z:
        for name in members:
            with open(os.path.join(dist, name), "rb") as f:
                z.writestr(zip_info(name, folder, date_time), f.read(), compresslevel=9)

    with open(os.path.join(dist, SUMS), "w", encoding="utf-8", newline="") as f:
        f.write(inside + sums_of(dist, [archive]))
    return os.path.join(dist, archive)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    print(pack(sys.argv[1], sys.argv[2], int(sys.argv[3])))


if __name__ == "__main__":
    main()
