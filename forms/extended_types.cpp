// Type descriptions of the extended controls. Their operations come from the controls'
// interface lookups (forms/extended_types.h).
#include "forms/extended_types.h"

namespace {

using P = PropertyType;

const PropertyInfo kPageControlProperties[63] = {
    MG_COMMON_PROPERTIES,
    {"Style", P::kPick, 0},
    {"Switch9", P::kSwitch, 0},
    {"Font", P::kFont, 0},
    {"Pages", P::kCustomData, 0},
    {"Integer12", P::kInteger, 0},
    // 13 to 62: the strip's switches, choices, colours and image lists, as the control
    // defines them; integers until it does.
#define MG_SETTING(n) {"Setting" #n, P::kInteger, 0}
    MG_SETTING(13), MG_SETTING(14), MG_SETTING(15), MG_SETTING(16), MG_SETTING(17), MG_SETTING(18),
    MG_SETTING(19), MG_SETTING(20), MG_SETTING(21), MG_SETTING(22), MG_SETTING(23), MG_SETTING(24),
    MG_SETTING(25), MG_SETTING(26), MG_SETTING(27), MG_SETTING(28), MG_SETTING(29), MG_SETTING(30),
    MG_SETTING(31), MG_SETTING(32), MG_SETTING(33), MG_SETTING(34), MG_SETTING(35), MG_SETTING(36),
    MG_SETTING(37), MG_SETTING(38), MG_SETTING(39), MG_SETTING(40), MG_SETTING(41), MG_SETTING(42),
    MG_SETTING(43), MG_SETTING(44), MG_SETTING(45), MG_SETTING(46), MG_SETTING(47), MG_SETTING(48),
    MG_SETTING(49), MG_SETTING(50), MG_SETTING(51), MG_SETTING(52), MG_SETTING(53), MG_SETTING(54),
    MG_SETTING(55), MG_SETTING(56), MG_SETTING(57), MG_SETTING(58), MG_SETTING(59), MG_SETTING(60),
    MG_SETTING(61), MG_SETTING(62),
#undef MG_SETTING
};

const PropertyInfo kListViewProperties[39] = {
    MG_COMMON_PROPERTIES,
    {"Border", P::kPick, 0},
    {"TextColour", P::kColour, 0},
    {"TextBackgroundColour", P::kColour, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Font", P::kFont, 0},
    {"ViewType", P::kPick, 0},
    {"IconArrangement", P::kPick, 0},
    {"AutoArrange", P::kSwitch, 0},
    {"LabelWrap", P::kSwitch, 0},
    {"Columns", P::kCustomData, 0},
    {"NoColumnHeader", P::kSwitch, 0},
    {"HeaderImageList", P::kImageList, 0},
    {"ClickableHeader", P::kSwitch, 0},
    {"FullRowSelect", P::kSwitch, 0},
    {"GridLines", P::kSwitch, 0},
    {"HeaderDragDrop", P::kSwitch, 0},
    {"ItemImageList", P::kImageList, 0},
    {"StateImageList", P::kImageList, 0},
    {"HotTracking", P::kSwitch, 0},
    {"HandCursor", P::kSwitch, 0},
    {"UnderlineCold", P::kSwitch, 0},
    {"UnderlineHot", P::kSwitch, 0},
    {"EditableLabels", P::kSwitch, 0},
    {"SortOrder", P::kPick, 0},
    {"CheckBoxes", P::kSwitch, 0},
    {"FlatScrollBars", P::kSwitch, 0},
    {"SingleSelection", P::kSwitch, 0},
    {"CurrentSelection", P::kInteger, 0},
    {"AlwaysShowSelection", P::kSwitch, 0},
    {"Rows", P::kCustomData, 0},
    {"Text38", P::kText, kPropertyReadOnlyAtRunTime},
};

const PropertyInfo kTransLabelProperties[15] = {
    MG_COMMON_PROPERTIES,
    {"Caption", P::kText, 0},
    {"Effect", P::kPick, 0},
    {"Font", P::kFont, 0},
    {"TextColour", P::kColour, 0},
    {"HorizontalAlignment", P::kPick, 0},
    {"WordWrap", P::kSwitch, 0},
    {"VerticalAlignment", P::kPick, 0},
};

}  // namespace

const UnitTypeInfo kPageControlType = {
    "高级选择夹", "PageControl", kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus, 63, kPageControlProperties,
    &PageControlInterface,
};
const UnitTypeInfo kListViewType = {
    "超级列表框", "ListView", kTypeWindowUnit | kTypeRaisesEvents, 39, kListViewProperties, &ListViewInterface,
};
const UnitTypeInfo kTransLabelType = {
    "透明标签", "TransLabel", kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus, 15, kTransLabelProperties,
    &TransLabelInterface,
};
