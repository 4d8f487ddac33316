#!/usr/bin/env python3
"""The release tools: the download packed the same from one commit in any folder, checkable
with sha256sum, readable in Notepad; and the imports check against the stated Windows."""
import hashlib
import importlib.util
import os
import subprocess
import tempfile
import time
import unittest
import zipfile

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")


def load(name, file):
    spec = importlib.util.spec_from_file_location(name, os.path.join(TOOLS, file))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


pack_release = load("pack_release", "pack-release.py")
check_imports = load("check_imports", "check-imports.py")

EPOCH = 1765344295  # 2025-12-10 05:24:55 UTC
PROGRAMS = {"minggui-x86_64.exe": b"MZ 64-bit", "minggui-i686.exe": b"MZ 32-bit"}


def packed(parent, epoch=EPOCH):
    dist = os.path.join(parent, "dist")
    os.makedirs(dist)
    for name, data in PROGRAMS.items():
        with open(os.path.join(dist, name), "wb") as f:
            f.write(data)
    return dist, pack_release.pack(dist, "9.8.7", epoch)


def sha256(data):
    return hashlib.sha256(data).hexdigest()


class PackTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def test_same_commit_packs_to_the_same_bytes_in_any_folder(self):
        _, first = packed(os.path.join(self.tmp.name, "a"))
        time.sleep(2.1)  # a zip time taken from the clock would differ now
        _, second = packed(os.path.join(self.tmp.name, "deeper", "b"))
        with open(first, "rb") as f, open(second, "rb") as g:
            self.assertEqual(f.read(), g.read())
        _, other_commit = packed(os.path.join(self.tmp.name, "c"), EPOCH + 3600)
        with open(first, "rb") as f, open(other_commit, "rb") as g:
            self.assertNotEqual(f.read(), g.read())

    def test_zip_members_order_times_and_attributes(self):
        _, archive = packed(self.tmp.name)
        with zipfile.ZipFile(archive, metadata_encoding="gbk") as z:
            infos = z.infolist()
        names = [i.filename for i in infos]
        self.assertEqual(names[:5], ["minggui-9.8.7/" + n for n in (
            "minggui-i686.exe", "minggui-x86_64.exe", "使用说明.txt", "更新说明.txt", "LICENSE.txt")])
        self.assertEqual(names[-1], "minggui-9.8.7/SHA256SUMS.txt")
        self.assertTrue(names[5:-1] and all(n.endswith(".png") for n in names[5:-1]))
        # DOS times count in 2 s steps: the commit's second, rounded down to even.
        expected = time.gmtime(EPOCH - EPOCH % 2)[:6]
        for info in infos:
            self.assertEqual((info.date_time, info.external_attr >> 16), (expected, 0o100644), info.filename)

    def test_checksums_hold_and_texts_read_in_notepad(self):
        dist, archive = packed(self.tmp.name)
        subprocess.run(["sha256sum", "--quiet", "--strict", "-c", "SHA256SUMS.txt"], cwd=dist, check=True)
        with open(os.path.join(dist, "SHA256SUMS.txt"), "rb") as f:
            outside = f.read()
        with zipfile.ZipFile(archive, metadata_encoding="gbk") as z:
            inside = z.read(z.infolist()[-1])
            for info in z.infolist()[:-1]:
                line = "%s  %s\r\n" % (sha256(z.read(info)), info.filename.split("/", 1)[1])
                self.assertIn(line.encode("utf-8"), inside)
        with open(archive, "rb") as f:
            raw = f.read()
        self.assertEqual(outside, inside + ("%s  minggui-9.8.7.zip\r\n" % sha256(raw)).encode())
        self.assertIn("minggui-9.8.7/使用说明.txt".encode("gbk"), raw)  # as Chinese Windows reads it
        for name in ("使用说明.txt", "更新说明.txt", "LICENSE.txt"):
            with open(os.path.join(dist, name), "rb") as f:
                data = f.read()
            self.assertTrue(data.startswith(b"\xef\xbb\xbf"), name)
            self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), name)
        self.assertIn("茗柜开发组".encode(), data)


OBJDUMP = """\
The Import Tables (interpreted .idata section contents)
 vma:            Hint    Time      Forward  DLL       First
 00133000\t001330b8 00000000 00000000 00135304 00133960

\tDLL Name: KERNEL32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t134208\t   70  GetTickCount64
\t13421c\t   92  CreateFileW

 00133014\t001330d8 00000000 00000000 0013538c 00133980

\tDLL Name: foo.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t8000000000000007\t    000000007  <none>

There is an export table in .edata at 0x140001000
\t[   0] +base[   1] 0000 Exported Function
"""


class ImportsTest(unittest.TestCase):
    def test_imports_read_from_objdump_named_and_by_ordinal(self):
        self.assertEqual(check_imports.imports(OBJDUMP),
                         ["kernel32.dll!GetTickCount64", "kernel32.dll!CreateFileW", "foo.dll!#7"])

    def test_a_missing_or_too_new_import_fails_by_name(self):
        allowed = {"kernel32.dll!GetTickCount64": (6, 0), "kernel32.dll!CreateFileW": (5, 1),
                   "kernel32.dll!Newer": (10, 0)}
        found = ["kernel32.dll!GetTickCount64", "kernel32.dll!CreateFileW", "kernel32.dll!Newer", "foo.dll!#7"]
        problems = check_imports.problems(found, allowed, check_imports.version("6.1"))
        self.assertEqual(len(problems), 2, problems)
        self.assertIn("foo.dll!#7 is not in the list", problems[0])
        self.assertIn("kernel32.dll!Newer needs Windows 10.0", problems[1])
        self.assertEqual(check_imports.problems(found[:2], allowed, (6, 0)), [])
        self.assertEqual(len(check_imports.problems(found[:2], allowed, (5, 2))), 1)

    def test_list_lines_with_comments_and_ordinals(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write("# comment\ncomctl32.dll!#17  6.0  # by ordinal\nKERNEL32.dll!Sleep 5.1\n")
        self.addCleanup(os.unlink, f.name)
        self.assertEqual(check_imports.read_list(f.name), {"comctl32.dll!#17": (6, 0), "kernel32.dll!Sleep": (5, 1)})
        self.assertTrue(check_imports.read_list(os.path.join(TOOLS, "windows-imports.txt")))


if __name__ == "__main__":
    unittest.main()
