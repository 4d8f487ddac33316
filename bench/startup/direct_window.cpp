// Start-up baseline: the toolbox's main window made directly, one CreateWindowExW call per
// unit from a table, with the form's classes, texts, items and fonts, pages 2 and 3
// hidden, the clock armed and the two result lists filled as the program shows them on a
// first start. The table comes from toolbox/main_window.toml (make_direct_table.py).
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

enum Kind {
    kButton,
    kComboBox,
    kEdit,
    kGroupBox,
    kLabel,
    kListBox,
    kPages,
    kStatusBar,
    kTimer,
    kTransLabel,
    kAddressList,  // hidden list view holding the hosts' addresses
    kResultList,   // the lamps, labels and times the monitor shows
};

constexpr int kOnWindow = -1;
constexpr unsigned kVisible = 1;
constexpr unsigned kDisabled = 2;
constexpr COLORREF kSystemColour = 0xFF000000;

struct FontRow {
    LONG height, width, escapement, orientation, weight;
    BYTE italic, underline, strikeOut;
    const wchar_t* face;
};

struct Items {
    const wchar_t* const* texts;
    int count;
};

struct UnitRow {
    Kind kind;
    int parent;  // row of the container, or kOnWindow
    int page;    // 0: on no page
    int x, y, w, h;
    unsigned flags;
    const wchar_t* text;
    int font;  // index into kFonts; -1 the default GUI font
    COLORREF colour;
    int align;  // 0 left, 1 centre, 2 right
    int extra;
    Items items;
};

// ---- table written by make_direct_table.py: do not edit by hand ----
const FontRow kFonts[] = {
    {-12, 0, 0, 0, 400, 0, 0, 0, L"楷体"},
    {-12, 0, 0, 0, 400, 0, 0, 0, L"SimSun"},
    {-32, 0, 0, 0, 0, 0, 0, 0, L""},
    {-32, 0, 0, 0, 700, 0, 0, 0, L"微软雅黑"},
    {-32, 0, 0, 0, 0, 0, 0, 0, L"楷体"},
    {-12, 0, 0, 0, 0, 0, 0, 0, L"微软雅黑"},
    {-21, 0, 0, 0, 700, 0, 0, 0, L""},
    {-21, 0, 0, 0, 700, 0, 0, 0, L"楷体"},
    {-19, 0, 0, 0, 700, 0, 0, 0, L"楷体"},
};

const wchar_t* const kItems19[] = {
    L"路由器，192.168.1.1，",
    L"游戏服务器A，192.168.1.250，",
    L"游戏服务器B，192.168.1.251，",
    L"电影服务器，192.168.1.252，",
    L"龙管家服务器，192.168.1.253，",
    L"新疆电信DNS，61.128.128.68，",
};
const wchar_t* const kItems20[] = {
    L"百度，www.baidu.com，",
    L"腾讯，www.qq.com，",
    L"艾欧尼亚，203.0.113.11，",
    L"祖安，203.0.113.12，",
    L"诺克萨斯，203.0.113.13，",
    L"班德尔城，203.0.113.14，",
    L"皮尔特沃夫，203.0.113.15，",
    L"战争学院，203.0.113.16，",
    L"巨神峰，203.0.113.17，",
    L"雷瑟守备，203.0.113.18，",
    L"裁决之地，203.0.113.19，",
    L"黑色玫瑰，203.0.113.20，",
    L"暗影岛，203.0.113.21，",
    L"钢铁烈阳，203.0.113.22，",
    L"水晶之痕，203.0.113.23，",
    L"均衡教派，203.0.113.24，",
    L"影流，203.0.113.25，",
    L"守望之海，203.0.113.26，",
    L"征服之海，203.0.113.27，",
    L"卡拉曼达，203.0.113.28，",
    L"皮城警备，203.0.113.29，",
};
const wchar_t* const kItems65[] = {
    L"收银一",
    L"收银二",
    L"收银三",
};

// kind, parent row, page, left, top, width, height, flags, text, font, text colour,
// alignment, extra (timer interval, edit limit or label effect), items
const UnitRow kUnits[] = {
    {kStatusBar, kOnWindow, 0, 0, 500, 500, 22, kVisible, L"", 0, kSystemColour, 0, 0, {}},  // 0 状态条1
    {kPages, kOnWindow, 0, 0, 0, 500, 500, kVisible, L"", 1, kSystemColour, 0, 0, {}},  // 1 茗柜
    {kButton, 1, 3, 60, 360, 160, 40, kVisible, L"清除数据", 2, kSystemColour, 0, 0, {}},  // 2 清除按钮
    {kEdit, 1, 3, 250, 110, 100, 40, kVisible, L"", 2, kSystemColour, 2, 0, {}},  // 3 编辑框1
    {kEdit, 1, 3, 250, 170, 100, 40, kVisible, L"", 2, kSystemColour, 2, 0, {}},  // 4 编辑框2
    {kEdit, 1, 3, 250, 230, 100, 40, kVisible, L"", 2, kSystemColour, 2, 0, {}},  // 5 编辑框3
    {kButton, 1, 3, 260, 360, 160, 40, kVisible, L"计算", 2, kSystemColour, 0, 0, {}},  // 6 计算按钮
    {kEdit, 1, 3, 250, 290, 100, 40, kVisible | kDisabled, L"", 2, 0x000000FF, 1, 0, {}},  // 7 编辑框4
    {kTransLabel, 1, 3, 0, 35, 500, 40, kVisible, L"充值赠送核算工具", 3, 0x000000FF, 1, 0, {}},  // 8 透明标签39
    {kTransLabel, 1, 3, 100, 110, 160, 40, kVisible, L"充值金额：", 4, 0x00FF0000, 0, 0, {}},  // 9 透明标签35
    {kTransLabel, 1, 3, 100, 170, 152, 40, kVisible, L"赠送金额：", 4, 0x00FF0000, 0, 0, {}},  // 10 透明标签36
    {kTransLabel, 1, 3, 100, 230, 160, 40, kVisible, L"费率：", 4, 0x00FF0000, 2, 0, {}},  // 11 透明标签37
    {kTransLabel, 1, 3, 100, 290, 160, 40, kVisible, L"核算结果：", 4, 0x000000FF, 2, 0, {}},  // 12 透明标签38
    {kTimer, 1, 3, 444, 440, 24, 24, 0, L"", -1, kSystemColour, 0, 1000, {}},  // 13 时钟1
    {kEdit, 1, 2, 227, 103, 36, 24, kVisible, L"6", -1, 0x000000FF, 1, 3, {}},  // 14 编辑框秒
    {kButton, 1, 2, 216, 152, 60, 30, kVisible, L"开始", 5, kSystemColour, 0, 0, {}},  // 15 开始
    {kButton, 1, 2, 216, 224, 60, 30, kVisible, L"停止", 5, kSystemColour, 0, 0, {}},  // 16 停止
    {kButton, 1, 2, 30, 60, 168, 18, kVisible, L"点击修改配置文件", -1, kSystemColour, 0, 0, {}},  // 17 内网配置文件
    {kButton, 1, 2, 302, 60, 168, 18, kVisible, L"点击修改配置文件", -1, kSystemColour, 0, 0, {}},  // 18 外网配置文件
    {kListBox, 1, 2, 320, 344, 104, 40, 0, L"", -1, kSystemColour, 0, 0, {kItems19, 6}},  // 19 列表框1
    {kListBox, 1, 2, 328, 392, 88, 40, 0, L"", -1, kSystemColour, 0, 0, {kItems20, 21}},  // 20 列表框2
    {kAddressList, 1, 2, 312, 304, 56, 40, 0, L"", -1, kSystemColour, 0, 0, {}},  // 21 超级列表框1
    {kAddressList, 1, 2, 368, 304, 56, 40, 0, L"", -1, kSystemColour, 0, 0, {}},  // 22 超级列表框2
    {kEdit, 1, 2, 424, 352, 40, 20, 0, L"，", -1, kSystemColour, 0, 0, {}},  // 23 分割符编辑框
    {kTimer, 1, 2, 416, 384, 40, 40, 0, L"", -1, kSystemColour, 0, 0, {}},  // 24 时钟2
    {kTransLabel, 1, 2, 30, 30, 168, 32, kVisible, L"疆内网络监测", 6, 0x00FF0000, 1, 0, {}},  // 25 透明标签43
    {kTransLabel, 1, 2, 302, 30, 168, 32, kVisible, L"疆外网络监测", 6, 0x00FF0000, 1, 0, {}},  // 26 透明标签30
    {kTransLabel, 1, 2, 212, 78, 80, 24, kVisible, L"监测间隔时间", -1, kSystemColour, 0, 2, {}},  // 27 透明标签33
    {kTransLabel, 1, 2, 265, 102, 16, 24, kVisible, L"秒", -1, kSystemColour, 0, 0, {}},  // 28 透明标签44
    {kGroupBox, 1, 2, 30, 85, 168, 200, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 29 疆内分组框
    {kResultList, 29, 0, 24, 48, 104, 104, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 30 疆内超级列表框
    {kGroupBox, 1, 2, 302, 85, 168, 200, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 31 疆外分组框
    {kResultList, 31, 0, 48, 88, 88, 88, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 32 疆外超级列表框
    {kEdit, 1, 1, 78, 110, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 33 盘饮料2
    {kEdit, 1, 1, 78, 140, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 34 盘饮料3
    {kEdit, 1, 1, 78, 170, 40, 20, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 35 盘饮料4
    {kEdit, 1, 1, 78, 203, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 36 盘饮料5
    {kEdit, 1, 1, 78, 230, 40, 20, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 37 盘饮料6
    {kEdit, 1, 1, 78, 259, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 38 盘饮料7
    {kEdit, 1, 1, 78, 289, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 39 盘饮料8
    {kEdit, 1, 1, 78, 319, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 40 盘饮料9
    {kEdit, 1, 1, 78, 349, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 41 盘饮料10
    {kEdit, 1, 1, 78, 379, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 42 盘饮料11
    {kEdit, 1, 1, 78, 409, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 43 盘饮料12
    {kEdit, 1, 1, 78, 439, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 44 盘饮料13
    {kEdit, 1, 1, 78, 469, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 45 盘饮料14
    {kEdit, 1, 1, 230, 80, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 46 盘小吃1
    {kEdit, 1, 1, 230, 110, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 47 盘小吃2
    {kEdit, 1, 1, 230, 140, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 48 盘小吃3
    {kEdit, 1, 1, 230, 170, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 49 盘小吃4
    {kEdit, 1, 1, 230, 200, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 50 盘小吃5
    {kEdit, 1, 1, 230, 230, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 51 盘小吃6
    {kEdit, 1, 1, 230, 260, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 52 盘小吃7
    {kEdit, 1, 1, 230, 290, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 53 盘小吃8
    {kEdit, 1, 1, 230, 320, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 54 盘小吃9
    {kEdit, 1, 1, 230, 350, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 55 盘小吃10
    {kEdit, 1, 1, 230, 380, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 56 盘小吃11
    {kEdit, 1, 1, 230, 410, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 57 盘小吃12
    {kEdit, 1, 1, 230, 440, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 58 盘小吃13
    {kEdit, 1, 1, 230, 470, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 59 盘小吃14
    {kEdit, 1, 1, 375, 80, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 60 盘香烟1
    {kEdit, 1, 1, 375, 110, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 61 盘香烟2
    {kEdit, 1, 1, 375, 140, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 62 盘香烟3
    {kEdit, 1, 1, 375, 170, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 63 盘香烟4
    {kEdit, 1, 1, 375, 198, 80, 20, kVisible, L"此处填写钱数", -1, kSystemColour, 1, 0, {}},  // 64 其它钱数
    {kComboBox, 1, 1, 375, 222, 72, 20, kVisible, L"", -1, kSystemColour, 0, 0, {kItems65, 3}},  // 65 收银员组合框
    {kButton, 1, 1, 298, 430, 60, 24, kVisible, L"计算", -1, kSystemColour, 0, 0, {}},  // 66 计算
    {kButton, 1, 1, 368, 430, 70, 24, kVisible, L"导出文件", -1, kSystemColour, 0, 0, {}},  // 67 导出
    {kButton, 1, 1, 298, 460, 60, 24, kVisible, L"清除", -1, kSystemColour, 0, 0, {}},  // 68 盘清除
    {kButton, 1, 1, 368, 460, 70, 24, kVisible, L"打开目录", -1, kSystemColour, 0, 0, {}},  // 69 打开
    {kEdit, 1, 1, 78, 80, 40, 20, kVisible, L"", -1, kSystemColour, 2, 0, {}},  // 70 盘饮料1
    {kTransLabel, 1, 1, 132, 16, 500, 40, kVisible, L"收 银 员 盘 货 单", 7, 0x00FF0000, 0, 0, {}},  // 71 透明标签29
    {kTransLabel, 1, 1, 15, 50, 129, 20, kVisible, L"饮料数量盘点", 8, 0x000000FF, 0, 0, {}},  // 72 饮料数量盘点
    {kTransLabel, 1, 1, 160, 50, 127, 20, kVisible, L"小吃数量盘点", 8, 0x000000FF, 0, 0, {}},  // 73 小吃数量盘点
    {kTransLabel, 1, 1, 310, 50, 127, 24, kVisible, L"香烟数量盘点", 8, 0x000000FF, 0, 0, {}},  // 74 香烟数量盘点
    {kTransLabel, 1, 1, 8, 80, 65, 20, kVisible, L"1元饮料：", -1, kSystemColour, 2, 0, {}},  // 75 透明标签1
    {kTransLabel, 1, 1, 8, 110, 65, 20, kVisible, L"1.5元饮料：", -1, kSystemColour, 2, 0, {}},  // 76 透明标签2
    {kTransLabel, 1, 1, 8, 140, 65, 20, kVisible, L"2元饮料：", -1, kSystemColour, 2, 0, {}},  // 77 透明标签3
    {kTransLabel, 1, 1, 8, 170, 65, 20, kVisible, L"2.5元饮料", -1, kSystemColour, 2, 0, {}},  // 78 透明标签40
    {kTransLabel, 1, 1, 8, 203, 65, 20, kVisible, L"3元饮料：", -1, kSystemColour, 2, 0, {}},  // 79 透明标签4
    {kTransLabel, 1, 1, 8, 230, 65, 20, kVisible, L"3.5元饮料", -1, kSystemColour, 2, 0, {}},  // 80 透明标签41
    {kTransLabel, 1, 1, 8, 259, 65, 20, kVisible, L"4元饮料：", -1, kSystemColour, 2, 0, {}},  // 81 透明标签5
    {kTransLabel, 1, 1, 8, 289, 65, 20, kVisible, L"5元饮料：", -1, kSystemColour, 2, 0, {}},  // 82 透明标签6
    {kTransLabel, 1, 1, 8, 319, 65, 20, kVisible, L"6元饮料：", -1, kSystemColour, 2, 0, {}},  // 83 透明标签7
    {kTransLabel, 1, 1, 8, 349, 65, 20, kVisible, L"7元饮料：", -1, kSystemColour, 2, 0, {}},  // 84 透明标签8
    {kTransLabel, 1, 1, 8, 379, 65, 20, kVisible, L"8元饮料：", -1, kSystemColour, 2, 0, {}},  // 85 透明标签9
    {kTransLabel, 1, 1, 8, 409, 65, 20, kVisible, L"10元饮料：", -1, kSystemColour, 2, 0, {}},  // 86 透明标签10
    {kTransLabel, 1, 1, 8, 439, 65, 20, kVisible, L"12元饮料：", -1, kSystemColour, 2, 0, {}},  // 87 透明标签11
    {kTransLabel, 1, 1, 8, 469, 65, 20, kVisible, L"15元饮料：", -1, kSystemColour, 2, 0, {}},  // 88 透明标签12
    {kTransLabel, 1, 1, 160, 80, 70, 25, kVisible, L"0.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 89 透明标签13
    {kTransLabel, 1, 1, 160, 110, 70, 25, kVisible, L"1元小吃：", -1, kSystemColour, 2, 0, {}},  // 90 透明标签14
    {kTransLabel, 1, 1, 160, 140, 70, 25, kVisible, L"1.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 91 透明标签15
    {kTransLabel, 1, 1, 160, 170, 70, 25, kVisible, L"2元小吃：", -1, kSystemColour, 2, 0, {}},  // 92 透明标签16
    {kTransLabel, 1, 1, 160, 200, 70, 25, kVisible, L"2.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 93 透明标签17
    {kTransLabel, 1, 1, 160, 230, 70, 25, kVisible, L"3元小吃：", -1, kSystemColour, 2, 0, {}},  // 94 透明标签18
    {kTransLabel, 1, 1, 160, 260, 70, 25, kVisible, L"3.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 95 透明标签19
    {kTransLabel, 1, 1, 160, 290, 70, 25, kVisible, L"4元小吃：", -1, kSystemColour, 2, 0, {}},  // 96 透明标签20
    {kTransLabel, 1, 1, 160, 320, 70, 25, kVisible, L"4.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 97 透明标签21
    {kTransLabel, 1, 1, 160, 350, 70, 25, kVisible, L"5元小吃：", -1, kSystemColour, 2, 0, {}},  // 98 透明标签22
    {kTransLabel, 1, 1, 160, 380, 70, 25, kVisible, L"5.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 99 透明标签23
    {kTransLabel, 1, 1, 160, 410, 70, 25, kVisible, L"6元小吃：", -1, kSystemColour, 2, 0, {}},  // 100 透明标签24
    {kTransLabel, 1, 1, 160, 440, 70, 25, kVisible, L"6.5元小吃：", -1, kSystemColour, 2, 0, {}},  // 101 透明标签31
    {kTransLabel, 1, 1, 160, 470, 70, 25, kVisible, L"7元小吃：", -1, kSystemColour, 2, 0, {}},  // 102 透明标签32
    {kTransLabel, 1, 1, 310, 80, 65, 20, kVisible, L"11元香烟：", -1, kSystemColour, 2, 0, {}},  // 103 透明标签25
    {kTransLabel, 1, 1, 310, 110, 65, 20, kVisible, L"14元香烟：", -1, kSystemColour, 2, 0, {}},  // 104 透明标签26
    {kTransLabel, 1, 1, 310, 140, 65, 20, kVisible, L"23元香烟：", -1, kSystemColour, 2, 0, {}},  // 105 透明标签27
    {kTransLabel, 1, 1, 310, 170, 65, 20, kVisible, L"25元香烟：", -1, kSystemColour, 2, 0, {}},  // 106 透明标签28
    {kTransLabel, 1, 1, 315, 198, 65, 16, kVisible, L"其它钱数：", -1, kSystemColour, 0, 0, {}},  // 107 透明标签42
    {kTransLabel, 1, 1, 293, 223, 80, 16, kVisible, L"请选择收银员：", -1, kSystemColour, 0, 0, {}},  // 108 透明标签34
    {kGroupBox, 1, 1, 292, 245, 160, 180, kVisible, L"", -1, kSystemColour, 0, 0, {}},  // 109 分组框1
    {kLabel, 109, 0, 4, 0, 150, 30, kVisible, L"盘货信息统计", -1, kSystemColour, 0, 0, {}},  // 110 标签1
    {kTransLabel, 109, 0, 5, 30, 150, 20, kVisible, L"", -1, 0x00FF0000, 0, 0, {}},  // 111 饮料标签
    {kTransLabel, 109, 0, 5, 55, 150, 25, kVisible, L"", -1, 0x00FF0000, 0, 0, {}},  // 112 小吃标签
    {kTransLabel, 109, 0, 5, 80, 150, 25, kVisible, L"", -1, 0x00FF0000, 0, 0, {}},  // 113 香烟标签
    {kTransLabel, 109, 0, 5, 105, 150, 25, kVisible, L"", -1, 0x00FF0000, 0, 0, {}},  // 114 其它标签
    {kTransLabel, 109, 0, 5, 130, 150, 25, kVisible, L"", -1, 0x00FF0000, 0, 0, {}},  // 115 总额
    {kTransLabel, 109, 0, 5, 160, 155, 16, kVisible, L"", -1, 0x008050FF, 1, 0, {}},  // 116 时间显示
};

// Rows by unit name.
namespace row {
enum : int {
    状态条1 = 0,
    茗柜 = 1,
    清除按钮 = 2,
    编辑框1 = 3,
    编辑框2 = 4,
    编辑框3 = 5,
    计算按钮 = 6,
    编辑框4 = 7,
    透明标签39 = 8,
    透明标签35 = 9,
    透明标签36 = 10,
    透明标签37 = 11,
    透明标签38 = 12,
    时钟1 = 13,
    编辑框秒 = 14,
    开始 = 15,
    停止 = 16,
    内网配置文件 = 17,
    外网配置文件 = 18,
    列表框1 = 19,
    列表框2 = 20,
    超级列表框1 = 21,
    超级列表框2 = 22,
    分割符编辑框 = 23,
    时钟2 = 24,
    透明标签43 = 25,
    透明标签30 = 26,
    透明标签33 = 27,
    透明标签44 = 28,
    疆内分组框 = 29,
    疆内超级列表框 = 30,
    疆外分组框 = 31,
    疆外超级列表框 = 32,
    盘饮料2 = 33,
    盘饮料3 = 34,
    盘饮料4 = 35,
    盘饮料5 = 36,
    盘饮料6 = 37,
    盘饮料7 = 38,
    盘饮料8 = 39,
    盘饮料9 = 40,
    盘饮料10 = 41,
    盘饮料11 = 42,
    盘饮料12 = 43,
    盘饮料13 = 44,
    盘饮料14 = 45,
    盘小吃1 = 46,
    盘小吃2 = 47,
    盘小吃3 = 48,
    盘小吃4 = 49,
    盘小吃5 = 50,
    盘小吃6 = 51,
    盘小吃7 = 52,
    盘小吃8 = 53,
    盘小吃9 = 54,
    盘小吃10 = 55,
    盘小吃11 = 56,
    盘小吃12 = 57,
    盘小吃13 = 58,
    盘小吃14 = 59,
    盘香烟1 = 60,
    盘香烟2 = 61,
    盘香烟3 = 62,
    盘香烟4 = 63,
    其它钱数 = 64,
    收银员组合框 = 65,
    计算 = 66,
    导出 = 67,
    盘清除 = 68,
    打开 = 69,
    盘饮料1 = 70,
    透明标签29 = 71,
    饮料数量盘点 = 72,
    小吃数量盘点 = 73,
    香烟数量盘点 = 74,
    透明标签1 = 75,
    透明标签2 = 76,
    透明标签3 = 77,
    透明标签40 = 78,
    透明标签4 = 79,
    透明标签41 = 80,
    透明标签5 = 81,
    透明标签6 = 82,
    透明标签7 = 83,
    透明标签8 = 84,
    透明标签9 = 85,
    透明标签10 = 86,
    透明标签11 = 87,
    透明标签12 = 88,
    透明标签13 = 89,
    透明标签14 = 90,
    透明标签15 = 91,
    透明标签16 = 92,
    透明标签17 = 93,
    透明标签18 = 94,
    透明标签19 = 95,
    透明标签20 = 96,
    透明标签21 = 97,
    透明标签22 = 98,
    透明标签23 = 99,
    透明标签24 = 100,
    透明标签31 = 101,
    透明标签32 = 102,
    透明标签25 = 103,
    透明标签26 = 104,
    透明标签27 = 105,
    透明标签28 = 106,
    透明标签42 = 107,
    透明标签34 = 108,
    分组框1 = 109,
    标签1 = 110,
    饮料标签 = 111,
    小吃标签 = 112,
    香烟标签 = 113,
    其它标签 = 114,
    总额 = 115,
    时间显示 = 116,
};
}  // namespace row
// ---- end of the written table ----

constexpr int kUnitCount = static_cast<int>(sizeof kUnits / sizeof kUnits[0]);
constexpr int kFontCount = static_cast<int>(sizeof kFonts / sizeof kFonts[0]);
static_assert(kUnitCount == 117, "the main window has 117 units");

constexpr COLORREF kBackground = RGB(0xEC, 0xEC, 0xEC);
// Control ids are kFirstId + row: above the ids a combo box gives its own edit and list.
constexpr int kFirstId = 2000;
constexpr int kHostRowHeight = 18;
constexpr int kResultListWidth = 18 + 110 + 40;
const wchar_t kWindowClass[] = L"BenchDirectWindow";
const wchar_t kTransLabelClass[] = L"BenchTransLabel";
const wchar_t kSeparator[] = L"，";

HWND g_window;
HWND g_units[kUnitCount];
HFONT g_fonts[kFontCount];
HBRUSH g_background;

int RowOf(HWND control) {
    int row = GetDlgCtrlID(control) - kFirstId;
    return row >= 0 && row < kUnitCount && g_units[row] == control ? row : -1;
}

COLORREF TextColour(int row) {
    COLORREF c = row >= 0 ? kUnits[row].colour : kSystemColour;
    return c == kSystemColour ? GetSysColor(COLOR_WINDOWTEXT) : c;
}

// The form's colours for the units of any container: edit fields white, the rest on the
// window's background.
LRESULT ChildColours(UINT message, HDC dc, HWND child) {
    SetTextColor(dc, TextColour(RowOf(child)));
    if (message == WM_CTLCOLOREDIT) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetBkColor(dc, kBackground);
    return reinterpret_cast<LRESULT>(g_background);
}

// The page control and the group boxes hold units: they answer their colour questions and
// paint the window's background beneath them.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return ChildColours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, g_background);
            return 1;
        }
        default:
            return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

// Transparent labels: the text alone, drawn over whatever the parent painted beneath.
void PaintTransLabel(HWND hwnd, HDC dc) {
    int row = RowOf(hwnd);
    int length = GetWindowTextLengthW(hwnd);
    if (row < 0 || length <= 0) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hwnd, text.data(), length + 1);
    const UnitRow& u = kUnits[row];
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    UINT format = DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;
    if (u.align == 1) format |= DT_CENTER;
    if (u.align == 2) format |= DT_RIGHT;
    SetBkMode(dc, TRANSPARENT);
    RECT rect;
    GetClientRect(hwnd, &rect);
    auto draw = [&](COLORREF colour, RECT r) {
        SetTextColor(dc, colour);
        DrawTextW(dc, text.c_str(), length, &r, format);
    };
    switch (u.extra) {  // the effect
        case 1:  // raised
            draw(RGB(255, 255, 255), {rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1});
            break;
        case 2:  // sunken
            draw(RGB(255, 255, 255), rect);
            OffsetRect(&rect, 1, 1);
            break;
        case 3:  // shadowed
            draw(RGB(0, 0, 0), {rect.left + 2, rect.top + 2, rect.right + 2, rect.bottom + 2});
            break;
        default:
            break;
    }
    draw(TextColour(row), rect);
    SelectObject(dc, previous);
}

LRESULT CALLBACK TransLabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            PaintTransLabel(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFONT:
            SetWindowLongPtrW(hwnd, 0, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(hwnd, 0);
        case WM_SETTEXT: {
            // The old text stays on what lies beneath until that is painted again.
            LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
            RECT area;
            GetWindowRect(hwnd, &area);
            HWND parent = GetParent(hwnd);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
            InvalidateRect(parent, &area, TRUE);
            InvalidateRect(hwnd, nullptr, FALSE);
            return r;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The clock of the inventory sheet, as TickClock shows it.
void ShowClock() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t text[64];
    swprintf(text, sizeof text / sizeof text[0], L"%u年%u月%u日%u时%u分%u秒", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    SetWindowTextW(g_units[row::时间显示], text);
}

// A page shows its own units and hides the others'; units inside group boxes go with them.
void ShowPage(int page) {
    for (int row = 0; row < kUnitCount; ++row) {
        const UnitRow& u = kUnits[row];
        if (u.page == 0 || !g_units[row]) continue;
        ShowWindow(g_units[row], u.page == page && (u.flags & kVisible) ? SW_SHOWNA : SW_HIDE);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY: {
            auto* n = reinterpret_cast<const NMHDR*>(lParam);
            if (n->hwndFrom == g_units[row::茗柜] && n->code == TCN_SELCHANGE)
                ShowPage(static_cast<int>(SendMessageW(n->hwndFrom, TCM_GETCURSEL, 0, 0)) + 1);
            return 0;
        }
        case WM_TIMER:
            if (wParam == static_cast<WPARAM>(kFirstId + row::时钟1)) ShowClock();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return ChildColours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HFONT CreateFormFont(const FontRow& f) {
    LOGFONTW lf = {};
    lf.lfHeight = f.height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    // As the program creates unit fonts: whatever character set the form stores.
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    wcsncpy(lf.lfFaceName, f.face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

// The four monitor lamps (grey, green, yellow, red): a lit disc in a grey ring.
HIMAGELIST CreateLamps() {
    constexpr COLORREF kMask = RGB(255, 0, 255);
    static const COLORREF kLit[4] = {RGB(175, 175, 175), RGB(50, 190, 60), RGB(240, 200, 40), RGB(215, 45, 40)};
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (COLORREF lit : kLit) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        RECT all = {0, 0, 16, 16};
        HBRUSH mask = CreateSolidBrush(kMask);
        FillRect(dc, &all, mask);
        DeleteObject(mask);
        HPEN edge = CreatePen(PS_SOLID, 1, RGB(80, 80, 80));
        HBRUSH ring = CreateSolidBrush(RGB(150, 150, 150));
        HGDIOBJ oldPen = SelectObject(dc, edge);
        HGDIOBJ oldBrush = SelectObject(dc, ring);
        Ellipse(dc, 1, 1, 15, 15);
        HBRUSH disc = CreateSolidBrush(lit);
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, disc);
        Ellipse(dc, 3, 3, 14, 14);
        HBRUSH shine = CreateSolidBrush(RGB(245, 245, 245));
        SelectObject(dc, shine);
        Ellipse(dc, 5, 5, 9, 9);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(shine);
        DeleteObject(disc);
        DeleteObject(ring);
        DeleteObject(edge);
        SelectObject(dc, oldBitmap);
        ImageList_AddMasked(list, bitmap, kMask);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}

void AddColumn(HWND list, int index, const wchar_t* title, int width, int format) {
    LVCOLUMNW c = {};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    c.fmt = format;
    c.cx = width;
    c.pszText = const_cast<wchar_t*>(title);
    c.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

HWND CreateUnit(int row) {
    const UnitRow& u = kUnits[row];
    // A page's units show with their page; the first page is the one selected.
    bool visible = (u.flags & kVisible) && (u.page == 0 || u.page == 1);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) | ((u.flags & kDisabled) ? WS_DISABLED : 0);
    DWORD ex = 0;
    const wchar_t* cls = nullptr;
    int x = u.x, y = u.y, w = u.w, h = u.h;
    switch (u.kind) {
        case kButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER;
            break;
        case kComboBox:
            cls = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWN;
            h += 160;  // room for the dropped list: the form's height is the field's
            break;
        case kEdit:
            cls = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | (u.align == 1 ? ES_CENTER : u.align == 2 ? ES_RIGHT : ES_LEFT);
            ex = WS_EX_CLIENTEDGE;
            break;
        case kGroupBox:
            cls = L"BUTTON";
            style |= BS_GROUPBOX;
            ex = WS_EX_CONTROLPARENT;
            break;
        case kLabel:
            cls = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case kListBox:
            cls = L"LISTBOX";
            style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            ex = WS_EX_CLIENTEDGE;
            break;
        case kPages:
            cls = WC_TABCONTROLW;
            style |= WS_CLIPCHILDREN;
            ex = WS_EX_CONTROLPARENT;
            break;
        case kStatusBar:
            cls = STATUSCLASSNAMEW;
            style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
            break;
        case kTimer:
            // A timer is no window here: only the clock runs from the start.
            if (u.extra > 0) SetTimer(g_window, static_cast<UINT_PTR>(kFirstId + row), static_cast<UINT>(u.extra), nullptr);
            return nullptr;
        case kTransLabel:
            cls = kTransLabelClass;
            ex = WS_EX_TRANSPARENT;
            break;
        case kAddressList:
        case kResultList:
            cls = WC_LISTVIEWW;
            style |= WS_CLIPCHILDREN | LVS_REPORT | LVS_SINGLESEL;
            ex = WS_EX_CLIENTEDGE;
            if (u.kind == kResultList) {
                // As the start-up code sets them: from the group box's top left, as large
                // as the window's client area, the group box clipping it to its rows.
                RECT client;
                GetClientRect(g_window, &client);
                x = 0;
                y = 0;
                w = client.right;
                h = client.bottom;
            }
            break;
    }
    HWND parent = u.parent == kOnWindow ? g_window : g_units[u.parent];
    HWND hwnd = CreateWindowExW(ex, cls, u.text, style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + row)), GetModuleHandleW(nullptr),
                                nullptr);
    if (!hwnd) return nullptr;
    HGDIOBJ font = u.font >= 0 ? g_fonts[u.font] : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    switch (u.kind) {
        case kComboBox:
            for (int i = 0; i < u.items.count; ++i)
                SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u.items.texts[i]));
            break;
        case kListBox:
            for (int i = 0; i < u.items.count; ++i)
                SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u.items.texts[i]));
            break;
        case kEdit:
            if (u.extra > 0) SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(u.extra), 0);
            break;
        case kGroupBox:
            SetWindowSubclass(hwnd, ContainerProc, 0, 0);
            break;
        case kPages: {
            SetWindowSubclass(hwnd, ContainerProc, 0, 0);
            // The themed pane is white; the program's pages have the window's background.
            SetWindowTheme(hwnd, L" ", L" ");
            static const wchar_t* const kCaptions[] = {L"盘货单", L"网络监测", L"核算器"};
            for (int i = 0; i < 3; ++i) {
                TCITEMW item = {};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<wchar_t*>(kCaptions[i]);
                SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            }
            break;
        }
        case kStatusBar: {
            int widths[1] = {-1};  // one section over the whole bar
            SendMessageW(hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(widths));
            SendMessageW(hwnd, SB_SETBKCOLOR, 0, static_cast<LPARAM>(kBackground));
            break;
        }
        case kAddressList:
            SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP);
            AddColumn(hwnd, 0, L"地址", 50, LVCFMT_LEFT);
            break;
        case kResultList:
            SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT);
            // Each list owns its lamps, as each unit does its own image list.
            SendMessageW(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(CreateLamps()));
            AddColumn(hwnd, 0, L" ", 18, LVCFMT_CENTER);
            AddColumn(hwnd, 1, L"服务器", 110, LVCFMT_CENTER);
            AddColumn(hwnd, 2, L"延时", 40, LVCFMT_CENTER);
            break;
        default:
            break;
    }
    return hwnd;
}

// The fields of a host list as the program reads them from its file: the default lines
// each ended by CR LF, split at the separator. Every label but the first therefore starts
// with the line break before it, as the program shows it.
std::vector<std::wstring> HostFields(int listRow) {
    std::wstring content;
    const Items& items = kUnits[listRow].items;
    for (int i = 0; i < items.count; ++i) content += std::wstring(items.texts[i]) + L"\r\n";
    std::vector<std::wstring> fields;
    const std::wstring separator = kSeparator;
    size_t start = 0;
    for (size_t at; (at = content.find(separator, start)) != std::wstring::npos; start = at + separator.size())
        fields.push_back(content.substr(start, at - start));
    fields.push_back(content.substr(start));
    return fields;
}

void SetCell(HWND list, int item, int column, const wchar_t* text) {
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text);
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

int AppendRow(HWND list) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(L"");
    return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

// One host list: its group box sized to the rows (the inside frame 12 pixels taller),
// then one grey-lamp row per host and its address in the hidden list.
void ShowHostList(int listBox, int group, int results, int addresses, int extraHeight) {
    std::vector<std::wstring> fields = HostFields(listBox);
    int hosts = static_cast<int>(fields.size() / 2);
    SetWindowPos(g_units[group], nullptr, 0, 0, kResultListWidth, hosts * kHostRowHeight + extraHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = g_units[results];
    for (int host = 0; host < hosts; ++host) {
        int item = AppendRow(list);
        int addressItem = AppendRow(g_units[addresses]);
        SetCell(list, item, 1, fields[2 * static_cast<size_t>(host)].c_str());
        SetCell(list, item, 2, L"...");
        LVITEMW lamp = {};
        lamp.mask = LVIF_IMAGE;
        lamp.iItem = item;
        lamp.iImage = 0;
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lamp));
        SetCell(g_units[addresses], addressItem, 0, fields[2 * static_cast<size_t>(host) + 1].c_str());
    }
}

bool RegisterClasses(HINSTANCE instance) {
    g_background = CreateSolidBrush(kBackground);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = g_background;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) return false;
    WNDCLASSEXW label = {};
    label.cbSize = sizeof label;
    label.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    label.lpfnWndProc = TransLabelProc;
    label.cbWndExtra = sizeof(HFONT);
    label.hInstance = instance;
    label.hCursor = wc.hCursor;
    label.lpszClassName = kTransLabelClass;
    return RegisterClassExW(&label) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterClasses(instance)) return 1;
    for (int i = 0; i < kFontCount; ++i) g_fonts[i] = CreateFormFont(kFonts[i]);

    constexpr int kWidth = 500, kHeight = 550;
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    g_window = CreateWindowExW(0, kWindowClass, L"茗柜", WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU, x, y, kWidth,
                               kHeight, nullptr, nullptr, instance, nullptr);
    if (!g_window) return 1;
    SendMessageW(g_window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (int row = 0; row < kUnitCount; ++row) g_units[row] = CreateUnit(row);

    ShowWindow(g_window, show);
    UpdateWindow(g_window);
    SetFocus(g_units[row::盘饮料1]);
    // The program fills the result lists from a worker thread once the window shows; here
    // the window thread does it at the same point.
    ShowHostList(row::列表框1, row::疆内分组框, row::疆内超级列表框, row::超级列表框1, 12);
    ShowHostList(row::列表框2, row::疆外分组框, row::疆外超级列表框, row::超级列表框2, 0);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HFONT f : g_fonts) DeleteObject(f);
    return static_cast<int>(msg.wParam);
}
