#!/usr/bin/env python3
"""Writes the unit and font tables of direct_window.cpp from toolbox/main_window.toml.

    bench/startup/make_direct_table.py           rewrite the table in direct_window.cpp
    bench/startup/make_direct_table.py --check   exit 1 when the checked-in table is stale

The build never runs this: the table it writes is checked in. Rerun it after the form
changes, so the baseline keeps the program's units, fonts and texts.
"""
import os
import sys
import tomllib

HERE = os.path.dirname(os.path.abspath(__file__))
FORM = os.path.join(HERE, "..", "..", "toolbox", "main_window.toml")
TARGET = os.path.join(HERE, "direct_window.cpp")
BEGIN = "// ---- table written by make_direct_table.py: do not edit by hand ----\n"
END = "// ---- end of the written table ----\n"

KINDS = {
    "Button": "kButton",
    "ComboBox": "kComboBox",
    "EditBox": "kEdit",
    "GroupBox": "kGroupBox",
    "Label": "kLabel",
    "ListBox": "kListBox",
    "PageControl": "kPages",
    "StatusBar": "kStatusBar",
    "Timer": "kTimer",
    "TransLabel": "kTransLabel",
}
ALIGN = {None: 0, "left": 0, "centre": 1, "right": 2}
# The start-up code arms the clock; the monitor's timer stays off until 开始 is pressed.
TIMER_INTERVALS = {"时钟1": 1000}
# Fields the baseline passes on; the creation code forces the charset, precisions,
# quality and pitch the way the program's font creation does.
FONT_FIELDS = ("height", "width", "escapement", "orientation", "weight", "italic", "underline", "strike_out")
FONT_IGNORED = ("charset", "out_precision", "clip_precision", "quality", "pitch_and_family")


def wide(text):
    return 'L"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def colour(value):
    return "kSystemColour" if value is None else "0x%08X" % value


def main():
    with open(FORM, "rb") as f:
        form = tomllib.load(f)
    units = form["unit"]
    index = {u["name"]: i for i, u in enumerate(units)}

    fonts = []  # distinct LOGFONT descriptions in order of first use

    def font_id(font):
        if font is None:
            return "-1"
        unknown = set(font) - set(FONT_FIELDS) - set(FONT_IGNORED) - {"face"}
        if unknown:
            sys.exit("unknown font fields: %s" % sorted(unknown))
        key = tuple(font.get(k, 0) for k in FONT_FIELDS) + (font.get("face", ""),)
        if key not in fonts:
            fonts.append(key)
        return str(fonts.index(key))

    items = []  # (array name, texts)
    rows = []
    for i, u in enumerate(units):
        kind = u["type"]
        if kind == "ListView":
            c = "kResultList" if "item_image_list" in u else "kAddressList"
        else:
            c = KINDS[kind]
        parent = u.get("parent")
        parent_row = "kOnWindow" if parent is None else str(index[parent])
        page = u.get("page", 0)
        text = u.get("caption", u.get("content", ""))
        font = font_id(u.get("tab_font") if kind == "PageControl" else u.get("font"))
        align = ALIGN[u.get("alignment", u.get("horizontal_alignment"))]
        item_ref = "{}"
        if "items" in u:
            name = "kItems%d" % i
            items.append((name, u["items"]))
            item_ref = "{%s, %d}" % (name, len(u["items"]))
        extra = 0
        if kind == "Timer":
            extra = TIMER_INTERVALS.get(u["name"], 0)
        elif kind == "EditBox":
            extra = u.get("max_length", 0)
        elif kind == "TransLabel":
            extra = u.get("effect", 0)
        flags = []
        if u.get("visible", True):
            flags.append("kVisible")
        if u.get("disabled", False):
            flags.append("kDisabled")
        rows.append(
            "    {%s, %s, %d, %d, %d, %d, %d, %s, %s, %s, %s, %d, %d, %s},  // %d %s"
            % (c, parent_row, page, u["left"], u["top"], u["width"], u["height"],
               " | ".join(flags) or "0", wide(text), font, colour(u.get("text_colour")), align, extra,
               item_ref, i, u["name"]))

    out = [BEGIN]
    out.append("const FontRow kFonts[] = {\n")
    for f in fonts:
        out.append("    {%s, %s},\n" % (", ".join(str(v) for v in f[:-1]), wide(f[-1])))
    out.append("};\n\n")
    for name, texts in items:
        out.append("const wchar_t* const %s[] = {\n" % name)
        for t in texts:
            out.append("    %s,\n" % wide(t))
        out.append("};\n")
    out.append("\n// kind, parent row, page, left, top, width, height, flags, text, font, text colour,\n")
    out.append("// alignment, extra (timer interval, edit limit or label effect), items\n")
    out.append("const UnitRow kUnits[] = {\n")
    out.extend(r + "\n" for r in rows)
    out.append("};\n\n")
    out.append("// Rows by unit name.\nnamespace row {\nenum : int {\n")
    out.extend("    %s = %d,\n" % (u["name"], i) for i, u in enumerate(units))
    out.append("};\n}  // namespace row\n")
    out.append(END)
    table = "".join(out)

    with open(TARGET, encoding="utf-8") as f:
        source = f.read()
    start, stop = source.index(BEGIN), source.index(END) + len(END)
    updated = source[:start] + table + source[stop:]
    if "--check" in sys.argv:
        if updated != source:
            sys.exit("direct_window.cpp's table does not follow toolbox/main_window.toml:"
                     " run bench/startup/make_direct_table.py")
        return
    if updated != source:
        with open(TARGET, "w", encoding="utf-8") as f:
            f.write(updated)


if __name__ == "__main__":
    main()
