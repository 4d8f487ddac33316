#!/usr/bin/env python3
"""Writes the guide as a text file, the checksums and the zip of a release.

    tools/pack-release.py DIST VERSION GUIDE.md PICTURE...

DIST already holds the two programs. Written beside them:
- 使用说明.txt: the guide for Notepad: UTF-8 with a byte-order mark (Notepad of every Windows
  version since XP reads it as UTF-8, whatever the system's code page) and CR LF line ends
  (Notepad before Windows 10 shows a file without CR as one long line). Picture links become a
  line naming the picture file, which the zip carries too.
- the pictures, and SHA256SUMS over everything in the zip (sha256sum's format).
- minggui-VERSION.zip: all of it under one folder. Names that are not ASCII are stored in GBK
  without the UTF-8 flag, as the zip folders of Chinese Windows (7 included) read them, with
  the UTF-8 name in an Info-ZIP Unicode path field for other tools (7-Zip, WinRAR, unzip).
"""
import hashlib
import os
import shutil
import struct
import sys
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import guide_text as guide_text_module  # noqa: E402

GUIDE_TEXT = "使用说明.txt"


def guide_text(markdown, version):
    text = guide_text_module.to_text(markdown, version)
    return "\ufeff" + text.replace("\n", "\r\n")


class GbkNamedInfo(zipfile.ZipInfo):
    """A member whose name is stored as GBK bytes, without the UTF-8 flag zipfile would set."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def zip_info(name, folder):
    """A member named `name` (inside `folder`), its name stored for Chinese Windows."""
    full = folder + "/" + name
    kind = zipfile.ZipInfo if full.isascii() else GbkNamedInfo
    info = kind(full, date_time=(2026, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    if kind is GbkNamedInfo:
        field = struct.pack("<BI", 1, zlib.crc32(full.encode("gbk"))) + full.encode("utf-8")
        info.extra = struct.pack("<HH", 0x7075, len(field)) + field
    return info


def main():
    dist, version, guide, pictures = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    with open(guide, encoding="utf-8") as f:
        text = guide_text(f.read(), version)
    with open(os.path.join(dist, GUIDE_TEXT), "w", encoding="utf-8", newline="") as f:
        f.write(text)
    for picture in pictures:
        shutil.copyfile(picture, os.path.join(dist, os.path.basename(picture)))

    members = sorted(n for n in os.listdir(dist) if n.endswith(".exe")) + [GUIDE_TEXT] + \
        [os.path.basename(p) for p in pictures]
    sums = ""
    for name in members:
        with open(os.path.join(dist, name), "rb") as f:
            sums += "%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), name)
    with open(os.path.join(dist, "SHA256SUMS"), "w", encoding="utf-8", newline="\n") as f:
        f.write(sums)
    members.append("SHA256SUMS")

    folder = "minggui-%s" % version
    archive = os.path.join(dist, folder + ".zip")
    with zipfile.ZipFile(archive, "w") as z:
        for name in members:
            with open(os.path.join(dist, name), "rb") as f:
                z.writestr(zip_info(name, folder), f.read())
    print(archive)


if __name__ == "__main__":
    main()
