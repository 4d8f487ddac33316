// The stock-count sheet: clearing the counts, the cashier heading, the valuation at fixed
// prices and the clock line of the summary panel.
#include <span>

#include "runtime/value_ops.h"
#include "toolbox/event_handlers.h"
#include "toolbox/inventory_prices.h"
#include "toolbox/tool_globals.h"

using namespace rt;
using namespace units;

namespace {

// Each box read once, in row order; text without a leading number counts 0.
double ValueOf(std::span<const PricedBox> column) {
    double counts[14] = {};
    for (size_t row = 0; row < column.size() && row < std::size(counts); ++row)
        counts[row] = ToNumber(Get(column[row].box, EditBox::Content));
    return ColumnValue(column, std::span<const double>(counts, column.size()));
}

void ShowAmount(Unit<TransLabel> line, const char* prefix, Text amount) {
    Set(line, TransLabel::Caption, Concat({prefix, amount, "元"}));
}

}  // namespace

void ClearCountBoxes() {
    for (Unit<EditBox> box : FindUnits<EditBox>(主窗口, "盘")) Set(box, EditBox::Content, "");
}

void ShowCashierHeading() {
    int32_t index = Get(收银员组合框, ComboBox::CurrentSelection);
    Set(标签1, Label::Caption, Concat({ComboItemText(收银员组合框, index), "盘货信息统计"}));
}

void CalculateInventory() {
    g_tools.drinkAmount = ValueOf(DrinkPrices());
    g_tools.snackAmount = ValueOf(SnackPrices());
    g_tools.cigaretteAmount = ValueOf(CigarettePrices());
    // Whole yuan: the fraction is dropped, not rounded (12.9 is 12, -3.7 is -3).
    g_tools.otherAmount = DoubleToInt32(ToNumber(Get(其它钱数, EditBox::Content)));

    ShowAmount(饮料标签, "饮料盘货金额为：", ToText(g_tools.drinkAmount));
    ShowAmount(小吃标签, "小吃盘货金额为：", ToText(g_tools.snackAmount));
    ShowAmount(香烟标签, "香烟盘货金额为：", ToText(g_tools.cigaretteAmount));
    ShowAmount(其它标签, "其它货物金额为：", ToText(g_tools.otherAmount));
    double all = ((g_tools.drinkAmount + g_tools.snackAmount) + g_tools.cigaretteAmount) + g_tools.otherAmount;
    ShowAmount(总额, "所有货物金额为：", ToText(all));
}

void TickClock() { Set(时间显示, TransLabel::Caption, ToText(GetCurrentDateTime())); }
