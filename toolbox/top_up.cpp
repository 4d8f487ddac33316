// The top-up calculator: the rate a customer effectively pays once the bonus is counted.
#include "runtime/value_ops.h"
#include "toolbox/event_handlers.h"
#include "toolbox/rt.h"
#include "toolbox/top_up_rate.h"

using namespace rt;
using namespace units;

namespace {

// The box's leading number truncated to whole yuan: a rate typed as 2.9 is used as 2.
int32_t WholeAmount(Unit<EditBox> box) { return DoubleToInt32(ToNumber(Get(box, EditBox::Content))); }

}  // namespace

void CalculateTopUp() {
    int32_t amount = WholeAmount(编辑框1);
    int32_t bonus = WholeAmount(编辑框2);
    int32_t rate = WholeAmount(编辑框3);
    Set(编辑框4, EditBox::Content, ToText(TopUpRate(amount, bonus, rate)));
}

// Every edit box whose name begins with 编辑: the four boxes of this page and also the
// monitor's interval box 编辑框秒.
void ClearTopUpBoxes() {
    for (Unit<EditBox> box : FindUnits<EditBox>(主窗口, "编辑")) Set(box, EditBox::Content, "");
}
