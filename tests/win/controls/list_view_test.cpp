// The super list box on real windows: creation styles, property writes that act at once
// or rebuild, image lists from "MITL" blocks, the form's columns and rows, the current
// selection, and the commands with their edge cases, from the window thread and
// from a worker thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/image_list_stream.h"
#include "controls/list_view_data.h"
#include "controls/list_view_unit.h"
#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"
#include "toolbox/rt/text.h"

namespace {

constexpr uint32_t kList = 0x16010002, kHidden = 0x16010003, kEdit = 0x16010004;
constexpr uint32_t kShown = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;
const COLORREF kLampColours[4] = {RGB(128, 128, 128), RGB(0, 200, 0), RGB(230, 200, 0), RGB(220, 0, 0)};

// Four opaque 16 x 16 lamps in a "MITL" block.
std::vector<uint8_t> Lamps() {
    ImageListSource s{16, 16, {}};
    for (COLORREF c : kLampColours) {
        std::vector<uint8_t> rgba;
        for (int i = 0; i < 16 * 16; ++i) rgba.insert(rgba.end(), {GetRValue(c), GetGValue(c), GetBValue(c), 255});
        s.images.push_back(rgba);
    }
    return ImageListPropertyBlock(*WriteImageListStream(s));
}

ListViewData Report() {
    ListViewData d;
    d.viewType = 3;
    d.singleSelection = 1;
    d.columns = {{0, -1, 0, 50, "地址"}};
    return d;
}

void Load(std::vector<UnitRecord> units, bool visible = true) {
    units.insert(units.begin(), WindowRecord(PlainWindowData(), 40, 40, 460, 360));
    if (!visible) units[0].stateFlags = 0;  // a shown window takes long to go again
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(50);
}

UnitRecord ListUnit(uint32_t id, const ListViewData& d, uint32_t flags = kShown, int left = 10, int top = 10, int width = 300,
                    int height = 200) {
    return Unit(id, kTypeListView, left, top, width, height, ListViewData::Write(d), flags);
}

HWND ListHandle(uint32_t id = kList) { return UnitHandle(id); }
LRESULT Lv(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, uint32_t id = kList) {
    return SendMessageW(ListHandle(id), message, wParam, lParam);
}

// A command through the runtime entry, as the tools call it (library index 2).
ArgValue Call(CommandRoutine routine, uint32_t unit, std::vector<ArgValue> rest = {}) {
    std::vector<ArgValue> args = {ArgValue::OfUnit(kTestWindowId, unit, kTypeListView)};
    args.insert(args.end(), rest.begin(), rest.end());
    return RtEntries().callLibCommand(2, routine, static_cast<int32_t>(args.size()), args.data());
}
ArgValue I(int32_t v) { return ArgValue::OfInt(v); }
ArgValue T(const char* text) { return ArgValue::OfText(text); }
const ArgValue kOmitted{};

std::string CellText(uint32_t unit, int row, int column) {
    ArgValue r = Call(&ListViewCellText, unit, {I(row), I(column)});
    EXPECT_EQ(r.tag, kTagText);
    return std::string(rt::Text::Adopt(static_cast<char*>(r.Pointer())).view());
}

LVITEMW Item(int row, int column = 0, uint32_t unit = kList) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_STATE | LVIF_INDENT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = column;
    item.stateMask = static_cast<UINT>(-1);
    Lv(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item), unit);
    return item;
}

LVCOLUMNW Column(int column, std::wstring* title = nullptr) {
    static wchar_t text[64];
    LVCOLUMNW c = {};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_IMAGE;
    c.pszText = text;
    c.cchTextMax = 64;
    text[0] = 0;
    Lv(LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
    if (title) *title = text;
    return c;
}

int ColumnCount(uint32_t unit = kList) {
    auto header = reinterpret_cast<HWND>(Lv(LVM_GETHEADER, 0, 0, unit));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void WriteBytes(uint32_t unit, int32_t index, const std::vector<uint8_t>& bytes) {
    void* block = bytes.empty() ? nullptr : NewByteSet(bytes.data(), bytes.size());
    uint64_t p = reinterpret_cast<uintptr_t>(block);
    RtEntries().writeProperty(kTestWindowId, unit, index, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    RtFree(block);
}

// The control answers -1 ("ask the parent") with I_IMAGENONE, the unit's answer.
bool NoImage(int image) { return image == -1 || image == I_IMAGENONE; }

int ImageCount(HIMAGELIST list) { return list ? ImageList_GetImageCount(list) : -1; }
HIMAGELIST ImageListOf(int which) { return reinterpret_cast<HIMAGELIST>(Lv(LVM_GETIMAGELIST, static_cast<WPARAM>(which))); }

}  // namespace

TEST(ListView, CreationStylesFollowTheViewAndTheProperties) {
    struct Case {
        const char* what;
        void (*tweak)(ListViewData&);
        DWORD style;    // besides WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
        DWORD exStyle;  // the window's
        DWORD listEx;   // the list view's, besides 0x402
    };
    const Case cases[] = {
        {"large icons, sunken border", [](ListViewData&) {}, LVS_ICON, WS_EX_CLIENTEDGE, 0},
        {"icon view settings", [](ListViewData& d) { d.viewType = 1; d.iconArrangement = 1; d.autoArrange = 1; d.labelWrap = 0; },
         LVS_SMALLICON | LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP, WS_EX_CLIENTEDGE, 0},
        {"icon and report settings do nothing in the list view",
         [](ListViewData& d) { d.viewType = 2; d.iconArrangement = 1; d.autoArrange = 1; d.labelWrap = 0; d.noColumnHeader = 1;
                               d.clickableHeader = 0; d.fullRowSelect = 1; d.gridLines = 1; d.headerDragDrop = 1; },
         LVS_LIST, WS_EX_CLIENTEDGE, 0},
        {"report settings",
         [](ListViewData& d) { d.viewType = 3; d.noColumnHeader = 1; d.clickableHeader = 0; d.fullRowSelect = 1; d.gridLines = 1;
                               d.headerDragDrop = 1; d.border = 0; },
         LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER, 0,
         LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP},
        {"hot tracking with both underlines, dialog frame",
         [](ListViewData& d) { d.hotTracking = 1; d.underlineCold = 1; d.underlineHot = 1; d.border = 2; },
         LVS_ICON, WS_EX_DLGMODALFRAME,
         LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINECOLD | LVS_EX_UNDERLINEHOT},
        {"underlines need hot tracking, thin sunken border",
         [](ListViewData& d) { d.underlineCold = 1; d.underlineHot = 1; d.border = 3; }, LVS_ICON, WS_EX_STATICEDGE, 0},
        {"the switches, sunken with dialog frame",
         [](ListViewData& d) { d.editableLabels = 1; d.sortOrder = 2; d.checkBoxes = 1; d.flatScrollBars = 1;
                               d.singleSelection = 1; d.alwaysShowSelection = 1; d.border = 4; },
         LVS_ICON | LVS_EDITLABELS | LVS_SORTDESCENDING | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, LVS_EX_CHECKBOXES | LVS_EX_FLATSB},
        {"ascending, single line border", [](ListViewData& d) { d.sortOrder = 1; d.border = 5; }, LVS_ICON | LVS_SORTASCENDING | WS_BORDER,
         0, 0},
    };
    std::vector<UnitRecord> units;
    for (size_t i = 0; i < std::size(cases); ++i) {
        ListViewData d;
        cases[i].tweak(d);
        units.push_back(ListUnit(0x16010010 + static_cast<uint32_t>(i), d, kShown, 10, 10 + 30 * static_cast<int>(i), 100, 25));
    }
    Load(units, false);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        HWND h = UnitHandle(0x16010010 + static_cast<uint32_t>(i));
        ASSERT_NE(h, nullptr);
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        EXPECT_STREQ(cls, L"SysListView32");
        const DWORD style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)) & ~static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP);
        EXPECT_EQ(style, 0x46000000u | cases[i].style) << std::hex << style;
        const DWORD ex = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)) &
                         static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
        EXPECT_EQ(ex, cases[i].exStyle) << std::hex << ex;
        EXPECT_EQ(static_cast<DWORD>(SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)), 0x402u | cases[i].listEx);
    }
}

TEST(ListView, EachPropertyWriteActsAtOnceOrRebuildsTheWindowAsItsClassSays) {
    using LV = rt::ListView;
    struct Case {
        uint32_t view;
        int32_t index, written, read;
        bool rebuilt;
        bool hotTracking = false;
    };
    const Case cases[] = {
        {3, LV::Border.index, 9, 5, false}, {3, LV::TextColour.index, 0xFF, 0xFF, false},
        {3, LV::TextBackgroundColour.index, 0xFF00, 0xFF00, false},
        {3, LV::BackgroundColour.index, 0x123456, 0x123456, false},
        // A write of the value already held rebuilds nothing (7 and -2 clamp to the views held).
        {3, LV::ViewType.index, 7, 3, false}, {0, LV::ViewType.index, -2, 0, false},
        {0, LV::ViewType.index, 3, 3, true}, {3, LV::GridLines.index, 0, 0, false},
        {3, LV::FullRowSelect.index, 0, 0, false},
        {0, LV::IconArrangement.index, 5, 1, true}, {3, LV::IconArrangement.index, 1, 1, false},
        {1, LV::AutoArrange.index, 1, 1, true}, {2, LV::AutoArrange.index, 1, 1, false},
        {0, LV::LabelWrap.index, 0, 0, false}, {3, LV::LabelWrap.index, 0, 0, false},
        {3, LV::NoColumnHeader.index, 1, 1, false}, {0, LV::NoColumnHeader.index, 1, 1, false},
        {3, LV::ClickableHeader.index, 0, 0, true}, {0, LV::ClickableHeader.index, 0, 0, false},
        {3, LV::FullRowSelect.index, 1, 1, true}, {3, LV::GridLines.index, 1, 1, true},
        {3, LV::HeaderDragDrop.index, 1, 1, true},
        {1, LV::FullRowSelect.index, 1, 1, false}, {2, LV::GridLines.index, 1, 1, false},
        {0, LV::HotTracking.index, 1, 1, true},
        {0, LV::HandCursor.index, 1, 1, false}, {0, LV::HandCursor.index, 1, 1, true, true},
        {0, LV::UnderlineCold.index, 1, 1, false}, {0, LV::UnderlineCold.index, 1, 1, true, true},
        {0, LV::UnderlineHot.index, 1, 1, false}, {0, LV::UnderlineHot.index, 1, 1, true, true},
        {0, LV::EditableLabels.index, 1, 1, true}, {0, LV::SortOrder.index, -1, 0, false},
        {0, LV::SortOrder.index, 9, 2, true}, {0, LV::CheckBoxes.index, 1, 1, true},
        {0, LV::FlatScrollBars.index, 1, 1, true},
        {0, LV::SingleSelection.index, 0, 0, true}, {3, LV::CurrentSelection.index, -5, -1, false},
        {0, LV::AlwaysShowSelection.index, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("view " + std::to_string(c.view) + ", property " + std::to_string(c.index) + " = " + std::to_string(c.written) +
                     (c.hotTracking ? ", hot tracking" : ""));
        ListViewData d = Report();
        d.viewType = c.view;
        d.hotTracking = c.hotTracking;
        Load({ListUnit(kList, d)}, false);
        HWND before = ListHandle();
        WriteInt(kList, c.index, c.written);
        EXPECT_EQ(ListHandle() != before, c.rebuilt);
        EXPECT_EQ(ReadInt(kList, c.index), c.read);
        DestroyWindow(FormHandle());
    }
}

TEST(ListView, AtOnceWritesChangeTheLiveControl) {
    ListViewData d = Report();
    Load({ListUnit(kList, d)}, false);
    WriteInt(kList, rt::ListView::Border, 3);
    EXPECT_TRUE(GetWindowLongW(ListHandle(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_FALSE(GetWindowLongW(ListHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    WriteInt(kList, rt::ListView::Border, 5);
    EXPECT_TRUE(GetWindowLongW(ListHandle(), GWL_STYLE) & WS_BORDER);
    WriteInt(kList, rt::ListView::TextColour, 0x0000FF);
    WriteInt(kList, rt::ListView::TextBackgroundColour, 0x00FF00);
    WriteInt(kList, rt::ListView::BackgroundColour, 0xFF0000);
    EXPECT_EQ(Lv(LVM_GETTEXTCOLOR), 0x0000FF);
    EXPECT_EQ(Lv(LVM_GETTEXTBKCOLOR), 0x00FF00);
    EXPECT_EQ(Lv(LVM_GETBKCOLOR), 0xFF0000);
    WriteInt(kList, rt::ListView::NoColumnHeader, 1);
    EXPECT_TRUE(GetWindowLongW(ListHandle(), GWL_STYLE) & LVS_NOCOLUMNHEADER);
    DestroyWindow(FormHandle());

    d.viewType = 0;
    Load({ListUnit(kList, d)}, false);
    WriteInt(kList, rt::ListView::LabelWrap, 0);
    EXPECT_TRUE(GetWindowLongW(ListHandle(), GWL_STYLE) & LVS_NOLABELWRAP);
    WriteInt(kList, rt::ListView::LabelWrap, 1);
    EXPECT_FALSE(GetWindowLongW(ListHandle(), GWL_STYLE) & LVS_NOLABELWRAP);
    WriteInt(kList, rt::ListView::NoColumnHeader, 1);  // a report-view setting: stored only
    EXPECT_FALSE(GetWindowLongW(ListHandle(), GWL_STYLE) & LVS_NOCOLUMNHEADER);
}

TEST(ListView, ImageListsComeFromMitlBlocksAndAnythingElseMeansNone) {
    ListViewData icons;
    icons.itemImageList = Lamps();
    icons.stateImageList = Lamps();
    ListViewData report = Report();
    report.itemImageList = Lamps();
    report.headerImageList = Lamps();
    ListViewData shortBlock;
    shortBlock.itemImageList = {'M', 'I', 'T', 'L', 0, 0, 0, 0};
    ListViewData unmarked;
    unmarked.itemImageList = Lamps();
    unmarked.itemImageList[0] = 'X';
    Load({ListUnit(kList, icons), ListUnit(0x16010010, report), ListUnit(0x16010011, shortBlock), ListUnit(0x16010012, unmarked)},
         false);
    EXPECT_EQ(ImageCount(ImageListOf(LVSIL_NORMAL)), 4) << "large images in the large-icon view";
    EXPECT_EQ(ImageCount(ImageListOf(LVSIL_SMALL)), -1);
    EXPECT_EQ(ImageCount(ImageListOf(LVSIL_STATE)), 4);
    auto listOf = [](uint32_t unit, int which) {
        return ImageCount(reinterpret_cast<HIMAGELIST>(SendMessageW(UnitHandle(unit), LVM_GETIMAGELIST, which, 0)));
    };
    EXPECT_EQ(listOf(0x16010010, LVSIL_SMALL), 4) << "small images in the other views";
    auto header = reinterpret_cast<HWND>(SendMessageW(UnitHandle(0x16010010), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(ImageCount(reinterpret_cast<HIMAGELIST>(SendMessageW(header, HDM_GETIMAGELIST, 0, 0))), 4);
    EXPECT_EQ(listOf(0x16010011, LVSIL_NORMAL), -1) << "8 bytes are too few";
    EXPECT_EQ(listOf(0x16010012, LVSIL_NORMAL), -1) << "no MITL mark";
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ImageListOf(LVSIL_NORMAL), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    // At run time: an empty value takes the list away, a block brings one.
    WriteBytes(kList, 24, {});
    EXPECT_EQ(ImageCount(ImageListOf(LVSIL_NORMAL)), -1);
    WriteBytes(kList, 24, Lamps());
    EXPECT_EQ(ImageCount(ImageListOf(LVSIL_NORMAL)), 4);
}

TEST(ListView, TheFormsColumnsAndRowsAreInsertedAndTheSelectionApplied) {
    ListViewData d = Report();
    d.columns = {{0, -1, 0, 50, "地址"}, {1, 2, 1, 80, "延迟"}, {0, -1, 2, -5, "状态"}};
    d.rows = {{{0, 1, 1, 2, 77, "甲", ""}, {0, -1, 0, 0, 0, "十毫秒", ""}}, {{0, -1, 0, 0, 0, "乙", ""}}};
    d.currentSelection = 1;
    ListViewData icons = d;
    icons.viewType = 0;
    Load({ListUnit(kList, d), ListUnit(kHidden, icons, kShown, 10, 220, 300, 100)}, false);
    ASSERT_EQ(ColumnCount(), 3);
    std::wstring title;
    LVCOLUMNW c0 = Column(0, &title);
    EXPECT_EQ(title, L"地址");
    EXPECT_EQ(c0.cx, 50);
    EXPECT_EQ(c0.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    LVCOLUMNW c1 = Column(1, &title);
    EXPECT_EQ(title, L"延迟");
    EXPECT_EQ(c1.cx, 80);
    EXPECT_EQ(c1.fmt & (LVCFMT_JUSTIFYMASK | LVCFMT_BITMAP_ON_RIGHT | LVCFMT_IMAGE),
              LVCFMT_CENTER | LVCFMT_BITMAP_ON_RIGHT | LVCFMT_IMAGE);
    EXPECT_EQ(c1.iImage, 2);
    LVCOLUMNW c2 = Column(2);
    EXPECT_EQ(c2.cx, 0) << "a negative width is 0";
    EXPECT_EQ(c2.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(ColumnCount(kHidden), 0) << "columns only in report view";

    ASSERT_EQ(Lv(LVM_GETITEMCOUNT), 2);
    EXPECT_EQ(CellText(kList, 0, 0), "甲");
    EXPECT_EQ(CellText(kList, 0, 1), "十毫秒");
    EXPECT_EQ(CellText(kList, 1, 0), "乙");
    LVITEMW first = Item(0);
    EXPECT_EQ(first.iImage, 1);
    EXPECT_EQ(first.lParam, 77);
    EXPECT_EQ(first.iIndent, 2);
    EXPECT_EQ(first.state & LVIS_STATEIMAGEMASK, 2u << 12) << "check state 1 is state image 2";
    EXPECT_EQ(Lv(LVM_GETITEMCOUNT, 0, 0, kHidden), 2) << "rows in every view";

    // The current selection (single selection only).
    EXPECT_EQ(ReadInt(kList, rt::ListView::CurrentSelection), 1);
    EXPECT_EQ(Lv(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);
    WriteInt(kList, rt::ListView::CurrentSelection, 0);
    EXPECT_EQ(ReadInt(kList, rt::ListView::CurrentSelection), 0);
    WriteInt(kList, rt::ListView::CurrentSelection, -1);
    EXPECT_EQ(ReadInt(kList, rt::ListView::CurrentSelection), -1);
    EXPECT_EQ(Lv(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);

    // Rows written at run time replace every row, those added by commands too.
    Call(&ListViewInsertRow, kList, {kOmitted, T("命令行")});
    EXPECT_EQ(Lv(LVM_GETITEMCOUNT), 3);
    WriteBytes(kList, 37, ListViewData::WriteRows({{{0, -1, 0, 0, 0, "丙", ""}}}));
    EXPECT_EQ(Lv(LVM_GETITEMCOUNT), 1);
    EXPECT_EQ(CellText(kList, 0, 0), "丙");
}

TEST(ListView, ARebuildKeepsOnlyTheFormsColumnsAndRows) {
    ListViewData d = Report();
    d.rows = {{{0, -1, 0, 0, 0, "表中", ""}}};
    Load({ListUnit(kList, d)}, false);
    Call(&ListViewInsertRow, kList, {kOmitted, T("命令")});
    Call(&ListViewInsertColumn, kList, {kOmitted, T("新列")});
    WriteInt(kList, rt::ListView::GridLines, 1);  // grid lines: a new window
    EXPECT_EQ(Lv(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    EXPECT_EQ(Lv(LVM_GETITEMCOUNT), 1);
    EXPECT_EQ(CellText(kList, 0, 0), "表中");
    EXPECT_EQ(ColumnCount(), 1);
}

TEST(ListViewCommands, LibraryThreeListsItsCommandsInOrder) {
    const CommandRoutine expected[] = {&ListViewRowCount,      &ListViewCellText,     &ListViewSetCellText, &ListViewSetCellImage,
                                       &ListViewEnsureVisible, &ListViewInsertColumn, &ListViewColumnWidth, &ListViewInsertRow,
                                       &ListViewRunBatch};
    ASSERT_EQ(kExtendedUnitLibrary.commandCount, 9u);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(kExtendedUnitLibrary.commands[i], expected[i]) << "command " << i;
}

TEST(ListViewCommands, ColumnsAndRowsWithOmittedAndOutOfRangeArguments) {
    Load({ListUnit(kList, Report())}, false);
    EXPECT_EQ(Call(&ListViewRowCount, kList).Int(), 0);

    // Index -1, title " ", width 18, centred: appended, 18 pixels wide.
    EXPECT_EQ(Call(&ListViewInsertColumn, kList, {I(-1), T(" "), I(18), I(1)}).Int(), 1);
    EXPECT_EQ(Call(&ListViewColumnWidth, kList, {I(1)}).Int(), 18);
    EXPECT_EQ(Column(1).fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);
    // Everything omitted: appended, 50 wide, no title.
    EXPECT_EQ(Call(&ListViewInsertColumn, kList).Int(), 2);
    std::wstring title = L"?";
    EXPECT_EQ(Column(2, &title).cx, 50);
    EXPECT_EQ(title, L"");
    // Negative width, unknown alignment, an image, the image on the right.
    EXPECT_EQ(Call(&ListViewInsertColumn, kList, {I(1), T("图"), I(-3), I(7), I(2), ArgValue::OfBool(true)}).Int(), 1);
    LVCOLUMNW c = Column(1);
    EXPECT_EQ(c.cx, 0);
    EXPECT_EQ(c.fmt & (LVCFMT_JUSTIFYMASK | LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT), LVCFMT_LEFT | LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT);
    EXPECT_EQ(c.iImage, 2);
    EXPECT_EQ(Call(&ListViewColumnWidth, kList, {I(99)}).Int(), 0) << "a missing column";

    // A row with every argument omitted: appended, empty, no image.
    EXPECT_EQ(Call(&ListViewInsertRow, kList).Int(), 0);
    EXPECT_EQ(Call(&ListViewInsertRow, kList).Int(), 1);
    LVITEMW plain = Item(1);
    EXPECT_TRUE(NoImage(plain.iImage)) << plain.iImage;
    EXPECT_EQ(plain.state & LVIS_STATEIMAGEMASK, 0u);
    EXPECT_EQ(plain.iIndent, 0);
    EXPECT_EQ(plain.lParam, 0);
    EXPECT_EQ(CellText(kList, 1, 0), "");
    // Every argument given; a negative indent is 0.
    EXPECT_EQ(Call(&ListViewInsertRow, kList, {I(0), T("第一"), I(2), I(1), I(-4), I(77)}).Int(), 0);
    LVITEMW full = Item(0);
    EXPECT_EQ(full.iImage, 2);
    EXPECT_EQ(full.state & LVIS_STATEIMAGEMASK, 2u << 12);
    EXPECT_EQ(full.iIndent, 0);
    EXPECT_EQ(full.lParam, 77);
    EXPECT_EQ(CellText(kList, 0, 0), "第一");
    // A check state whose sum is negative gives state 0; an image below -1 is -1.
    EXPECT_EQ(Call(&ListViewInsertRow, kList, {kOmitted, kOmitted, I(-9), I(-5)}).Int(), 3);
    EXPECT_EQ(Item(3).state & LVIS_STATEIMAGEMASK, 0u);
    EXPECT_TRUE(NoImage(Item(3).iImage));
    EXPECT_EQ(Call(&ListViewRowCount, kList).Int(), 4);

    // Cells: set and read; omitted column 0 and omitted text "".
    Call(&ListViewSetCellText, kList, {I(1), I(2), T("二列")});
    EXPECT_EQ(CellText(kList, 1, 2), "二列");
    Call(&ListViewSetCellText, kList, {I(1), kOmitted, T("零列")});
    EXPECT_EQ(CellText(kList, 1, 0), "零列");
    Call(&ListViewSetCellText, kList, {I(1), I(2)});
    EXPECT_EQ(CellText(kList, 1, 2), "");
    // Rows and columns that do not exist: nothing happens, nothing is read.
    Call(&ListViewSetCellText, kList, {I(40), I(0), T("无")});
    Call(&ListViewSetCellImage, kList, {I(40), I(0), I(1)});
    Call(&ListViewEnsureVisible, kList, {I(40)});
    EXPECT_EQ(Call(&ListViewRowCount, kList).Int(), 4);
    EXPECT_EQ(CellText(kList, 40, 0), "");
    EXPECT_EQ(CellText(kList, 0, 9), "");
    ArgValue none = Call(&ListViewCellText, kList, {I(40)});
    EXPECT_EQ(none.Pointer(), nullptr) << "the empty text needs no block";
}

TEST(ListViewCommands, CellTextsOfAnyLengthComeBackWhole) {
    Load({ListUnit(kList, Report())}, false);
    std::vector<std::string> texts;
    for (size_t n : {510u, 511u, 512u, 1023u, 1024u, 5000u}) texts.push_back(std::string(n, 'x'));
    std::string chinese;
    for (int i = 0; i < 1500; ++i) chinese += "长";  // 3000 bytes, 1500 characters
    texts.push_back(chinese);
    for (size_t i = 0; i < texts.size(); ++i) {
        Call(&ListViewInsertRow, kList, {kOmitted, T(texts[i].c_str())});
        EXPECT_EQ(CellText(kList, static_cast<int>(i), 0), texts[i]) << texts[i].size() << " bytes";
    }
}

static int CALLBACK KeepOrder(LPARAM, LPARAM, LPARAM) { return 0; }

// Line breaks in a cell's text are never given to the control, which would draw them as
// boxes: it holds the text without them, and reading the cell gives the text as written,
// wherever later inserts, deletes and sorts move its row.
TEST(ListViewCommands, TheControlHoldsTextsWithoutLineBreaksAndReadsGiveThemAsWritten) {
    ListViewData d = Report();
    d.columns.push_back({0, -1, 0, 50, "名称"});
    Load({ListUnit(kList, d)}, false);
    const auto controlProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(ListHandle(), GCLP_WNDPROC));
    auto held = [&](int row, int column) {  // what the control itself holds
        wchar_t text[64] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 64;
        CallWindowProcW(controlProc, ListHandle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
        return std::wstring(text);
    };
    Call(&ListViewInsertRow, kList, {kOmitted, T("\r\n腾讯")});
    Call(&ListViewSetCellText, kList, {I(0), I(1), T("a\rb\nc")});
    EXPECT_EQ(held(0, 0), L"腾讯");
    EXPECT_EQ(held(0, 1), L"abc");
    EXPECT_EQ(CellText(kList, 0, 0), "\r\n腾讯");
    EXPECT_EQ(CellText(kList, 0, 1), "a\rb\nc");

    Call(&ListViewInsertRow, kList, {I(0), T("前")});  // the row moves down
    EXPECT_EQ(CellText(kList, 1, 0), "\r\n腾讯");
    EXPECT_EQ(CellText(kList, 0, 0), "前");
    wchar_t text[64] = {};
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.pszText = text;
    item.cchTextMax = 3;  // cut to the buffer as the control cuts
    ASSERT_TRUE(Lv(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::wstring(text), L"\r\n");

    ASSERT_TRUE(Lv(LVM_DELETEITEM, 0));  // and up again
    EXPECT_EQ(CellText(kList, 0, 1), "a\rb\nc");
    Call(&ListViewSetCellText, kList, {I(0), I(1), T("abc")});
    EXPECT_EQ(held(0, 1), L"abc");
    EXPECT_EQ(CellText(kList, 0, 1), "abc");

    // A sort hands the control the texts as written first: nothing is lost.
    ASSERT_TRUE(Lv(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&KeepOrder)));
    EXPECT_EQ(held(0, 0), L"\r\n腾讯");
    EXPECT_EQ(CellText(kList, 0, 0), "\r\n腾讯");
}

TEST(ListViewCommands, AHiddenInstanceKeepsItsTexts) {
    Load({ListUnit(kHidden, Report(), UnitRecord::kStateTabStop, 312, 304, 56, 40)}, false);
    ASSERT_FALSE(IsWindowVisible(ListHandle(kHidden)));
    const char* addresses[] = {"127.0.0.2", "127.0.0.3", "localhost"};
    for (int i = 0; i < 3; ++i) Call(&ListViewInsertRow, kHidden);
    for (int i = 0; i < 3; ++i) Call(&ListViewSetCellText, kHidden, {I(i), I(0), T(addresses[i])});
    EXPECT_EQ(Call(&ListViewRowCount, kHidden).Int(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(CellText(kHidden, i, 0), addresses[i]);
}

TEST(ListViewCommands, ImageMinusOneRemovesTheImageAndRepaintsAtOnce) {
    ListViewData d = Report();
    d.itemImageList = Lamps();
    d.columns = {{0, -1, 0, 120, "地址"}, {0, -1, 0, 80, "状态"}};
    Load({ListUnit(kList, d)});
    SetForegroundWindow(FormHandle());
    Call(&ListViewInsertRow, kList, {kOmitted, T("主机")});
    Call(&ListViewSetCellImage, kList, {I(0), I(1), I(1)});
    Call(&ListViewSetCellImage, kList, {I(0), kOmitted, I(3)});
    EXPECT_EQ(Item(0).iImage, 3);
    EXPECT_EQ(Item(0, 1).iImage, 1);
    RedrawWindow(ListHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    Pump(50);
    auto iconArea = [](int column) {
        RECT r = {};
        r.top = column;
        r.left = LVIR_ICON;
        Lv(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(ListHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return CaptureScreen(r);
    };
    EXPECT_GT(iconArea(0).Count(kLampColours[3]), 100) << "the red lamp in column 0";
    EXPECT_GT(iconArea(1).Count(kLampColours[1]), 100) << "the green lamp in column 1";

    // -1 (and anything below, which counts as -1): the image goes, and the control has
    // painted before the command returns.
    MessageLog log({ListHandle()}, {WM_PAINT});
    Call(&ListViewSetCellImage, kList, {I(0), kOmitted, I(-7)});
    EXPECT_FALSE(log.entries().empty()) << "repainted during the command";
    Call(&ListViewSetCellImage, kList, {I(0), I(1)});
    EXPECT_TRUE(NoImage(Item(0).iImage));
    EXPECT_TRUE(NoImage(Item(0, 1).iImage));
    Pump(50);
    EXPECT_EQ(iconArea(0).Count(kLampColours[3]), 0);
    EXPECT_EQ(iconArea(1).Count(kLampColours[1]), 0);
    // An index beyond the list shows nothing either.
    Call(&ListViewSetCellImage, kList, {I(0), I(0), I(9)});
    Pump(50);
    Shot beyond = iconArea(0);
    for (COLORREF c : kLampColours) EXPECT_EQ(beyond.Count(c), 0);
}

TEST(ListViewCommands, EnsureVisibleScrollsTheRowFullyIntoView) {
    Load({ListUnit(kList, Report(), kShown, 10, 10, 200, 80)});
    for (int i = 0; i < 30; ++i) Call(&ListViewInsertRow, kList, {kOmitted, T("行")});
    EXPECT_EQ(Lv(LVM_GETTOPINDEX), 0);
    Call(&ListViewEnsureVisible, kList, {I(25)});
    RECT item = {LVIR_BOUNDS, 0, 0, 0}, client;
    Lv(LVM_GETITEMRECT, 25, reinterpret_cast<LPARAM>(&item));
    GetClientRect(ListHandle(), &client);
    EXPECT_GT(Lv(LVM_GETTOPINDEX), 0);
    EXPECT_GE(item.top, client.top);
    EXPECT_LE(item.bottom, client.bottom);
}

TEST(ListViewCommands, WorkerThreadsCallThemWhileTheWindowThreadPumps) {
    ListViewData d = Report();
    d.itemImageList = Lamps();
    Load({ListUnit(kList, d), ListUnit(kHidden, Report(), UnitRecord::kStateTabStop)});
    std::vector<std::string> read;
    int count = -1, column = -1, width = -1;
    RunOnWorkerWhilePumping([&] {
        column = Call(&ListViewInsertColumn, kList, {I(-1), T("延迟"), I(60), I(2)}).Int();
        width = Call(&ListViewColumnWidth, kList, {I(1)}).Int();
        for (int i = 0; i < 20; ++i) {
            std::string text = "127.0.0." + std::to_string(i + 2);
            int row = Call(&ListViewInsertRow, kList, {kOmitted, T(text.c_str()), I(0)}).Int();
            Call(&ListViewSetCellText, kList, {I(row), I(1), T("5ms")});
            Call(&ListViewSetCellImage, kList, {I(row), kOmitted, I(i % 2 ? -1 : 1)});
            Call(&ListViewInsertRow, kHidden, {kOmitted, T(text.c_str())});
        }
        Call(&ListViewEnsureVisible, kList, {I(19)});
        count = Call(&ListViewRowCount, kList).Int();
        for (int i = 0; i < 20; ++i) read.push_back(CellText(kHidden, i, 0) + "|" + CellText(kList, i, 1));
    });
    EXPECT_EQ(column, 1);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(count, 20);
    ASSERT_EQ(read.size(), 20u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(read[static_cast<size_t>(i)], "127.0.0." + std::to_string(i + 2) + "|5ms");
    EXPECT_TRUE(NoImage(Item(1).iImage));
    EXPECT_EQ(Item(2).iImage, 1);
}

// A batch runs on the window thread, where the commands it calls are plain calls, and is
// done when the worker's call returns; a unit of another type runs nothing.
TEST(ListViewCommands, ABatchFromAWorkerRunsOnTheWindowThreadBeforeTheCallReturns) {
    Load({ListUnit(kList, Report()), Unit(kEdit, kTypeEditBox, 10, 10, 100, 20, EditBoxData::Write({}))});
    struct Batch {
        DWORD thread = 0;
        int rows = 0;
    };
    auto fill = [](void* p) {
        auto* batch = static_cast<Batch*>(p);
        batch->thread = GetCurrentThreadId();
        for (int i = 0; i < 3; ++i) Call(&ListViewInsertRow, kList, {kOmitted, T("行")});
        batch->rows = Call(&ListViewRowCount, kList).Int();
    };
    auto pointer = [](const void* p) { return ArgValue::OfPointer(p, kTagInt); };
    Batch onList, onEdit;
    int rowsAfter = -1;
    RunOnWorkerWhilePumping([&] {
        Call(&ListViewRunBatch, kList, {pointer(reinterpret_cast<const void*>(+fill)), pointer(&onList)});
        rowsAfter = Call(&ListViewRowCount, kList).Int();
        Call(&ListViewRunBatch, kEdit, {pointer(reinterpret_cast<const void*>(+fill)), pointer(&onEdit)});
    });
    EXPECT_EQ(onList.thread, GetCurrentThreadId());
    EXPECT_EQ(onList.rows, 3);
    EXPECT_EQ(rowsAfter, 3);
    EXPECT_EQ(onEdit.thread, 0u);
}

TEST(ListViewCommands, AUnitOfAnotherTypeIsLeftAlone) {
    Load({Unit(kEdit, kTypeEditBox, 10, 10, 100, 20, EditBoxData::Write({}))}, false);
    EXPECT_EQ(Call(&ListViewRowCount, kEdit).Int(), 0);
    EXPECT_EQ(Call(&ListViewInsertRow, kEdit, {kOmitted, T("x")}).Int(), -1);
    EXPECT_EQ(Call(&ListViewInsertColumn, kEdit).Int(), -1);
    EXPECT_EQ(CellText(kEdit, 0, 0), "");
    EXPECT_EQ(Call(&ListViewColumnWidth, kEdit, {I(0)}).Int(), 0);
}
