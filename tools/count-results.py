#!/usr/bin/env python3
"""Sums ctest JUnit reports into the one summary line; exits 1 on any failure."""
import sys
import xml.etree.ElementTree as ET

passed = failed = 0
for path in sys.argv[1:]:
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        failed += 1  # a missing report means that suite did not run
        continue
    for case in root.iter("testcase"):
        status = case.get("status", "")
        if status == "run" or (status == "" and case.find("failure") is None and case.find("error") is None):
            passed += 1
        elif status == "notrun" and case.find("skipped") is not None:
            failed += 1  # a skipped test is not a pass
        else:
            failed += 1
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed or passed == 0 else 0)
