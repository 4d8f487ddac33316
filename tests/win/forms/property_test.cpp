// Property access: common properties and their clamps, template values without a window,
// type properties of the core units, fonts by part, rebuilds, ownership and worker threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "controls/unit_types.h"
#include "forms/font_rules.h"
#include "forms/forms_runtime.h"
#include "forms/properties.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "tests/win/forms/form_fixture.h"

#include <commctrl.h>

namespace {

constexpr uint32_t kEdit = 0x16010002, kCombo = 0x16010003, kGroup = 0x16010004, kInner = 0x16010005,
                   kList = 0x16010006, kLabel = 0x16010007, kStatus = 0x16010008, kEdit2 = 0x16010009;

std::vector<uint8_t> ComboData() {
    ComboBoxData d;
    d.items = {"收银一", "收银二", "收银三"};
    return ComboBoxData::Write(d);
}

std::vector<uint8_t> StatusData() {
    StatusBarData d;
    d.parts = {{100, 0, -1, "左", ""}, {-1, 0, -1, "右边", ""}};
    return StatusBarData::Write(d);
}

void LoadForm() {
    UnitRecord group = Unit(kGroup, kTypeGroupBox, 200, 10, 180, 120, GroupBoxData::Write({}), UnitRecord::kStateVisible);
    group.children = {kInner};
    UnitRecord inner = Unit(kInner, kTypeEditBox, 10, 20, 100, 20, EditBoxData::Write({}));
    inner.parentId = kGroup;
    ListBoxData list;
    list.items = {"a", "b"};
    LabelData label;
    label.caption = "标签";
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), Unit(kEdit, kTypeEditBox, 10, 20, 100, 24, EditBoxData::Write({})),
                                       Unit(kCombo, kTypeComboBox, 10, 60, 100, 20, ComboData()), group, inner,
                                       Unit(kList, kTypeListBox, 10, 150, 100, 60, ListBoxData::Write(list)),
                                       Unit(kLabel, kTypeLabel, 10, 220, 100, 20, LabelData::Write(label), UnitRecord::kStateVisible),
                                       Unit(kStatus, kTypeStatusBar, 0, 250, 400, 22, StatusData(), UnitRecord::kStateVisible),
                                       Unit(kEdit2, kTypeEditBox, 120, 20, 60, 24, EditBoxData::Write({}))})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(30);
}

RECT RectInParent(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<uint8_t> ReadBytes(uint32_t unit, int32_t index, int32_t part = -1) {
    auto p = reinterpret_cast<void*>(static_cast<uintptr_t>(RtEntries().readProperty(kTestWindowId, unit, index, part)));
    std::vector<uint8_t> bytes;
    if (p) bytes.assign(array_block::ByteSetData(p), array_block::ByteSetData(p) + array_block::ByteSetLength(p));
    RtFree(p);
    return bytes;
}

}  // namespace

TEST(Properties, WidthAndHeightAreClampedToZeroAnd32627) {
    LoadForm();
    WriteInt(kEdit, rt::EditBox::Width, 40000);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Width), 32627);
    WriteInt(kEdit, rt::EditBox::Width, -5);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Width), 0);
    WriteInt(kEdit, rt::EditBox::Height, 40000);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Height), 32627);
    WriteInt(kEdit, rt::EditBox::Height, 30);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Height), 30);
    const UnitRecord& r = FindLoadedWindow(kTestWindowId)->working[1];
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 30);
    // Resizing moves nothing.
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Left), 10);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Top), 20);
}

TEST(Properties, CommonPropertiesMoveShowEnableAndKeepTagAndCursor) {
    LoadForm();
    WriteInt(kEdit, rt::EditBox::Left, 33);
    WriteInt(kEdit, rt::EditBox::Top, 44);
    RECT r = RectInParent(UnitHandle(kEdit));
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 44);
    EXPECT_EQ(r.right - r.left, 100) << "moving keeps the size";
    // Inside a container, positions are relative to it.
    EXPECT_EQ(ReadInt(kInner, rt::EditBox::Left), 10);
    EXPECT_EQ(ReadInt(kInner, rt::EditBox::Top), 20);

    WriteInt(kEdit, rt::EditBox::Visible, 0);
    EXPECT_FALSE(IsWindowVisible(UnitHandle(kEdit)));
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Visible), 0);
    WriteInt(kEdit, rt::EditBox::Visible, 7);
    EXPECT_TRUE(IsWindowVisible(UnitHandle(kEdit)));
    WriteInt(kEdit, rt::EditBox::Disabled, 1);
    EXPECT_FALSE(IsWindowEnabled(UnitHandle(kEdit)));
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Disabled), 1);

    WriteText(kEdit, rt::EditBox::Tag, "备注");
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Tag), "备注");
    WriteText(kEdit, rt::EditBox::Tag, nullptr);
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Tag), "");
    EXPECT_EQ(ReadBytes(kEdit, 7), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(Properties, CommonPropertiesOfAUnitWithoutWindowComeFromAndGoToItsRecord) {
    // The unit's window was never created: common properties are the template's.
    std::vector<uint8_t> tooNew = EditBoxData::Write({});
    tooNew[0] = 5;
    UnitRecord broken = Unit(kEdit, kTypeEditBox, 7, 8, 90, 25, tooNew, UnitRecord::kStateVisible | UnitRecord::kStateDisabled);
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), broken})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Width), 90);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Height), 25);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Disabled), 1);
    WriteInt(kEdit, rt::EditBox::Width, 40000);
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Width), 32627);
}

TEST(Properties, TextsAreFreshCopiesAndWritesKeepNoReferenceToTheCallersText) {
    LoadForm();
    char text[] = "文本甲";
    WriteText(kEdit, rt::EditBox::Content, text);
    text[0] = 'x';
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Content), "文本甲");
    int64_t live = LiveBlockCount();
    uint64_t a = RtEntries().readProperty(kTestWindowId, kEdit, rt::EditBox::Content.index, -1);
    uint64_t b = RtEntries().readProperty(kTestWindowId, kEdit, rt::EditBox::Content.index, -1);
    EXPECT_NE(a, b);
    EXPECT_EQ(LiveBlockCount(), live + 2);
    RtFree(reinterpret_cast<void*>(static_cast<uintptr_t>(a)));
    RtFree(reinterpret_cast<void*>(static_cast<uintptr_t>(b)));
    EXPECT_EQ(LiveBlockCount(), live);
    // The platform shows the same text.
    WCHAR shown[32];
    GetWindowTextW(UnitHandle(kEdit), shown, 32);
    EXPECT_STREQ(shown, L"文本甲");
    WriteText(kEdit, rt::EditBox::Content, nullptr);
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Content), "");
}

TEST(Properties, ComboSelectionIsMinusOneWhenNothingIsSelectedAndWritesAreClamped) {
    LoadForm();
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), -1);
    WriteInt(kCombo, rt::ComboBox::CurrentSelection, 1);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), 1);
    EXPECT_EQ(ReadText(kCombo, rt::ComboBox::Content), "收银二");
    WriteInt(kCombo, rt::ComboBox::CurrentSelection, 99);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), 2);
    WriteInt(kCombo, rt::ComboBox::CurrentSelection, -7);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), -1);
    // Items come back in the item-list form.
    std::vector<uint8_t> items = ReadBytes(kCombo, 20);
    TemplateCursor c(items.data(), items.size());
    EXPECT_EQ(ReadItemList(c), (std::vector<std::string>{"收银一", "收银二", "收银三"}));
    // The list box likewise.
    EXPECT_EQ(ReadInt(kList, rt::ListBox::CurrentSelection), -1);
    WriteInt(kList, rt::ListBox::CurrentSelection, 5);
    EXPECT_EQ(ReadInt(kList, rt::ListBox::CurrentSelection), 1);
}

TEST(Properties, ComboItemSpacingIsAddedToTheItemHeightAndKeptAcrossFontChanges) {
    LoadForm();
    HWND combo = UnitHandle(kCombo);
    LRESULT withOne = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
    WriteInt(kCombo, rt::ComboBox::ItemSpacing, 6);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), withOne + 5);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::ItemSpacing), 6);
    // After a new font the height is the system's for that font plus the spacing.
    WriteInt(kCombo, 18, 22, kFontPartSize);
    HWND plain = CreateWindowExW(0, L"COMBOBOX", nullptr, WS_CHILD | CBS_DROPDOWN, 0, 0, 50, 100, FormHandle(), nullptr,
                                 nullptr, nullptr);
    SendMessageW(plain, WM_SETFONT, SendMessageW(combo, WM_GETFONT, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), SendMessageW(plain, CB_GETITEMHEIGHT, 0, 0) + 6);
    DestroyWindow(plain);
}

TEST(Properties, FontPartsChangeOneAspectOfTheCurrentFont) {
    LoadForm();
    HWND edit = UnitHandle(kEdit);
    WriteInt(kEdit, 12, 20, kFontPartSize);
    WriteInt(kEdit, 12, 1, kFontPartBold);
    WriteText(kEdit, 12, "黑体", kFontPartFace);
    EXPECT_EQ(ReadInt(kEdit, 12, kFontPartSize), 20);
    EXPECT_EQ(ReadInt(kEdit, 12, kFontPartBold), 1);
    EXPECT_EQ(ReadText(kEdit, 12, kFontPartFace), "黑体");
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -27) << "20 points at 96 pixels to the inch";
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET) << "created with the stored font's overrides";
    // The whole font from a description; a face name of 31 bytes is too long for it.
    FontDescription d = {450, 0, 1, 1, 0, 9, "abcdefghijklmnopqrstuvwxyz01234"};
    RtEntries().writeProperty(kTestWindowId, kEdit, 12, -1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&d)),
                              static_cast<uint32_t>(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&d)) >> 32));
    std::vector<uint8_t> bytes = ReadBytes(kEdit, 12);
    ASSERT_EQ(bytes.size(), 60u);
    LogFontBytes f = LogFontFromBytes(bytes.data());
    EXPECT_EQ(f.Face(), "宋体");
    EXPECT_EQ(f.escapement, 450);
    EXPECT_EQ(f.weight, 0);
    EXPECT_EQ(f.italic, 1);
    EXPECT_EQ(ReadInt(kEdit, 12, kFontPartAngle), 450);
    // A unit without a font of its own answers from the default GUI font.
    EXPECT_EQ(ReadInt(kEdit2, 12, kFontPartSize), 8) << "the platform's GUI font, MS Shell Dlg at 8 points";
    EXPECT_TRUE(ReadBytes(kEdit2, 12).empty());
}

TEST(Properties, ARebuildKeepsPlaceFocusContentAndZOrder) {
    LoadForm();
    HWND old = UnitHandle(kEdit);
    HWND above = GetWindow(old, GW_HWNDPREV), below = GetWindow(old, GW_HWNDNEXT);
    WriteText(kEdit, rt::EditBox::Content, "保留");
    SetFocus(old);
    UINT id = static_cast<UINT>(GetDlgCtrlID(old));
    WriteInt(kEdit, rt::EditBox::Alignment, 2);  // alignment: a new window
    HWND fresh = UnitHandle(kEdit);
    ASSERT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(GetFocus(), fresh);
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Content), "保留");
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Alignment), 2);
    EXPECT_TRUE(GetWindowLongW(fresh, GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(static_cast<UINT>(GetDlgCtrlID(fresh)), id);
    RECT r = RectInParent(fresh);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(GetWindow(fresh, GW_HWNDPREV), above);
    EXPECT_EQ(GetWindow(fresh, GW_HWNDNEXT), below);
}

TEST(Properties, ARebuiltContainerTakesItsUnitsAlong) {
    LoadForm();
    WindowEntry* entry = FindLoadedWindow(kTestWindowId);
    HWND old = UnitHandle(kGroup), inner = UnitHandle(kInner);
    SetFocus(inner);
    ASSERT_TRUE(RebuildUnit(*entry, entry->FindPosition(kGroup)));
    HWND fresh = UnitHandle(kGroup);
    ASSERT_NE(fresh, old);
    EXPECT_EQ(UnitHandle(kInner), inner) << "the held unit is moved, not rebuilt";
    EXPECT_EQ(GetParent(inner), fresh);
    EXPECT_EQ(GetFocus(), inner) << "the focus stays where it was";
    EXPECT_EQ(ReadInt(kInner, rt::EditBox::Left), 10);
}

TEST(Properties, ComboStyleChangeRebuildsAndSwapsTheWhiteBackground) {
    LoadForm();
    WriteInt(kCombo, rt::ComboBox::CurrentSelection, 2);
    HWND old = UnitHandle(kCombo);
    WriteInt(kCombo, rt::ComboBox::Style, 0);
    EXPECT_NE(UnitHandle(kCombo), old);
    EXPECT_EQ(GetWindowLongW(UnitHandle(kCombo), GWL_STYLE) & 3, CBS_SIMPLE);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::BackgroundColour), 0x00FFFFFF);
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), 2) << "items and selection survive the rebuild";
    WriteInt(kCombo, rt::ComboBox::Style, 2);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(kCombo, rt::ComboBox::BackgroundColour)), kColourMarker);
    EXPECT_EQ(ReadText(kCombo, rt::ComboBox::Content), "收银三");
}

TEST(Properties, LabelStatusBarAndListBoxTypeProperties) {
    LoadForm();
    EXPECT_EQ(ReadText(kLabel, rt::Label::Caption), "标签");
    WriteText(kLabel, rt::Label::Caption, "新标题");
    EXPECT_EQ(ReadText(kLabel, rt::Label::Caption), "新标题");
    WriteInt(kLabel, rt::Label::Integer11, 2);
    EXPECT_EQ(ReadInt(kLabel, rt::Label::Integer11), 5) << "at least 5";

    HWND bar = UnitHandle(kStatus);
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 2);
    WCHAR part[16] = {};
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(part));
    EXPECT_STREQ(part, L"右边");
    RECT r = RectInParent(bar);
    EXPECT_EQ(r.top, 250) << "the bar stays where its record puts it";
    std::vector<uint8_t> parts = StatusBarData::WriteParts({{50, 0, -1, "一", ""}, {60, 0, -1, "二", ""}, {-1, 0, -1, "三", ""}});
    void* block = NewByteSet(parts.data(), parts.size());
    uint64_t p = reinterpret_cast<uintptr_t>(block);
    RtEntries().writeProperty(kTestWindowId, kStatus, 13, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    RtFree(block);
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 3);
    EXPECT_EQ(ReadBytes(kStatus, 13), parts);

    TemplateWriter w;
    WriteItemList(w, {"x", "y", "z"});
    std::vector<uint8_t> items = w.Take();
    block = NewByteSet(items.data(), items.size());
    p = reinterpret_cast<uintptr_t>(block);
    RtEntries().writeProperty(kTestWindowId, kList, 17, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    RtFree(block);
    EXPECT_EQ(SendMessageW(UnitHandle(kList), LB_GETCOUNT, 0, 0), 3);
}

TEST(Properties, AWorkerThreadsWriteThatNeedsANewWindowIsBuiltOnTheWindowThread) {
    LoadForm();
    HWND old = UnitHandle(kEdit);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        WriteText(kEdit, rt::EditBox::Content, "线程");
        WriteInt(kEdit, rt::EditBox::MultiLine, 1);  // multi-line: rebuild
        WriteInt(kEdit, rt::EditBox::Width, 120);
        done = true;
    });
    // The worker's writes wait for this thread to carry them out.
    const bool finished = RunLoopUntil([&] { return done.load(); }, 60000);
    if (!finished) worker.detach();  // still waiting for a window thread that no longer pumps
    ASSERT_TRUE(finished) << "the worker's writes were not carried out";
    worker.join();
    HWND fresh = UnitHandle(kEdit);
    ASSERT_NE(fresh, old);
    EXPECT_EQ(GetWindowThreadProcessId(fresh, nullptr), GetCurrentThreadId());
    EXPECT_TRUE(GetWindowLongW(fresh, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Content), "线程");
    EXPECT_EQ(ReadInt(kEdit, rt::EditBox::Width), 120);
}
