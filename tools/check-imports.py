#!/usr/bin/env python3
"""Checks the functions a program imports from Windows against tools/windows-imports.txt.

    tools/check-imports.py OLDEST LIST PROGRAM [OBJDUMP]

OLDEST is the oldest Windows the programs state (6.1 for Windows 7), LIST the committed list
of allowed imports (DLL!function and the first Windows version that has it). Reads the
program's import tables with objdump -p and fails, naming each, on a function the list does
not hold and on one whose first Windows is newer than OLDEST. Prints how many functions
come from each DLL; --list prints them all instead.
"""
import re
import subprocess
import sys


def version(text):
    """"6.1" as (6, 1): versions compare as numbers, so 10.0 comes after 6.1."""
    return tuple(int(part) for part in text.split("."))


def read_list(path):
    allowed = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            # A comment starts at a "#" after a space; "DLL!#17" names an ordinal import.
            line = re.sub(r"(^|\s)#.*$", "", line).strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != 2 or "!" not in fields[0]:
                raise SystemExit("%s:%d: not 'DLL!function version': %s" % (path, number, line))
            dll, function = fields[0].split("!", 1)
            allowed[dll.lower() + "!" + function] = version(fields[1])
    return allowed


def imports(objdump_text):
    """DLL!function for every import in objdump -p's output: DLL names in lower case, a
    function imported by its ordinal only as DLL!#ordinal."""
    found = []
    dll = None
    for line in objdump_text.splitlines():
        # A DLL's block: "\tDLL Name: X", then one "\tvma  hint  name" line per function (an
        # ordinal import shows its ordinal and "<none>"); the block ends at a line without a tab.
        if not line.startswith("\t"):
            dll = None
            continue
        fields = line.split()
        if line.strip().startswith("DLL Name:"):
            dll = line.split(":", 1)[1].strip().lower()
        elif dll and len(fields) >= 3 and is_hex(fields[0]) and fields[1].isdigit():
            found.append(dll + "!" + ("#%d" % int(fields[1]) if fields[2] == "<none>" else fields[2]))
    return found


def is_hex(text):
    try:
        int(text, 16)
        return True
    except ValueError:
        return False


def problems(found, allowed, oldest):
    out = []
    for name in sorted(set(found)):
        if name not in allowed:
            out.append("%s is not in the list of checked imports: look up the first Windows "
                       "that has it in the platform's documentation, then add it" % name)
        elif allowed[name] > oldest:
            out.append("%s needs Windows %s, newer than the oldest stated, %s" % (
                name, ".".join(map(str, allowed[name])), ".".join(map(str, oldest))))
    return out


def main():
    args = [a for a in sys.argv[1:] if a != "--list"]
    if len(args) not in (3, 4):
        sys.exit(__doc__)
    oldest, listed, program = version(args[0]), read_list(args[1]), args[2]
    objdump = args[3] if len(args) == 4 else "x86_64-w64-mingw32-objdump"
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    found = imports(text)
    if not found:
        sys.exit("no imports found in %s" % program)
    if "--list" in sys.argv:
        print("\n".join(sorted(set(found))))
    else:
        per_dll = {}
        for name in found:
            per_dll[name.split("!")[0]] = per_dll.get(name.split("!")[0], 0) + 1
        print("      imports: " + ", ".join("%s %d" % (d, n) for d, n in sorted(per_dll.items())))
    bad = problems(found, listed, oldest)
    for line in bad:
        print("      " + line)
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
