// The main window's form, compiled from toolbox/main_window.toml, checked against its
// layout: one row per unit with id, name, type, place, rectangle, text, colour, font,
// alignment, flags and events, then the rules that tie the units together (pages,
// focus, stacking, the default host lines). Narrow literals are GBK, like the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "controls/unit_types.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/type_data/window_data.h"
#include "tools/formc/form_compiler.h"

namespace {

constexpr uint32_t TL = kTypeTransLabel, Edit = kTypeEditBox, Btn = kTypeButton, Label = kTypeLabel,
                   Combo = kTypeComboBox, List = kTypeListBox, Timer = kTypeTimer, Group = kTypeGroupBox,
                   Page = kTypePageControl, Bar = kTypeStatusBar, LV = kTypeListView;
constexpr uint32_t kBlack = 0x00000000, kRed = 0x000000FF, kBlue = 0x00FF0000;
constexpr int kLeft = 0, kCentre = 1, kRight = 2;

struct Place {
    const char* parent;  // nullptr: on the window
    int page;            // 1-3 on the page control 茗柜, else 0
};
constexpr Place kWin{nullptr, 0}, kP1{"茗柜", 1}, kP2{"茗柜", 2}, kP3{"茗柜", 3}, kG1{"分组框1", 0},
    kGIn{"疆内分组框", 0}, kGOut{"疆外分组框", 0};

struct Rect {
    int left, top, width, height;
};
struct Font {
    int32_t height, weight;
    uint8_t charset;
    const char* face;  // nullptr: no font stored (the unit's default font)
};
constexpr Font kDefaultFont{0, 0, 0, nullptr};

struct Extra {
    uint32_t inputMode = 0;
    uint32_t maxLength = 0;
    uint32_t effect = 0;
    bool hidden = false;
    bool disabled = false;
};

struct Row {
    uint32_t id;
    const char* name;
    uint32_t type;
    Place place;
    Rect rect;
    const char* text = nullptr;  // caption or content; nullptr for types without one
    uint32_t colour = kBlack;    // text colour
    Font font = kDefaultFont;
    int align = -1;  // horizontal alignment; -1: the type's usual one
    Extra extra = {};
    std::vector<std::pair<int32_t, std::string>> events = {};
};

// Every unit of the main window in layout order (not table order).
const std::vector<Row> kRows = {
    // On the window. The status bar's id is not part of the layout text; it keeps the one
    // it was given.
    {0x16010003, "状态条1", Bar, kWin, {0, 500, 500, 22}, nullptr, kBlack, {-12, 400, 134, "楷体"}},
    {0x16010002, "茗柜", Page, kWin, {0, 0, 500, 500}, nullptr, kBlack, {-12, 400, 134, "SimSun"}},

    // Page 1: inventory sheet.
    {0x1601000E, "透明标签29", TL, kP1, {132, 16, 500, 40}, "收 银 员 盘 货 单", kBlue, {-21, 700, 0, "楷体"}},
    {0x1601003E, "饮料数量盘点", TL, kP1, {15, 50, 129, 20}, "饮料数量盘点", kRed, {-19, 700, 0, "楷体"}},
    {0x16010024, "小吃数量盘点", TL, kP1, {160, 50, 127, 20}, "小吃数量盘点", kRed, {-19, 700, 0, "楷体"}},
    {0x1601001C, "香烟数量盘点", TL, kP1, {310, 50, 127, 24}, "香烟数量盘点", kRed, {-19, 700, 0, "楷体"}},
    // Drink grid: price labels and count boxes, row by row.
    {0x16010056, "透明标签1", TL, kP1, {8, 80, 65, 20}, "1元饮料：", kBlack, kDefaultFont, kRight},
    {0x1601004A, "盘饮料1", Edit, kP1, {78, 80, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010055, "透明标签2", TL, kP1, {8, 110, 65, 20}, "1.5元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010049, "盘饮料2", Edit, kP1, {78, 110, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010054, "透明标签3", TL, kP1, {8, 140, 65, 20}, "2元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010048, "盘饮料3", Edit, kP1, {78, 140, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010179, "透明标签40", TL, kP1, {8, 170, 65, 20}, "2.5元饮料", kBlack, kDefaultFont, kRight},
    {0x16010178, "盘饮料4", Edit, kP1, {78, 170, 40, 20}, "", kBlack, kDefaultFont, kLeft, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010053, "透明标签4", TL, kP1, {8, 203, 65, 20}, "3元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010047, "盘饮料5", Edit, kP1, {78, 203, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601017A, "透明标签41", TL, kP1, {8, 230, 65, 20}, "3.5元饮料", kBlack, kDefaultFont, kRight},
    {0x1601017C, "盘饮料6", Edit, kP1, {78, 230, 40, 20}, "", kBlack, kDefaultFont, kLeft, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010052, "透明标签5", TL, kP1, {8, 259, 65, 20}, "4元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010046, "盘饮料7", Edit, kP1, {78, 259, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010051, "透明标签6", TL, kP1, {8, 289, 65, 20}, "5元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010045, "盘饮料8", Edit, kP1, {78, 289, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010050, "透明标签7", TL, kP1, {8, 319, 65, 20}, "6元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010044, "盘饮料9", Edit, kP1, {78, 319, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601004F, "透明标签8", TL, kP1, {8, 349, 65, 20}, "7元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010043, "盘饮料10", Edit, kP1, {78, 349, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601004E, "透明标签9", TL, kP1, {8, 379, 65, 20}, "8元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010042, "盘饮料11", Edit, kP1, {78, 379, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601004D, "透明标签10", TL, kP1, {8, 409, 65, 20}, "10元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010041, "盘饮料12", Edit, kP1, {78, 409, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601004C, "透明标签11", TL, kP1, {8, 439, 65, 20}, "12元饮料：", kBlack, kDefaultFont, kRight},
    {0x16010040, "盘饮料13", Edit, kP1, {78, 439, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601004B, "透明标签12", TL, kP1, {8, 469, 65, 20}, "15元饮料：", kBlack, kDefaultFont, kRight},
    {0x1601003F, "盘饮料14", Edit, kP1, {78, 469, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    // Snack grid.
    {0x1601003C, "透明标签13", TL, kP1, {160, 80, 70, 25}, "0.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010030, "盘小吃1", Edit, kP1, {230, 80, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601003B, "透明标签14", TL, kP1, {160, 110, 70, 25}, "1元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002F, "盘小吃2", Edit, kP1, {230, 110, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601003A, "透明标签15", TL, kP1, {160, 140, 70, 25}, "1.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002E, "盘小吃3", Edit, kP1, {230, 140, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010039, "透明标签16", TL, kP1, {160, 170, 70, 25}, "2元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002D, "盘小吃4", Edit, kP1, {230, 170, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010038, "透明标签17", TL, kP1, {160, 200, 70, 25}, "2.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002C, "盘小吃5", Edit, kP1, {230, 200, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010037, "透明标签18", TL, kP1, {160, 230, 70, 25}, "3元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002B, "盘小吃6", Edit, kP1, {230, 230, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010036, "透明标签19", TL, kP1, {160, 260, 70, 25}, "3.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x1601002A, "盘小吃7", Edit, kP1, {230, 260, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010035, "透明标签20", TL, kP1, {160, 290, 70, 25}, "4元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010029, "盘小吃8", Edit, kP1, {230, 290, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010034, "透明标签21", TL, kP1, {160, 320, 70, 25}, "4.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010028, "盘小吃9", Edit, kP1, {230, 320, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010033, "透明标签22", TL, kP1, {160, 350, 70, 25}, "5元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010027, "盘小吃10", Edit, kP1, {230, 350, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010032, "透明标签23", TL, kP1, {160, 380, 70, 25}, "5.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010026, "盘小吃11", Edit, kP1, {230, 380, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010031, "透明标签24", TL, kP1, {160, 410, 70, 25}, "6元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010025, "盘小吃12", Edit, kP1, {230, 410, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010017, "透明标签31", TL, kP1, {160, 440, 70, 25}, "6.5元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010015, "盘小吃13", Edit, kP1, {230, 440, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010016, "透明标签32", TL, kP1, {160, 470, 70, 25}, "7元小吃：", kBlack, kDefaultFont, kRight},
    {0x16010014, "盘小吃14", Edit, kP1, {230, 470, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    // Cigarette grid.
    {0x1601001B, "透明标签25", TL, kP1, {310, 80, 65, 20}, "11元香烟：", kBlack, kDefaultFont, kRight},
    {0x16010013, "盘香烟1", Edit, kP1, {375, 80, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x1601001A, "透明标签26", TL, kP1, {310, 110, 65, 20}, "14元香烟：", kBlack, kDefaultFont, kRight},
    {0x16010012, "盘香烟2", Edit, kP1, {375, 110, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010019, "透明标签27", TL, kP1, {310, 140, 65, 20}, "23元香烟：", kBlack, kDefaultFont, kRight},
    {0x16010011, "盘香烟3", Edit, kP1, {375, 140, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010018, "透明标签28", TL, kP1, {310, 170, 65, 20}, "25元香烟：", kBlack, kDefaultFont, kRight},
    {0x16010010, "盘香烟4", Edit, kP1, {375, 170, 40, 20}, "", kBlack, kDefaultFont, kRight, {.inputMode = 3}, {{-9, "AdvanceOnEnter"}}},
    {0x16010185, "透明标签42", TL, kP1, {315, 198, 65, 16}, "其它钱数："},
    {0x16010186, "其它钱数", Edit, kP1, {375, 198, 80, 20}, "此处填写钱数", kBlack, kDefaultFont, kCentre, {.inputMode = 3}, {{-1, "EmptyBoxOnClick"}}},
    {0x160100EA, "透明标签34", TL, kP1, {293, 223, 80, 16}, "请选择收银员："},
    {0x1601000C, "收银员组合框", Combo, kP1, {375, 222, 72, 20}, nullptr, kBlack, kDefaultFont, -1, {}, {{0, "ShowCashierHeading"}}},
    {0x1601001D, "分组框1", Group, kP1, {292, 245, 160, 180}},
    {0x16010023, "标签1", Label, kG1, {4, 0, 150, 30}, "盘货信息统计"},
    {0x16010022, "饮料标签", TL, kG1, {5, 30, 150, 20}, "", kBlue},
    {0x16010021, "小吃标签", TL, kG1, {5, 55, 150, 25}, "", kBlue},
    {0x16010020, "香烟标签", TL, kG1, {5, 80, 150, 25}, "", kBlue},
    {0x16010190, "其它标签", TL, kG1, {5, 105, 150, 25}, "", kBlue},
    {0x1601001F, "总额", TL, kG1, {5, 130, 150, 25}, "", kBlue},
    {0x1601001E, "时间显示", TL, kG1, {5, 160, 155, 16}, "", 0x008050FF, kDefaultFont, kCentre},
    {0x1601003D, "计算", Btn, kP1, {298, 430, 60, 24}, "计算", kBlack, kDefaultFont, -1, {}, {{0, "CalculateInventory"}, {-9, "ClickOnEnter"}}},
    {0x16010172, "盘清除", Btn, kP1, {298, 460, 60, 24}, "清除", kBlack, kDefaultFont, -1, {}, {{0, "ClearCountBoxes"}}},
    {0x1601000F, "导出", Btn, kP1, {368, 430, 70, 24}, "导出文件", kBlack, kDefaultFont, -1, {}, {{0, "ExportInventoryImage"}}},
    {0x1601000B, "打开", Btn, kP1, {368, 460, 70, 24}, "打开目录", kBlack, kDefaultFont, -1, {}, {{0, "OpenRecordDirectory"}}},
    // The sheet's clock, listed on page 3 so that page 1 holds 77 units.
    {0x1601000D, "时钟1", Timer, kP3, {444, 440, 24, 24}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}, {{0, "TickClock"}}},

    // Page 2: network monitor.
    {0x160101FD, "透明标签43", TL, kP2, {30, 30, 168, 32}, "疆内网络监测", kBlue, {-21, 700, 0, ""}, kCentre},
    {0x16010200, "透明标签30", TL, kP2, {302, 30, 168, 32}, "疆外网络监测", kBlue, {-21, 700, 0, ""}, kCentre},
    {0x16010203, "内网配置文件", Btn, kP2, {30, 60, 168, 18}, "点击修改配置文件", kBlack, kDefaultFont, -1, {}, {{0, "OpenInsideListFile"}}},
    {0x16010204, "外网配置文件", Btn, kP2, {302, 60, 168, 18}, "点击修改配置文件", kBlack, kDefaultFont, -1, {}, {{0, "OpenOutsideListFile"}}},
    {0x16010236, "透明标签33", TL, kP2, {212, 78, 80, 24}, "监测间隔时间", kBlack, kDefaultFont, -1, {.effect = 2}},
    {0x16010235, "编辑框秒", Edit, kP2, {227, 103, 36, 24}, "6", kRed, kDefaultFont, kCentre, {.inputMode = 7, .maxLength = 3}, {{-1, "ClearIntervalBox"}}},
    {0x16010237, "透明标签44", TL, kP2, {265, 102, 16, 24}, "秒"},
    {0x16010192, "疆内分组框", Group, kP2, {30, 85, 168, 200}},
    {0x16010194, "疆内超级列表框", LV, kGIn, {24, 48, 104, 104}},
    {0x16010193, "疆外分组框", Group, kP2, {302, 85, 168, 200}},
    {0x16010195, "疆外超级列表框", LV, kGOut, {48, 88, 88, 88}},
    {0x16010196, "开始", Btn, kP2, {216, 152, 60, 30}, "开始", kBlack, {-12, 0, 0, "微软雅黑"}, -1, {}, {{0, "StartMonitoring"}}},
    {0x16010202, "停止", Btn, kP2, {216, 224, 60, 30}, "停止", kBlack, {-12, 0, 0, "微软雅黑"}, -1, {}, {{0, "StopMonitoring"}}},
    {0x16010209, "列表框1", List, kP2, {320, 344, 104, 40}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}},
    {0x16010218, "列表框2", List, kP2, {328, 392, 88, 40}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}},
    {0x16010199, "超级列表框1", LV, kP2, {312, 304, 56, 40}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}},
    {0x1601019A, "超级列表框2", LV, kP2, {368, 304, 56, 40}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}},
    {0x16010197, "分割符编辑框", Edit, kP2, {424, 352, 40, 20}, "，", kBlack, kDefaultFont, kLeft, {.hidden = true}},
    {0x16010198, "时钟2", Timer, kP2, {416, 384, 40, 40}, nullptr, kBlack, kDefaultFont, -1, {.hidden = true}, {{0, "OnMonitorTimer"}}},

    // Page 3: top-up calculator.
    {0x1601014B, "透明标签39", TL, kP3, {0, 35, 500, 40}, "充值赠送核算工具", kRed, {-32, 700, 0, "微软雅黑"}, kCentre},
    {0x16010141, "透明标签35", TL, kP3, {100, 110, 160, 40}, "充值金额：", kBlue, {-32, 0, 0, "楷体"}},
    {0x1601014A, "透明标签36", TL, kP3, {100, 170, 152, 40}, "赠送金额：", kBlue, {-32, 0, 0, "楷体"}},
    {0x16010143, "透明标签37", TL, kP3, {100, 230, 160, 40}, "费率：", kBlue, {-32, 0, 0, "楷体"}, kRight},
    {0x16010148, "透明标签38", TL, kP3, {100, 290, 160, 40}, "核算结果：", kRed, {-32, 0, 0, "楷体"}, kRight},
    {0x160100F4, "编辑框1", Edit, kP3, {250, 110, 100, 40}, "", kBlack, {-32, 0, 0, ""}, kRight, {.inputMode = 10}, {{-1, "EmptyBoxOnClick"}, {-9, "AdvanceOnEnter"}}},
    {0x160100F3, "编辑框2", Edit, kP3, {250, 170, 100, 40}, "", kBlack, {-32, 0, 0, ""}, kRight, {.inputMode = 10}, {{-1, "EmptyBoxOnClick"}, {-9, "AdvanceOnEnter"}}},
    {0x160100F2, "编辑框3", Edit, kP3, {250, 230, 100, 40}, "", kBlack, {-32, 0, 0, ""}, kRight, {.inputMode = 10}, {{-1, "EmptyBoxOnClick"}, {-9, "AdvanceOnEnter"}}},
    {0x160100EC, "编辑框4", Edit, kP3, {250, 290, 100, 40}, "", kRed, {-32, 0, 0, ""}, kCentre, {.disabled = true}},
    {0x160100EB, "清除按钮", Btn, kP3, {60, 360, 160, 40}, "清除数据", kBlack, {-32, 0, 0, ""}, -1, {}, {{0, "ClearTopUpBoxes"}}},
    {0x160100F1, "计算按钮", Btn, kP3, {260, 360, 160, 40}, "计算", kBlack, {-32, 0, 0, ""}, -1, {}, {{0, "CalculateTopUp"}, {-9, "ClickOnEnter"}}},
};

const std::vector<std::string> kCashiers = {"收银一", "收银二", "收银三"};
const std::vector<std::string> kInsideLabels = {"路由器", "游戏服务器A", "游戏服务器B", "电影服务器", "龙管家服务器", "新疆电信DNS"};
const std::vector<std::string> kOutsideLabels = {"百度", "腾讯", "艾欧尼亚", "祖安", "诺克萨斯", "班德尔城", "皮尔特沃夫",
                                                 "战争学院", "巨神峰", "雷瑟守备", "裁决之地", "黑色玫瑰", "暗影岛", "钢铁烈阳",
                                                 "水晶之痕", "均衡教派", "影流", "守望之海", "征服之海", "卡拉曼达", "皮城警备"};
const std::string kSeparator = "，";

// ---- The compiled form and what the loader derives from it ----

const FormCompileResult& Compiled() {
    static const FormCompileResult r = CompileFormFile(MG_SOURCE_DIR "/toolbox/main_window.toml");
    return r;
}

class MainWindowForm : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Compiled().ok) << Compiled().error;
        auto image = ReadTemplateImage(Compiled().bytes.data(), Compiled().bytes.size());
        ASSERT_TRUE(image);
        ASSERT_EQ(*image, Compiled().image);  // the bytes are the model
        w = Compiled().image.FindWindow(0x52010001);
        ASSERT_NE(w, nullptr);
        tabs = ByName("茗柜");
        ASSERT_NE(tabs, nullptr);
        pages = SplitPages(tabs->children);
        for (size_t p = 0; p < pages.size(); ++p)
            for (uint32_t id : pages[p]) pageOf[id] = static_cast<int>(p + 1);
    }

    const UnitRecord* ByName(const std::string& name) const {
        for (const UnitRecord& r : w->records)
            if (r.name == name && r.id != kWindowRecordId) return &r;
        return nullptr;
    }
    std::string HandlerName(uint32_t offset) const {
        if (offset == kNoHandler || offset % 16 != 0 || offset / 16 >= Compiled().handlers.size()) return "?";
        return Compiled().handlers[offset / 16];
    }
    int PageOf(uint32_t id) const {
        auto it = pageOf.find(id);
        return it == pageOf.end() ? 0 : it->second;
    }
    // Shown when the window opens: visible, on no page or on page 1, inside a container
    // that is shown; a timer never is.
    bool ShownAtOpen(const UnitRecord& r) const {
        if (r.typeCode == Timer || !r.visible()) return false;
        if (r.parentId == tabs->id) return PageOf(r.id) == 1;
        if (r.parentId == 0) return true;
        const UnitRecord* parent = w->FindRecord(r.parentId);
        return parent && ShownAtOpen(*parent);
    }

    const WindowTemplate* w = nullptr;
    const UnitRecord* tabs = nullptr;
    std::vector<std::vector<uint32_t>> pages;
    std::map<uint32_t, int> pageOf;
};

// Types that never take the focus (their type state carries 0x10000).
bool NeverFocused(uint32_t type) { return type == TL || type == Label || type == Group || type == Bar || type == Page; }

uint32_t VersionOf(const UnitRecord& r) {
    TemplateCursor c(r.typeData.data(), r.typeData.size());
    return c.U32();
}

void ExpectFont(const FontBlock& block, const Font& f) {
    if (!f.face) {
        EXPECT_TRUE(block.empty()) << "expected the default font";
        return;
    }
    auto lf = DecodeFont(block);
    ASSERT_TRUE(lf) << "expected a 60-byte font";
    EXPECT_EQ(lf->height, f.height);
    EXPECT_EQ(lf->weight, f.weight);
    EXPECT_EQ(lf->charSet, f.charset);
    EXPECT_EQ(lf->Face(), f.face);
    LogFontBytes rest = *lf;  // every field the layout does not name is 0
    rest.height = rest.weight = 0;
    rest.charSet = 0;
    rest.SetFace("");
    EXPECT_EQ(rest, LogFontBytes{});
}

// The stream of a "MITL" block: image count, size and the RGBA of image k at (x, y).
struct LampList {
    const std::vector<uint8_t>& block;
    uint32_t U16(size_t at) const { return block.at(8 + at) | (block.at(9 + at) << 8); }
    std::vector<int> Pixel(int k, int x, int y) const {
        const size_t gridHeight = 32, gridWidth = 64;  // four 16 x 16 images and a spare slot
        size_t at = 8 + 28 + 54 + ((gridHeight - 1 - y) * gridWidth + k * 16 + x) * 4;
        return {block.at(at + 2), block.at(at + 1), block.at(at), block.at(at + 3)};
    }
};

void ExpectTypeData(const Row& row, const UnitRecord& r) {
    const uint8_t* d = r.typeData.data();
    const size_t n = r.typeData.size();
    auto align = [&](int usual) { return static_cast<uint32_t>(row.align < 0 ? usual : row.align); };
    switch (row.type) {
        case TL: {
            EXPECT_EQ(VersionOf(r), 1u);
            auto t = TransLabelData::Parse(d, n);
            ASSERT_TRUE(t);
            EXPECT_EQ(t->caption, row.text);
            EXPECT_EQ(t->effect, row.extra.effect);
            EXPECT_EQ(t->textColour, row.colour);
            EXPECT_EQ(t->horizontalAlignment, align(kLeft));
            EXPECT_EQ(t->wordWrap, 0u);
            EXPECT_EQ(t->verticalAlignment, 1u);
            ExpectFont(t->font, row.font);
            break;
        }
        case Edit: {
            EXPECT_EQ(VersionOf(r), 2u);
            auto e = EditBoxData::Parse(d, n);
            ASSERT_TRUE(e);
            EXPECT_EQ(e->content, row.text);
            EXPECT_EQ(e->border, 1u);
            EXPECT_EQ(e->textColour, row.colour);
            EXPECT_EQ(e->backgroundColour, 0x00FFFFFFu);
            EXPECT_EQ(e->hideSelection, 1u);
            EXPECT_EQ(e->maxLength, row.extra.maxLength);
            EXPECT_EQ(e->multiLine, 0u);
            EXPECT_EQ(e->scrollBars, 0u);
            EXPECT_EQ(e->alignment, align(kLeft));
            EXPECT_EQ(e->inputMode, row.extra.inputMode);
            EXPECT_EQ(e->passwordChar, '*');
            EXPECT_EQ(e->caseConversion, 0u);
            EXPECT_EQ(e->spinMode, 0u);
            EXPECT_EQ(e->spinMin, 0);
            EXPECT_EQ(e->spinMax, 100);
            ExpectFont(e->font, row.font);
            break;
        }
        case Btn: {
            EXPECT_EQ(VersionOf(r), 1u);
            auto b = ButtonData::Parse(d, n);
            ASSERT_TRUE(b);
            EXPECT_EQ(b->caption, row.text);
            EXPECT_EQ(b->buttonType, 0u);
            EXPECT_EQ(b->horizontalAlignment, align(kCentre));
            EXPECT_EQ(b->verticalAlignment, 1u);
            EXPECT_TRUE(b->picture.empty());
            ExpectFont(b->font, row.font);
            break;
        }
        case Label: {
            EXPECT_EQ(VersionOf(r), 2u);
            auto l = LabelData::Parse(d, n);
            ASSERT_TRUE(l);
            EXPECT_EQ(l->caption, row.text);
            EXPECT_EQ(l->textColour, row.colour);
            EXPECT_EQ(l->backgroundColour, kColourMarker);  // transparent
            EXPECT_TRUE(l->backgroundPicture.empty());
            ExpectFont(l->font, row.font);
            break;
        }
        case Combo: {
            EXPECT_EQ(VersionOf(r), 3u);
            auto c = ComboBoxData::Parse(d, n);
            ASSERT_TRUE(c);
            EXPECT_EQ(c->style, 1u);
            EXPECT_EQ(c->itemSpacing, 1u);
            EXPECT_EQ(c->backgroundColour, 0x00FFFFFFu);
            EXPECT_EQ(c->currentSelection, -1);
            EXPECT_EQ(c->content, "");
            EXPECT_EQ(c->items, kCashiers);
            ExpectFont(c->font, row.font);
            break;
        }
        case List: {
            EXPECT_EQ(VersionOf(r), 3u);
            auto l = ListBoxData::Parse(d, n);
            ASSERT_TRUE(l);
            EXPECT_EQ(l->border, 1u);
            EXPECT_EQ(l->itemSpacing, 1u);
            EXPECT_EQ(l->backgroundColour, 0x00FFFFFFu);
            EXPECT_EQ(l->currentSelection, -1);
            EXPECT_EQ(l->items.size(), row.id == 0x16010209 ? 6u : 21u);  // the lines: DefaultHostLines
            ExpectFont(l->font, row.font);
            break;
        }
        case LV: {
            EXPECT_EQ(VersionOf(r), 1u);
            auto v = ListViewData::Parse(d, n);
            ASSERT_TRUE(v);
            EXPECT_EQ(v->border, 1u);
            EXPECT_EQ(v->singleSelection, 1u);
            EXPECT_EQ(v->gridLines, 0u);
            EXPECT_EQ(v->fullRowSelect, 0u);
            EXPECT_TRUE(v->rows.empty());
            EXPECT_FALSE(HasImageList(v->headerImageList));
            EXPECT_FALSE(HasImageList(v->stateImageList));
            if (row.extra.hidden) {  // the address tables
                EXPECT_EQ(v->viewType, 3u);
                ASSERT_EQ(v->columns.size(), 1u);
                EXPECT_EQ(v->columns[0], (ListViewColumn{0, -1, 0, 50, "地址"}));
                EXPECT_FALSE(HasImageList(v->itemImageList));
            } else {  // the result lists: lamps, no columns
                EXPECT_EQ(v->viewType, 0u);
                EXPECT_TRUE(v->columns.empty());
                ASSERT_TRUE(HasImageList(v->itemImageList));
                LampList lamps{v->itemImageList};
                EXPECT_EQ(lamps.U16(4), 4u);
                EXPECT_EQ(lamps.U16(10), 16u);
                EXPECT_EQ(lamps.U16(12), 16u);
                EXPECT_EQ(lamps.U16(18), 0x21u);  // 32-bit colour with alpha, and a mask
            }
            break;
        }
        case Bar: {
            EXPECT_EQ(VersionOf(r), 1u);
            auto s = StatusBarData::Parse(d, n);
            ASSERT_TRUE(s);
            EXPECT_EQ(s->backgroundColour, 0x00ECECECu);
            EXPECT_TRUE(s->imageList.empty());
            ASSERT_EQ(s->parts.size(), 1u);
            EXPECT_EQ(s->parts[0].width, -1);
            ExpectFont(s->font, row.font);
            break;
        }
        case Page: {
            EXPECT_EQ(VersionOf(r), 7u);
            auto p = PageControlData::Parse(d, n);
            ASSERT_TRUE(p);
            ExpectFont(EncodeFont(p->tabFont), row.font);
            EXPECT_EQ(p->settingsA, (std::array<uint32_t, 4>{0, 1, 0, 0}));
            EXPECT_EQ(p->settingsB, (std::array<uint32_t, 4>{20, 0, 0, 0}));
            for (const auto& block : p->imageBlocks) EXPECT_TRUE(block.empty());
            EXPECT_EQ(p->colours, (std::array<uint32_t, 12>{0xFF000000, 0xFF000000, 0xFF000000, 0, 0, 0x000000FF, 0x00FF0000, 0,
                                                             0xFF000000, 0x00B4A791, 0xFF000000, 0}));
            EXPECT_EQ(p->settings34, (std::array<uint32_t, 4>{0, 0x00ECECEC, 0x00ECECEC, 0x00ECECEC}));
            TemplateCursor list(d, n);  // the page list block stores page-list version 3
            list.Skip(4 + 16 + 60);
            auto pageList = list.CountedBlock();
            ASSERT_GE(pageList.size(), 4u);
            EXPECT_EQ(pageList[0], 3);
            const char* captions[][2] = {{"盘货单", "收银员盘货单"}, {"网络监测", "网络监测"}, {"核算器", "充值核算器"}};
            const std::array<int32_t, 20> tabSettings = {-1, -1, -1, -1, 0, 0, 0, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 1, 0, 0};
            ASSERT_EQ(p->pages.size(), 3u);
            for (size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(p->pages[i].caption, captions[i][0]);
                EXPECT_EQ(p->pages[i].secondText, captions[i][1]);
                EXPECT_EQ(p->pages[i].tabSettings, tabSettings);
                EXPECT_EQ(p->pages[i].hidden, 0u);
                EXPECT_TRUE(p->pages[i].subEntries.empty());
            }
            break;
        }
        case Timer:
        case Group:
            EXPECT_TRUE(r.typeData.empty()) << "all properties at their defaults";
            break;
        default:
            ADD_FAILURE() << "no check for type " << row.type;
    }
}

TEST_F(MainWindowForm, EveryUnitMatchesItsRow) {
    ASSERT_EQ(kRows.size(), 117u);
    for (const Row& row : kRows) {
        std::ostringstream what;
        what << "unit 0x" << std::hex << row.id;
        SCOPED_TRACE(what.str());
        const UnitRecord* r = w->FindRecord(row.id);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->name, row.name);
        EXPECT_EQ(r->typeCode, row.type);
        const UnitRecord* parent = row.place.parent ? ByName(row.place.parent) : nullptr;
        EXPECT_EQ(r->parentId, parent ? parent->id : 0u);
        EXPECT_EQ(PageOf(r->id), row.place.page);
        EXPECT_EQ(r->left, row.rect.left);
        EXPECT_EQ(r->top, row.rect.top);
        EXPECT_EQ(r->width, row.rect.width);
        EXPECT_EQ(r->height, row.rect.height);

        const bool focusType = row.type == Edit || row.type == Btn || row.type == Combo || row.type == List || row.type == LV;
        EXPECT_EQ(r->visible(), !row.extra.hidden);
        EXPECT_EQ(r->disabled(), row.extra.disabled);
        EXPECT_EQ(r->tabStop(), focusType);
        EXPECT_EQ(r->stateFlags & ~7u, 0u);
        EXPECT_EQ(r->tabOrder, 0u);
        EXPECT_EQ(r->eventSourceId, 0u);
        EXPECT_EQ(r->comment, "");
        EXPECT_EQ(r->tag, "");
        EXPECT_EQ(r->cursorData, (std::vector<uint8_t>{0, 0, 0, 0}));

        std::map<int32_t, std::string> events, expected(row.events.begin(), row.events.end());
        for (const EventEntry& e : r->events) EXPECT_TRUE(events.emplace(e.number, HandlerName(e.handlerOffset)).second);
        EXPECT_EQ(events, expected);

        ExpectTypeData(row, *r);
    }
}

TEST_F(MainWindowForm, WindowRecordAndTable) {
    ASSERT_EQ(w->records.size(), 118u);
    EXPECT_EQ(w->attributeA, 11u);
    EXPECT_EQ(w->attributeB, 0x19010003u);
    std::set<uint32_t> ids, expected = {kWindowRecordId};
    for (const UnitRecord& r : w->records) ids.insert(r.id);
    for (const Row& row : kRows) expected.insert(row.id);
    EXPECT_EQ(ids, expected);

    const UnitRecord& self = w->records.at(0);
    EXPECT_EQ(self.id, kWindowRecordId);
    EXPECT_EQ(self.typeCode, kTypeWindow);
    EXPECT_EQ(self.name, "");
    EXPECT_EQ(self.parentId, 0u);
    EXPECT_EQ(self.left, 50);
    EXPECT_EQ(self.top, 50);
    EXPECT_EQ(self.width, 500);
    EXPECT_EQ(self.height, 550);
    EXPECT_TRUE(self.visible());
    ASSERT_EQ(self.events.size(), 1u);
    EXPECT_EQ(HandlerName(self.HandlerOffset(0)), "OnMainWindowCreated");
    EXPECT_EQ(VersionOf(self), 6u);
    auto wd = WindowData::Parse(self.typeData.data(), self.typeData.size());
    ASSERT_TRUE(wd);
    EXPECT_EQ(wd->caption, "\xDC\xF8\xB9\xF1");  // "茗柜"
    EXPECT_EQ(wd->borderStyle, 2u);
    EXPECT_EQ(wd->position, 1u);
    EXPECT_EQ(wd->controlBox, 1u);
    EXPECT_EQ(wd->maximiseBox, 0u);
    EXPECT_EQ(wd->minimiseBox, 0u);
    EXPECT_EQ(wd->movable, 1u);
    EXPECT_EQ(wd->showInTaskbar, 1u);
    EXPECT_EQ(wd->backgroundColour, 0x00ECECECu);
    EXPECT_EQ(wd->pictureSetting, 1u);
    EXPECT_EQ(wd->switch22, 1u);
    EXPECT_EQ(wd->className, "");

    // The key handler of 盘香烟4 stands at the event-code base itself.
    ASSERT_FALSE(Compiled().handlers.empty());
    EXPECT_EQ(Compiled().handlers[0], "AdvanceOnEnter");
    EXPECT_EQ(ByName("盘香烟4")->HandlerOffset(-9), 0u);
    // One table entry per handler, and every entry is used.
    std::set<std::string> used;
    for (const UnitRecord& r : w->records)
        for (const EventEntry& e : r.events) used.insert(HandlerName(e.handlerOffset));
    EXPECT_EQ(used.size(), Compiled().handlers.size());
    EXPECT_EQ(used.count("?"), 0u);
}

TEST_F(MainWindowForm, PagesAndGroupBoxesHoldTheirUnits) {
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 77u);
    EXPECT_EQ(pages[1].size(), 17u);
    EXPECT_EQ(pages[2].size(), 12u);
    for (const auto& page : pages)
        for (uint32_t id : page) {
            const UnitRecord* r = w->FindRecord(id);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->parentId, tabs->id) << std::hex << id;
        }
    auto names = [&](const UnitRecord* container) {
        std::vector<std::string> out;
        for (uint32_t id : container->children) out.push_back(w->FindRecord(id)->name);
        return out;
    };
    EXPECT_EQ(names(ByName("分组框1")),
              (std::vector<std::string>{"标签1", "饮料标签", "小吃标签", "香烟标签", "其它标签", "总额", "时间显示"}));
    EXPECT_EQ(names(ByName("疆内分组框")), std::vector<std::string>{"疆内超级列表框"});
    EXPECT_EQ(names(ByName("疆外分组框")), std::vector<std::string>{"疆外超级列表框"});
    // Every unit that names a container is listed by it, and only those.
    for (const UnitRecord& r : w->records) {
        if (r.parentId == 0) continue;
        const UnitRecord* p = w->FindRecord(r.parentId);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::count(p->children.begin(), p->children.end(), r.id), 1) << std::hex << r.id;
    }
    EXPECT_EQ(ByName("状态条1")->parentId, 0u);
    EXPECT_GE(ByName("状态条1")->top, tabs->top + tabs->height);  // below the page control
}

TEST_F(MainWindowForm, FocusGoesWhereTheLayoutSays) {
    // A page that is selected gives the focus to its first enabled unit (smallest tab
    // order, then child-list order) of a type that takes the focus; timers count here.
    const char* expected[] = {"其它钱数", "编辑框秒", "清除按钮"};
    for (size_t p = 0; p < 3; ++p) {
        const UnitRecord* best = nullptr;
        for (uint32_t id : pages[p]) {
            const UnitRecord* r = w->FindRecord(id);
            if (r->disabled() || NeverFocused(r->typeCode)) continue;
            if (!best || r->tabOrder < best->tabOrder) best = r;
        }
        ASSERT_NE(best, nullptr);
        EXPECT_EQ(best->name, expected[p]) << "page " << p + 1;
    }

    // The window, when it opens, walks its table from the last position down and takes
    // the unit with the smallest tab order among the shown, enabled tab stops of a type
    // that takes the focus (no timer); the first met wins a tie.
    auto openingFocus = [&](bool pageUnitsCount) {
        const UnitRecord* best = nullptr;
        for (size_t pos = w->records.size() - 1; pos >= 1; --pos) {
            const UnitRecord& r = w->records[pos];
            bool shown = pageUnitsCount ? r.visible() && r.typeCode != Timer : ShownAtOpen(r);
            if (!shown || r.disabled() || !r.tabStop() || NeverFocused(r.typeCode)) continue;
            if (!best || r.tabOrder < best->tabOrder) best = &r;
        }
        return best ? best->name : std::string("none");
    };
    EXPECT_EQ(openingFocus(false), "盘饮料1");
    // The same even if the units of the hidden pages were taken for shown.
    EXPECT_EQ(openingFocus(true), "盘饮料1");
}

TEST_F(MainWindowForm, NoCaptionOrFrameCoversAUnitThatTakesTheFocus) {
    // Units of one parent are stacked in table order, position 1 on top.
    auto overlap = [](const UnitRecord& a, const UnitRecord& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
    };
    int pairs = 0;
    for (size_t i = 1; i < w->records.size(); ++i) {
        for (size_t j = 1; j < w->records.size(); ++j) {
            const UnitRecord& a = w->records[i];  // takes the focus
            const UnitRecord& b = w->records[j];  // caption, label or frame
            if (!a.visible() || !b.visible() || a.parentId != b.parentId || PageOf(a.id) != PageOf(b.id)) continue;
            if (NeverFocused(a.typeCode) || a.typeCode == Timer || !NeverFocused(b.typeCode) || !overlap(a, b)) continue;
            ++pairs;
            EXPECT_LT(i, j) << a.name << " lies below " << b.name;
        }
    }
    EXPECT_GT(pairs, 5);  // 其它钱数 and 透明标签42, the three top-up boxes and their captions, ...
    EXPECT_LT(w->FindPosition(0x16010003), w->FindPosition(0x16010002));  // the status bar above the page control
}

// An IPv4 address in dotted form, or nothing.
std::optional<std::array<int, 4>> Ipv4(const std::string& text) {
    std::array<int, 4> a{};
    char dot[3];
    std::istringstream in(text);
    if (!(in >> a[0] >> dot[0] >> a[1] >> dot[1] >> a[2] >> dot[2] >> a[3]) || !in.eof()) return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (a[i] < 0 || a[i] > 255 || (i < 3 && dot[i] != '.')) return std::nullopt;
    return a;
}
bool IsPrivateOrLocal(const std::array<int, 4>& a) {
    return a[0] == 10 || a[0] == 127 || a[0] == 0 || (a[0] == 172 && a[1] >= 16 && a[1] <= 31) ||
           (a[0] == 192 && a[1] == 168) || (a[0] == 169 && a[1] == 254) || a[0] >= 224;
}

// Label and address of each item "label，address，".
std::vector<std::pair<std::string, std::string>> HostLines(const std::vector<std::string>& items) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& item : items) {
        size_t first = item.find(kSeparator);
        size_t second = first == std::string::npos ? first : item.find(kSeparator, first + kSeparator.size());
        EXPECT_NE(second, std::string::npos) << item;
        EXPECT_EQ(second + kSeparator.size(), item.size()) << "an item ends with its second separator";
        if (second == std::string::npos) continue;
        out.emplace_back(item.substr(0, first), item.substr(first + kSeparator.size(), second - first - kSeparator.size()));
    }
    return out;
}

TEST_F(MainWindowForm, DefaultHostLines) {
    auto items = [&](const char* name) {
        const UnitRecord* r = ByName(name);
        auto d = ListBoxData::Parse(r->typeData.data(), r->typeData.size());
        return d ? d->items : std::vector<std::string>{};
    };
    auto separatorBox = ByName("分割符编辑框");
    EXPECT_EQ(EditBoxData::Parse(separatorBox->typeData.data(), separatorBox->typeData.size())->content, "\xA3\xAC");

    auto inside = HostLines(items("列表框1"));
    ASSERT_EQ(inside.size(), kInsideLabels.size());
    std::vector<std::array<int, 4>> lan;
    for (size_t i = 0; i < inside.size(); ++i) {
        EXPECT_EQ(inside[i].first, kInsideLabels[i]);
        auto a = Ipv4(inside[i].second);
        ASSERT_TRUE(a) << inside[i].second;
        if (i < 5) lan.push_back(*a);
        else EXPECT_FALSE(IsPrivateOrLocal(*a)) << "the DNS server is a public address";
    }
    for (const auto& a : lan) {  // one private /24: the router at 1, four servers in a row near the top
        EXPECT_TRUE(IsPrivateOrLocal(a) && a[0] != 127);
        EXPECT_EQ((std::array<int, 3>{a[0], a[1], a[2]}), (std::array<int, 3>{lan[0][0], lan[0][1], lan[0][2]}));
    }
    EXPECT_EQ(lan[0][3], 1);
    EXPECT_GE(lan[1][3], 240);
    for (size_t i = 2; i < 5; ++i) EXPECT_EQ(lan[i][3], lan[1][3] + static_cast<int>(i) - 1);
    EXPECT_LE(lan[4][3], 254);

    auto outside = HostLines(items("列表框2"));
    ASSERT_EQ(outside.size(), kOutsideLabels.size());
    for (size_t i = 0; i < outside.size(); ++i) EXPECT_EQ(outside[i].first, kOutsideLabels[i]);
    EXPECT_NE(outside[0].second.find("baidu.com"), std::string::npos);
    EXPECT_NE(outside[1].second.find("qq.com"), std::string::npos);
    std::set<std::string> distinct;
    for (size_t i = 2; i < outside.size(); ++i) {
        auto a = Ipv4(outside[i].second);
        ASSERT_TRUE(a) << outside[i].second;
        EXPECT_FALSE(IsPrivateOrLocal(*a)) << outside[i].second;
        distinct.insert(outside[i].second);
    }
    EXPECT_EQ(distinct.size(), 19u);
}

TEST_F(MainWindowForm, LampsAreRoundAndInStatusOrder) {
    for (const char* name : {"疆内超级列表框", "疆外超级列表框"}) {
        const UnitRecord* r = ByName(name);
        auto v = ListViewData::Parse(r->typeData.data(), r->typeData.size());
        ASSERT_TRUE(v);
        LampList lamps{v->itemImageList};
        for (int k = 0; k < 4; ++k) {
            for (auto [x, y] : std::initializer_list<std::pair<int, int>>{{0, 0}, {15, 0}, {0, 15}, {15, 15}})
                EXPECT_EQ(lamps.Pixel(k, x, y)[3], 0) << "lamp " << k << ": corners are transparent";
            for (auto [x, y] : std::initializer_list<std::pair<int, int>>{{8, 8}, {8, 1}, {1, 8}, {8, 14}, {14, 8}})
                EXPECT_EQ(lamps.Pixel(k, x, y)[3], 255) << "lamp " << k << " at " << x << "," << y;
        }
        // The lit disc below the highlight: grey, green, yellow, red.
        auto c = [&](int k) { return lamps.Pixel(k, 9, 10); };
        EXPECT_LE(std::abs(c(0)[0] - c(0)[1]) + std::abs(c(0)[1] - c(0)[2]), 6);
        EXPECT_GT(c(1)[1], c(1)[0] + 60);
        EXPECT_GT(c(1)[1], c(1)[2] + 60);
        EXPECT_GT(c(2)[0], c(2)[2] + 60);
        EXPECT_GT(c(2)[1], c(2)[2] + 60);
        EXPECT_GT(c(3)[0], c(3)[1] + 60);
        EXPECT_GT(c(3)[0], c(3)[2] + 60);
    }
}

}  // namespace
