// The tools' pure rules against the compiled main window: the generated unit references,
// the keyboard chains, the price table beside its captions, the lamp rules, the top-up
// formula and the host list shapes. Narrow literals are GBK, like the form's texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "controls/trans_label_data.h"
#include "controls/unit_types.h"
#include "main_window_units.h"
#include "toolbox/host_list_rules.h"
#include "toolbox/inventory_prices.h"
#include "toolbox/keyboard_chain.h"
#include "toolbox/lamp_rules.h"
#include "toolbox/top_up_rate.h"
#include "tools/formc/form_compiler.h"

namespace {

const WindowTemplate& MainWindow() {
    static const FormCompileResult form = CompileFormFile(MG_SOURCE_DIR "/toolbox/main_window.toml");
    EXPECT_TRUE(form.ok) << form.error;
    return form.image.windows.at(0);
}

const UnitRecord* Record(uint32_t id) {
    for (const UnitRecord& r : MainWindow().records)
        if (r.id == id) return &r;
    return nullptr;
}

std::string NameOf(rt::AnyUnit u) {
    const UnitRecord* r = Record(u.unitId);
    return r ? r->name : "?";
}

}  // namespace

TEST(UnitReferences, EveryNameResolvesToTheIdAndTypeTheTemplateHolds) {
    const WindowTemplate& w = MainWindow();
    std::set<uint32_t> seen;
    for (const units::NamedUnit& n : units::kAllUnits) {
        SCOPED_TRACE(n.name);
        EXPECT_EQ(n.unit.windowId, w.id);
        const UnitRecord* r = Record(n.unit.unitId);
        ASSERT_NE(r, nullptr);
        // The window's own record has no name; tool code names it by the form's symbol.
        if (n.unit.unitId != kWindowRecordId) {
            EXPECT_EQ(r->name, n.name);
        }
        EXPECT_EQ(r->typeCode, n.unit.typeCode);
        seen.insert(n.unit.unitId);
    }
    // Every record has its reference, the window's own record included.
    EXPECT_EQ(seen.size(), w.records.size());
    EXPECT_EQ(units::主窗口.unitId, kWindowRecordId);
    EXPECT_EQ(units::盘饮料1.unitId, 0x1601004Au);
}

TEST(KeyboardChain, WalksEveryCountBoxInOrderThenTheTopUpInputs) {
    std::vector<std::string> walk;
    rt::AnyUnit at = units::盘饮料1;
    for (const ChainLink* link; (link = SuccessorOf(at)) != nullptr; at = link->to) {
        walk.push_back(NameOf(link->to));
        ASSERT_LT(walk.size(), 100u) << "the chain loops";
    }
    std::vector<std::string> expected;
    for (int k = 2; k <= 14; ++k) expected.push_back("盘饮料" + std::to_string(k));
    for (int k = 1; k <= 14; ++k) expected.push_back("盘小吃" + std::to_string(k));
    for (int k = 1; k <= 4; ++k) expected.push_back("盘香烟" + std::to_string(k));
    expected.push_back("计算");
    EXPECT_EQ(walk, expected);

    // The top-up page's chain ends on its own button; 编辑框4 and the sheet's other inputs
    // are in no chain.
    ASSERT_NE(SuccessorOf(units::编辑框1), nullptr);
    EXPECT_EQ(SuccessorOf(units::编辑框1)->to, units::编辑框2.Any());
    EXPECT_EQ(SuccessorOf(units::编辑框2)->to, units::编辑框3.Any());
    EXPECT_EQ(SuccessorOf(units::编辑框3)->to, units::计算按钮.Any());
    for (rt::AnyUnit outside : {units::编辑框4.Any(), units::其它钱数.Any(), units::收银员组合框.Any(),
                                units::计算.Any(), units::编辑框秒.Any()})
        EXPECT_EQ(SuccessorOf(outside), nullptr) << NameOf(outside);

    // Every link starts at a unit of the form and every count box starts exactly one.
    int countBoxes = 0;
    for (const ChainLink* l = AllChainLinks().begin; l != AllChainLinks().end; ++l) {
        ASSERT_NE(Record(l->from.unitId), nullptr);
        ASSERT_NE(Record(l->to.unitId), nullptr);
        if (NameOf(l->from).rfind("盘", 0) == 0) ++countBoxes;
    }
    EXPECT_EQ(countBoxes, 32);
}

// Each count box's price is the number its caption shows: the transparent label to its
// left on the same row.
TEST(InventoryPrices, EachPriceIsTheOneItsCaptionShows) {
    int rows = 0;
    for (auto column : {DrinkPrices(), SnackPrices(), CigarettePrices()}) {
        for (const PricedBox& p : column) {
            const UnitRecord* box = Record(p.box.unitId);
            ASSERT_NE(box, nullptr);
            SCOPED_TRACE(box->name);
            const UnitRecord* caption = nullptr;
            for (const UnitRecord& r : MainWindow().records)
                if (r.typeCode == kTypeTransLabel && r.top == box->top && r.left < box->left &&
                    (!caption || r.left > caption->left))
                    caption = &r;
            ASSERT_NE(caption, nullptr);
            auto label = TransLabelData::Parse(caption->typeData.data(), caption->typeData.size());
            ASSERT_TRUE(label);
            EXPECT_EQ(std::strtod(label->caption.c_str(), nullptr), p.price) << label->caption;
            ++rows;
        }
    }
    EXPECT_EQ(rows, 32);
    EXPECT_EQ(DrinkPrices().size(), 14u);
    EXPECT_EQ(SnackPrices().size(), 14u);
}

TEST(InventoryPrices, TheWorkedExampleAndItsEdges) {
    // 3, 3, …, 1 in the last drink row; 3 and 1 snacks in rows 1 and 9; 2 of the 23 yuan brand.
    std::vector<double> drinks(14, 0), snacks(14, 0), cigarettes(4, 0);
    drinks[0] = 3, drinks[1] = 3, drinks[13] = 1;
    snacks[0] = 3, snacks[8] = 1;
    cigarettes[2] = 2;
    EXPECT_EQ(ColumnValue(DrinkPrices(), drinks), 22.5);
    EXPECT_EQ(ColumnValue(SnackPrices(), snacks), 6);
    EXPECT_EQ(ColumnValue(CigarettePrices(), cigarettes), 46);
    std::vector<double> none(14, 0);
    none[13] = 0.5;  // a pasted half
    EXPECT_EQ(ColumnValue(DrinkPrices(), none), 7.5);
    cigarettes.assign(4, 0);
    cigarettes[0] = -3;
    EXPECT_EQ(ColumnValue(CigarettePrices(), cigarettes), -33);
}

TEST(LampRules, InsideAndOutsideHostsAsTheTablesJudgeThem) {
    struct Case {
        double t;
        bool echoed;
        Lamp lamp;
        bool dots;
    };
    const Case inside[] = {
        {0, true, kLampGreen, false},  {0, false, kLampGrey, false}, {7, true, kLampGreen, false},
        {7, false, kLampGrey, false},  {8, true, kLampRed, false},   {8, false, kLampRed, false},
        {99, true, kLampRed, false},   {100, true, kLampGrey, true}, {2000, false, kLampGrey, true},
        {7.9999999, true, kLampRed, false},  // within the tolerance of 8
    };
    for (const Case& c : inside) {
        RowVerdict v = JudgeInsideHost(c.t, c.echoed);
        EXPECT_EQ(v.lamp, c.lamp) << "inside " << c.t << (c.echoed ? " echoed" : "");
        EXPECT_EQ(v.hideTime, c.dots) << "inside " << c.t;
    }
    const Case outside[] = {
        {0, false, kLampGrey, true},    {1, false, kLampGreen, false},  {79, false, kLampGreen, false},
        {80, false, kLampYellow, false}, {119, false, kLampYellow, false}, {120, false, kLampRed, false},
        {1999, false, kLampRed, false}, {2000, false, kLampGrey, true},  {5000, false, kLampGrey, true},
        {0.00000005, false, kLampGrey, true},  // zero within the tolerance
    };
    for (const Case& c : outside) {
        RowVerdict v = JudgeOutsideHost(c.t);
        EXPECT_EQ(v.lamp, c.lamp) << "outside " << c.t;
        EXPECT_EQ(v.hideTime, c.dots) << "outside " << c.t;
    }
}

TEST(TopUpRate, TheFormulaInItsOrderOfOperations) {
    EXPECT_EQ(TopUpRate(100, 50, 3), 2);
    EXPECT_EQ(TopUpRate(100, 20, 3), 2.5);
    EXPECT_EQ(TopUpRate(200, 50, 5), 4);
    EXPECT_EQ(TopUpRate(100, 0, 3), 3);
    EXPECT_DOUBLE_EQ(TopUpRate(100, 30, 2), 1.5384615384615385);  // shown as 1.538461538462
    EXPECT_DOUBLE_EQ(TopUpRate(100, 50, 2), 1.3333333333333333);  // a rate of 2.9 is used as 2
    EXPECT_EQ(TopUpRate(100, 20, 0), 0);                // 120 / 0 is infinite
    EXPECT_TRUE(std::isnan(TopUpRate(0, 0, 0)));        // 0 / 0
    EXPECT_EQ(TopUpRate(2147483647, 2147483647, 1), 0.5);  // the sum is formed in double
}

TEST(HostListRules, PairsAndGroupSizes) {
    EXPECT_EQ(HostCount(13), 6);  // 6 lines of the default inside list and the last CR LF
    EXPECT_EQ(HostCount(43), 21);
    EXPECT_EQ(HostCount(1), 0);
    EXPECT_EQ(HostCount(0), 0);
    EXPECT_EQ(LabelField(0), 0u);
    EXPECT_EQ(AddressField(2), 5u);
    EXPECT_EQ(InsideGroupHeight(6), 120);
    EXPECT_EQ(OutsideGroupHeight(21), 378);
    EXPECT_EQ(InsideGroupHeight(0), 12);
    EXPECT_EQ(OutsideGroupHeight(0), 0);
}
