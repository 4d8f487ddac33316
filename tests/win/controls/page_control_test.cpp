// The page control on real windows: type data and page-list versions, tabs of pages that
// are not hidden, page switching by real clicks with its events and the units that
// follow, the focus rule, property 13, rebuilds, a control hosted outside a loaded
// window, and the strip it draws.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "controls/page_control_data.h"
#include "controls/page_control_unit.h"
#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/properties.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/units/timer_type.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kPages = 0x16010002;
// Units: page 1 kA1, kA2; page 2 kB1..kB6; page 3 kC1, kC2.
constexpr uint32_t kA1 = 0x16010010, kA2 = 0x16010011, kB1 = 0x16010020, kB2 = 0x16010021, kB3 = 0x16010022,
                   kB4 = 0x16010023, kB5 = 0x16010024, kB6 = 0x16010025, kC1 = 0x16010030, kC2 = 0x16010031;
constexpr uint32_t kShown = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;
constexpr int32_t kChanging = rt::PageControl::PageChanging.number, kChanged = rt::PageControl::PageChanged.number;

PageControlPage Page(const char* caption, const char* second = "", uint32_t hidden = 0) {
    PageControlPage p;
    p.caption = caption;
    p.secondText = second;
    p.hidden = hidden;
    return p;
}

PageControlData ThreePages(uint32_t hiddenSecond = 0) {
    PageControlData d;
    d.settings34 = {0, 0x00ECECEC, 0x00ECECEC, 0x00ECECEC};
    d.pages = {Page("盘货单", "收银员盘货单"), Page("网络监测", "网络监测", hiddenSecond), Page("核算器", "充值核算器")};
    return d;
}

UnitRecord OnPage(UnitRecord r) {
    r.parentId = kPages;
    return r;
}

UnitRecord EditAt(uint32_t id, int top, uint32_t flags = kShown, uint32_t tabOrder = 0) {
    UnitRecord r = OnPage(Unit(id, kTypeEditBox, 20, top, 100, 22, EditBoxData::Write({}), flags));
    r.tabOrder = tabOrder;
    return r;
}

UnitRecord PagesUnit(const std::vector<uint8_t>& data, uint32_t eventOne = kRecordTrue) {
    UnitRecord pages = Unit(kPages, kTypePageControl, 0, 0, 400, 300, data, kShown);
    pages.children = {kA1, kA2, 0, kB1, kB2, kB3, kB4, kB5, kB6, 0, kC1, kC2};
    On(pages, kChanged);
    On(pages, kChanging, eventOne);
    return pages;
}

// Page 2 lists, in this order: a disabled edit, an edit marked invisible, a timer, an
// edit with tab order 2, a button with tab order 1 and an edit with tab order 1.
std::vector<UnitRecord> PageUnits() {
    UnitRecord timer = OnPage(Unit(kB3, kTypeTimer, 300, 10, 24, 24, TimerData::Write({}), kShown));
    UnitRecord button = OnPage(Unit(kB5, kTypeButton, 150, 130, 80, 24, ButtonData::Write({}), kShown));
    button.tabOrder = 1;
    return {EditAt(kA1, 40), EditAt(kA2, 70),
            EditAt(kB1, 40, kShown | UnitRecord::kStateDisabled), EditAt(kB2, 70, UnitRecord::kStateTabStop), timer,
            EditAt(kB4, 100, kShown, 2), button, EditAt(kB6, 160, kShown, 1),
            EditAt(kC1, 40), EditAt(kC2, 70)};
}

void Load(UnitRecord pages, std::vector<UnitRecord> units = PageUnits(), bool visible = true) {
    units.insert(units.begin(), pages);
    units.insert(units.begin(), WindowRecord(PlainWindowData(), 40, 40, 440, 360));
    if (!visible) units[0].stateFlags = 0;  // a shown window takes long to go again
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetForegroundWindow(FormHandle());
    Pump(80);
    SeenEvents().clear();
}

HWND PagesHandle() { return UnitHandle(kPages); }
LRESULT Tabs(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(PagesHandle(), message, wParam, lParam); }

RECT TabRect(int tab) {
    RECT r = {};
    Tabs(TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r));
    return r;
}

void ClickTab(int tab) {
    RECT r = TabRect(tab);
    ASSERT_TRUE(ClickAt(PagesHandle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
}

std::wstring TabCaption(int tab) {
    wchar_t text[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    Tabs(TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return text;
}

int PageOfTab(int tab) {
    TCITEMW item = {};
    item.mask = TCIF_PARAM;
    return Tabs(TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item)) ? static_cast<int>(item.lParam) : -1;
}

bool Shown(uint32_t unit) { return (GetWindowLongW(UnitHandle(unit), GWL_STYLE) & WS_VISIBLE) != 0; }

// The units shown, in the order given.
std::vector<uint32_t> ShownOf(std::initializer_list<uint32_t> units) {
    std::vector<uint32_t> out;
    for (uint32_t u : units)
        if (Shown(u)) out.push_back(u);
    return out;
}
const std::initializer_list<uint32_t> kAll = {kA1, kA2, kB1, kB2, kB3, kB4, kB5, kB6, kC1, kC2};

// A type-data block of a given version: the later fields cut off and the version word set.
std::vector<uint8_t> AtVersion(std::vector<uint8_t> bytes, uint32_t version) {
    size_t cut = (version < 2 ? 16 : 0) + (version < 3 ? 4 : 0) + (version < 5 ? 4 : 0) + (version < 6 ? 4 : 0) +
                 (version < 7 ? 4 : 0);
    bytes.resize(bytes.size() - cut);
    bytes[0] = static_cast<uint8_t>(version);
    return bytes;
}

// The type data with the page list replaced by raw bytes (older page-list versions).
std::vector<uint8_t> WithPageList(const std::vector<uint8_t>& list) {
    PageControlData d = ThreePages();
    d.pages.clear();
    std::vector<uint8_t> bytes = PageControlData::Write(d);
    const size_t at = 4 + 16 + 60;  // version, four settings, the font: then the list's length
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(at));
    TemplateWriter w;
    w.CountedBlock(list);
    std::vector<uint8_t> block = w.Take();
    out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), bytes.begin() + static_cast<ptrdiff_t>(at + 4), bytes.end());
    return out;
}

std::vector<uint8_t> PageList(uint32_t version, const std::vector<PageControlPage>& pages) {
    TemplateWriter w;
    w.U32(version);
    w.Length(pages.size());
    for (const PageControlPage& p : pages) {
        w.CountedText(p.caption);
        for (int32_t v : p.tabSettings) w.I32(v);
        if (version >= 2) w.CountedText(p.secondText);
        if (version >= 3) w.U32(p.hidden);
        w.Length(p.subEntries.size());
        for (const auto& e : p.subEntries)
            for (uint32_t v : e) w.U32(v);
    }
    return w.Take();
}

std::vector<PageControlPage> ReadPages() {
    auto p = reinterpret_cast<void*>(static_cast<uintptr_t>(RtEntries().readProperty(kTestWindowId, kPages, 11, -1)));
    std::vector<PageControlPage> pages;
    if (p) pages = PageControlData::ParsePageList(array_block::ByteSetData(p), array_block::ByteSetLength(p)).value_or(pages);
    RtFree(p);
    return pages;
}

}  // namespace

TEST(PageControl, EveryTypeDataVersionUpToSevenLoadsItsPagesAndEightFails) {
    const std::vector<uint8_t> full = PageControlData::Write(ThreePages());
    for (uint32_t version = 0; version <= 8; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        std::vector<uint8_t> data = version <= 7 ? AtVersion(full, version) : full;
        if (version == 8) data[0] = 8;
        UnitRecord window = WindowRecord(PlainWindowData());
        window.stateFlags = 0;  // never shown: a shown window takes long to go again
        std::vector<UnitRecord> units = {window, PagesUnit(data)};
        StartRuntime(ImageBytes(OneWindow(units)));
        ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
        if (version == 8) {
            EXPECT_EQ(FindUnitObject(kTestWindowId, kPages), nullptr);
        } else {
            ASSERT_NE(PagesHandle(), nullptr);
            EXPECT_EQ(Tabs(TCM_GETITEMCOUNT), 3);
            EXPECT_EQ(Tabs(TCM_GETCURSEL), 0);
            EXPECT_EQ(TabCaption(2), L"核算器");
            wchar_t cls[64] = {};
            GetClassNameW(PagesHandle(), cls, 64);
            EXPECT_STREQ(cls, kPageControlClass);
        }
        DestroyWindow(FormHandle());
        Pump(10);
    }
}

TEST(PageControl, PageListVersionsOneToThreeWithSecondTextsHiddenFlagsAndSkippedSubEntries) {
    std::vector<PageControlPage> pages = {Page("甲", "第一页"), Page("乙", "第二页", 1), Page("丙", "第三页")};
    pages[0].subEntries = {{1, 2, 3, 4}, {5, 6, 7, 8}};  // skipped, the next page still reads right
    pages[1].tabSettings[3] = 7;
    struct Case {
        uint32_t listVersion;
        int tabs;
        std::vector<std::string> secondTexts;
    };
    const Case cases[] = {
        {1, 3, {"", "", ""}},
        {2, 3, {"第一页", "第二页", "第三页"}},
        {3, 2, {"第一页", "第二页", "第三页"}},  // 乙 has no tab
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page list version " + std::to_string(c.listVersion));
        Load(PagesUnit(WithPageList(PageList(c.listVersion, pages))), {}, false);
        ASSERT_NE(PagesHandle(), nullptr);
        EXPECT_EQ(Tabs(TCM_GETITEMCOUNT), c.tabs);
        EXPECT_EQ(TabCaption(0), L"甲");
        EXPECT_EQ(TabCaption(c.tabs - 1), L"丙");
        std::vector<PageControlPage> read = ReadPages();
        ASSERT_EQ(read.size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(read[i].secondText, c.secondTexts[i]);
        EXPECT_EQ(read[1].tabSettings[3], 7);
        EXPECT_EQ(read[0].subEntries, pages[0].subEntries);
        DestroyWindow(FormHandle());
        Pump(10);
    }
}

TEST(PageControl, PagesWithoutATabCountNowhereAndTheirUnitsStayHidden) {
    Load(PagesUnit(PageControlData::Write(ThreePages(1))));
    EXPECT_EQ(Tabs(TCM_GETITEMCOUNT), 2);
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 0);
    EXPECT_EQ(PageOfTab(1), 2);
    RECT none = {};
    EXPECT_FALSE(Tabs(TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&none)));
    RECT second = TabRect(1);
    TCHITTESTINFO hit = {{(second.left + second.right) / 2, (second.top + second.bottom) / 2}, 0};
    EXPECT_EQ(Tabs(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEM));
    hit.pt = {second.right + 200, 150};
    EXPECT_EQ(Tabs(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_NOWHERE));

    // The second tab shows the third page and its units.
    ClickTab(1);
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 1);
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Setting13), 2);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kC1, kC2}));
    EXPECT_EQ(GetFocus(), UnitHandle(kC1));
    const std::vector<SeenEvent> expected = {{kChanging, kPages, {2}}, {kChanged, kPages, {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());

    // TCM_SETCURSEL selects by tab, answers the previous tab, raises nothing.
    SeenEvents().clear();
    EXPECT_EQ(Tabs(TCM_SETCURSEL, 0), 1);
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 0);
    EXPECT_EQ(Tabs(TCM_SETCURSEL, 2), -1) << "no third tab";
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 0);
    EXPECT_TRUE(SeenEvents().empty());
    // A write naming the page without a tab changes nothing.
    WriteInt(kPages, rt::PageControl::Setting13, 1);
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Setting13), 0);
}

TEST(PageControl, AControlStartingOnAPageOtherThanTheFirstShowsThatPagesUnits) {
    // The first page has no tab: the control starts on the second, where the loader had
    // shown the first page's units.
    PageControlData d = ThreePages();
    d.pages[0].hidden = 1;
    Load(PagesUnit(PageControlData::Write(d)));
    Pump(50);
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Setting13), 1);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kB1, kB4, kB5, kB6}));

    // The page the data names.
    d = ThreePages();
    d.setting16 = 2;
    Load(PagesUnit(PageControlData::Write(d)));
    Pump(50);
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 2);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kC1, kC2}));
}

TEST(PageControl, AClickOnATabRaisesOneThenShowsThePageThenRaisesZero) {
    Load(PagesUnit(PageControlData::Write(ThreePages())));
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kA1, kA2}));
    // The events see the units as they are when each is raised.
    std::vector<std::vector<uint32_t>> shownAtEvent;
    SetEventAction([&](const SeenEvent&) { shownAtEvent.push_back(ShownOf(kAll)); });

    ClickTab(1);
    const std::vector<SeenEvent> expected = {{kChanging, kPages, {1}}, {kChanged, kPages, {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    ASSERT_EQ(shownAtEvent.size(), 2u);
    EXPECT_EQ(shownAtEvent[0], (std::vector<uint32_t>{kA1, kA2})) << "event 1 comes before the change";
    // Page 2: the disabled edit shows, the invisible edit and the timer never do.
    EXPECT_EQ(shownAtEvent[1], (std::vector<uint32_t>{kB1, kB4, kB5, kB6}));
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 1);
    // Enabled units that take the focus: the smallest tab order, the first in the list.
    EXPECT_EQ(GetFocus(), UnitHandle(kB5));
    SetEventAction(nullptr);

    // The current tab again: no event, no unit changes, the focus stays.
    SeenEvents().clear();
    SetFocus(UnitHandle(kB4));
    ClickTab(1);
    EXPECT_TRUE(SeenEvents().empty()) << Describe(SeenEvents());
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kB1, kB4, kB5, kB6}));
    EXPECT_EQ(GetFocus(), UnitHandle(kB4));

    ClickTab(2);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kC1, kC2}));
    EXPECT_EQ(GetFocus(), UnitHandle(kC1));
    ClickTab(0);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kA1, kA2}));
    EXPECT_EQ(GetFocus(), UnitHandle(kA1));
    EXPECT_EQ(SeenEvents().size(), 4u) << Describe(SeenEvents());
}

TEST(PageControl, EventOneAnsweringFalseCancelsTheChange) {
    Load(PagesUnit(PageControlData::Write(ThreePages()), kRecordFalse));
    SetFocus(UnitHandle(kA2));
    ClickTab(2);
    const std::vector<SeenEvent> expected = {{kChanging, kPages, {2}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 0);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kA1, kA2}));
    EXPECT_EQ(GetFocus(), UnitHandle(kA2));
}

TEST(PageControl, PropertyThirteenSelectsLikeAClickAndARebuildKeepsThePage) {
    Load(PagesUnit(PageControlData::Write(ThreePages())));
    WriteInt(kPages, rt::PageControl::Setting13, 2);
    const std::vector<SeenEvent> expected = {{kChanging, kPages, {2}}, {kChanged, kPages, {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Setting13), 2);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kC1, kC2}));

    // The settings are read back as written; the tab height sets the strip.
    WriteInt(kPages, rt::PageControl::Integer12, 40);
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Integer12), 40);
    EXPECT_EQ(TabRect(0).bottom, 40);
    WriteInt(kPages, rt::PageControl::Setting28, 0x00123456);  // the frame colour
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Setting28), 0x00123456);
    EXPECT_EQ(ReadInt(kPages, rt::PageControl::Switch9), 1);  // as the data stores it

    // Interface 5 keeps the current page; a rebuild comes back on it.
    UnitObject* old = FindUnitObject(kTestWindowId, kPages);
    auto all = UnitOperation<GetAllPropertyDataFn>(SupportedUnitType(kTypePageControl), kInterfaceGetAllPropertyData);
    std::vector<uint8_t> data = all(old);
    std::optional<PageControlData> back = PageControlData::Parse(data.data(), data.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->setting16, 2u);
    EXPECT_EQ(back->settingsB[0], 40u);
    EXPECT_EQ(back->pages, ThreePages().pages);
    SeenEvents().clear();
    WindowEntry* entry = FindLoadedWindow(kTestWindowId);
    ASSERT_TRUE(RebuildUnit(*entry, entry->FindPosition(kPages)));
    EXPECT_NE(FindUnitObject(kTestWindowId, kPages), old);
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 2);
    Pump(50);
    EXPECT_EQ(ShownOf(kAll), (std::vector<uint32_t>{kC1, kC2}));
    EXPECT_TRUE(SeenEvents().empty());

    // A new page list: a fourth page gets a tab; the current page stays.
    PageControlData more = ThreePages();
    more.pages.push_back(Page("第四"));
    std::vector<uint8_t> list = PageControlData::WritePageList(more.pages);
    void* block = NewByteSet(list.data(), list.size());
    uint64_t p = reinterpret_cast<uintptr_t>(block);
    RtEntries().writeProperty(kTestWindowId, kPages, 11, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    RtFree(block);
    EXPECT_EQ(Tabs(TCM_GETITEMCOUNT), 4);
    EXPECT_EQ(TabCaption(3), L"第四");
    EXPECT_EQ(Tabs(TCM_GETCURSEL), 2);

    // Interface 9: captions, second texts and the tab font's face.
    auto enumerate = UnitOperation<EnumerateTextsFn>(SupportedUnitType(kTypePageControl), kInterfaceEnumerateTexts);
    std::vector<std::string> texts;
    enumerate(data.data(), static_cast<uint32_t>(data.size()),
              [](const char* text, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(text); }, &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"盘货单", "收银员盘货单", "网络监测", "网络监测", "核算器", "充值核算器", "SimSun"}));
}

namespace {

std::vector<std::pair<UINT, WPARAM>>* g_hostSeen = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPageHostMessage && g_hostSeen) g_hostSeen->push_back({message, wParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(PageControl, AControlOutsideALoadedWindowTellsItsHostInsteadOfTheRuntime) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData())})));
    std::vector<std::pair<UINT, WPARAM>> seen;
    g_hostSeen = &seen;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MgPageHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowW(L"MgPageHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 340, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    std::vector<uint8_t> data = PageControlData::Write(ThreePages());
    UnitCreateArgs a = {};
    a.type = SupportedUnitType(kTypePageControl);
    a.parent = host;
    a.typeData = data.data();
    a.typeDataLength = static_cast<uint32_t>(data.size());
    a.controlId = 100;
    a.width = 400;
    a.height = 300;
    a.windowId = 0x52990001;  // no window of the list
    a.unitId = kPages;
    auto create = UnitOperation<CreateUnitFn>(SupportedUnitType(kTypePageControl), kInterfaceCreateUnit);
    UnitObject* control = create(a);
    ASSERT_NE(control, nullptr);
    ShowWindow(control->hwnd(), SW_SHOW);
    RECT r = {};
    SendMessageW(control->hwnd(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    SendMessageW(control->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(SendMessageW(control->hwnd(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{kPageHostMessage, 1}}));
    DestroyWindow(host);
    g_hostSeen = nullptr;
}

TEST(PageControl, TheStripShowsEveryCaptionInItsTabAndHighlightsTheCurrentOne) {
    Load(PagesUnit(PageControlData::Write(ThreePages())), {});
    Pump(50);
    // Tabs sit side by side from the left and are as wide as their captions need.
    RECT t0 = TabRect(0), t1 = TabRect(1), t2 = TabRect(2);
    EXPECT_LE(t0.right - 2, t1.left + 2);
    EXPECT_LE(t1.right - 2, t2.left + 2);
    HDC dc = GetDC(PagesHandle());
    HGDIOBJ old = SelectObject(dc, FindUnitObject(kTestWindowId, kPages)->font());
    for (int tab = 0; tab < 3; ++tab) {
        std::wstring caption = TabCaption(tab);
        SIZE extent;
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        RECT r = TabRect(tab);
        EXPECT_GT(r.right - r.left, extent.cx) << "tab " << tab;
        EXPECT_GT(r.bottom - r.top, extent.cy) << "tab " << tab;
    }
    SelectObject(dc, old);
    ReleaseDC(PagesHandle(), dc);
    EXPECT_GT(t1.right - t1.left, t0.right - t0.left) << "four characters need more room than three";

    // The pages' colour below the strip; the current tab differs from the others.
    auto tabShot = [](int tab) {
        RECT r = TabRect(tab);
        MapWindowPoints(PagesHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return CaptureScreen(r);
    };
    Shot page = CaptureClient(PagesHandle());
    EXPECT_EQ(page.At(200, 200), RGB(0xEC, 0xEC, 0xEC));
    Shot current = tabShot(0), other = tabShot(2);
    EXPECT_GT(current.Count(RGB(0xEC, 0xEC, 0xEC)), current.width * current.height / 2) << "the current tab is one with its page";
    EXPECT_LT(other.Count(RGB(0xEC, 0xEC, 0xEC)), other.width * other.height / 4);
    ClickTab(2);
    Shot nowCurrent = tabShot(2), nowOther = tabShot(0);
    EXPECT_GT(nowCurrent.Count(RGB(0xEC, 0xEC, 0xEC)), nowCurrent.width * nowCurrent.height / 2);
    EXPECT_LT(nowOther.Count(RGB(0xEC, 0xEC, 0xEC)), nowOther.width * nowOther.height / 4);
}

// A repaint of part of the control (what a see-through label above it asks for) draws that
// part exactly as a repaint of the whole control does: across a tab's edge, the strip's
// lower edge and the page frame.
TEST(PageControl, APartialRepaintDrawsThePixelsOfAWholeOne) {
    Load(PagesUnit(PageControlData::Write(ThreePages())), {});
    Pump(50);
    HWND pages = PagesHandle();
    RedrawWindow(pages, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(50);
    Shot whole = CaptureClient(pages);
    RECT tab = TabRect(1), client;
    GetClientRect(pages, &client);
    const RECT parts[] = {{tab.left - 3, tab.top + 2, tab.left + 9, tab.bottom + 6},
                          {client.right - 20, tab.bottom - 4, client.right, tab.bottom + 30},
                          {40, 120, 195, 136}};
    for (const RECT& part : parts) {
        // Scribble over the part first, so that only what the control draws is seen.
        HDC dc = GetDC(pages);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &part, red);
        DeleteObject(red);
        ReleaseDC(pages, dc);
        RedrawWindow(pages, &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(30);
        Shot after = CaptureClient(pages);
        EXPECT_TRUE(after == whole) << Difference(after, whole);
    }
}
