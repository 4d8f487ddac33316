// A representative window template for tests and the benchmark: a window record, a page
// control with three pages, a group box holding units, a status bar and units of every
// type with type data and events, shaped like the main window (118 records by default).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "controls/unit_types.h"
#include "forms/template_image.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/units/timer_type.h"
#include "forms/type_data/window_data.h"

namespace sample {

inline LogFontBytes Font(int32_t height, int32_t weight, const char* face) {
    LogFontBytes f;
    f.height = height;
    f.weight = weight;
    f.charSet = 134;
    f.SetFace(face);
    return f;
}

inline UnitRecord Unit(uint32_t id, uint32_t type, std::string name, int32_t left, int32_t top, int32_t width, int32_t height) {
    UnitRecord r;
    r.id = id;
    r.typeCode = type;
    r.name = std::move(name);
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.cursorData = {0, 0, 0, 0};
    r.stateFlags = UnitRecord::kStateVisible;
    return r;
}

// pairsPerPage: units per page, in pairs of a transparent label and an edit box, plus
// ten fixed records; the default gives 118 records.
inline TemplateImage MakeImage(int pairsPerPage = 18) {
    WindowTemplate w;
    w.id = 0x52010001;
    w.attributeA = 11;
    w.attributeB = 0x19010003;

    UnitRecord self = Unit(kWindowRecordId, kTypeWindow, "", 50, 50, 500, 550);
    self.cursorData = {0, 0, 0, 0};
    WindowData wd;
    wd.pictureSetting = 1;
    wd.backgroundColour = 0x00ECECEC;
    wd.minimiseBox = 0;
    wd.position = 1;
    wd.switch22 = 1;
    wd.caption = "\xDC\xF8\xB9\xF1";  // 茗柜
    self.typeData = WindowData::Write(wd);
    self.events = {{0, 0}};
    w.records.push_back(self);

    uint32_t next = 0x16010010;
    std::vector<std::vector<uint32_t>> pages(3);
    UnitRecord pageControl = Unit(0x16010002, kTypePageControl, "tabs", 0, 0, 500, 500);
    PageControlData pd;
    for (const char* caption : {"p1", "p2", "p3"}) {
        PageControlPage page;
        page.caption = caption;
        page.secondText = std::string(caption) + " long";
        pd.pages.push_back(page);
    }
    pageControl.typeData = PageControlData::Write(pd);

    UnitRecord status = Unit(0x16010003, kTypeStatusBar, "status", 0, 500, 500, 22);
    StatusBarData sd;
    sd.font = EncodeFont(Font(-12, 400, "KaiTi"));
    sd.parts.push_back({});
    status.typeData = StatusBarData::Write(sd);

    std::vector<UnitRecord> units;
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < pairsPerPage; ++i) {
            UnitRecord label = Unit(next++, kTypeTransLabel, "label" + std::to_string(p) + "_" + std::to_string(i), 8, 20 * i, 65, 20);
            TransLabelData ld;
            ld.caption = "price " + std::to_string(i);
            ld.horizontalAlignment = 2;
            label.parentId = pageControl.id;
            label.typeData = TransLabelData::Write(ld);
            UnitRecord edit = Unit(next++, kTypeEditBox, "edit" + std::to_string(p) + "_" + std::to_string(i), 78, 20 * i, 40, 20);
            EditBoxData ed;
            ed.alignment = 2;
            ed.inputMode = EditBoxData::kIntegerText;
            edit.parentId = pageControl.id;
            edit.stateFlags |= UnitRecord::kStateTabStop;
            edit.typeData = EditBoxData::Write(ed);
            edit.events = {{-9, static_cast<uint32_t>(16 * (1 + p))}};
            pages[p].push_back(label.id);
            pages[p].push_back(edit.id);
            units.push_back(label);
            units.push_back(edit);
        }
    }

    UnitRecord group = Unit(next++, kTypeGroupBox, "group", 292, 245, 160, 180);
    group.parentId = pageControl.id;
    UnitRecord inner = Unit(next++, kTypeLabel, "caption", 4, 0, 150, 30);
    LabelData lab;
    lab.caption = "summary";
    inner.parentId = group.id;
    inner.typeData = LabelData::Write(lab);
    group.children = {inner.id};
    pages[0].push_back(group.id);

    UnitRecord button = Unit(next++, kTypeButton, "calc", 298, 430, 60, 24);
    ButtonData bd;
    bd.caption = "calc";
    button.parentId = pageControl.id;
    button.typeData = ButtonData::Write(bd);
    button.events = {{0, 64}, {-9, 0}};
    pages[0].push_back(button.id);

    UnitRecord combo = Unit(next++, kTypeComboBox, "cashier", 375, 222, 72, 20);
    ComboBoxData cd;
    cd.items = {"one", "two", "three"};
    combo.parentId = pageControl.id;
    combo.typeData = ComboBoxData::Write(cd);
    pages[0].push_back(combo.id);

    UnitRecord timer = Unit(next++, kTypeTimer, "clock", 444, 440, 24, 24);
    timer.parentId = pageControl.id;
    timer.events = {{0, 80}};
    pages[0].push_back(timer.id);

    UnitRecord list = Unit(next++, kTypeListBox, "hosts", 320, 344, 104, 40);
    ListBoxData lbd;
    for (int i = 0; i < 21; ++i) lbd.items.push_back("host" + std::to_string(i) + ",10.0.0." + std::to_string(i) + ",");
    list.parentId = pageControl.id;
    list.stateFlags = 0;
    list.typeData = ListBoxData::Write(lbd);
    pages[1].push_back(list.id);

    UnitRecord view = Unit(next++, kTypeListView, "results", 24, 48, 104, 104);
    ListViewData vd;
    vd.columns = {{0, -1, 0, 50, "addr"}, {0, -1, 1, 18, " "}};
    vd.rows = {{{0, -1, 0, 0, 0, "row", ""}}};
    view.parentId = pageControl.id;
    view.typeData = ListViewData::Write(vd);
    pages[1].push_back(view.id);

    pageControl.children = JoinPages(pages);
    w.records.push_back(pageControl);
    w.records.push_back(status);
    for (auto& u : units) w.records.push_back(u);
    for (auto* u : {&group, &inner, &button, &combo, &timer, &list, &view}) w.records.push_back(*u);

    TemplateImage image;
    image.windows.push_back(w);
    return image;
}

}  // namespace sample
