#include "toolbox/event_handlers.h"

// ---- Start-up ----

void OnMainWindowCreated() {
    // Filled in by the start-up work: host list files, record folder, monitor, clock.
}

// ---- Inventory sheet: count entry ----

void Drink1KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink2KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink3KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink4KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink5KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink6KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink7KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink8KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink9KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink10KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink11KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink12KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink13KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Drink14KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack1KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack2KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack3KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack4KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack5KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack6KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack7KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack8KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack9KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack10KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack11KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack12KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack13KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Snack14KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Cigarette1KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Cigarette2KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Cigarette3KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void Cigarette4KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count-entry chain: Enter or Down moves the focus on and empties the box entered.
}

void OtherMoneyMouseDown(int32_t /*x*/, int32_t /*y*/, int32_t /*modifiers*/) {
    // Filled in by the count entry: empties 其它钱数.
}

void ClearCountBoxes() {
    // Filled in by the count entry: empties every edit box named "盘...".
}

void ShowCashierHeading() {
    // Filled in by the count entry: caption of 标签1 from the chosen item.
}

// ---- Inventory sheet: totals and records ----

void CalculateInventory() {
    // Filled in by the inventory totals.
}

void CalculateKeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the count entry: key 13 runs CalculateInventory.
}

void TickClock() {
    // Filled in by the inventory totals.
}

void ExportInventoryImage() {
    // Filled in by the inventory records.
}

void OpenRecordDirectory() {
    // Filled in by the inventory records.
}

// ---- Network monitor ----

void OpenInsideListFile() {
    // Filled in by the host list files.
}

void OpenOutsideListFile() {
    // Filled in by the host list files.
}

void StartMonitoring() {
    // Filled in by the monitoring cycle.
}

void StopMonitoring() {
    // Filled in by the monitoring cycle.
}

void ClearIntervalBox(int32_t /*x*/, int32_t /*y*/, int32_t /*modifiers*/) {
    // Filled in by the monitoring cycle.
}

void OnMonitorTimer() {
    // Filled in by the monitoring cycle.
}

// ---- Top-up calculator ----

void TopUp1KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator's entry chain.
}

void TopUp2KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator's entry chain.
}

void TopUp3KeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator's entry chain.
}

void TopUp1MouseDown(int32_t /*x*/, int32_t /*y*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator.
}

void TopUp2MouseDown(int32_t /*x*/, int32_t /*y*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator.
}

void TopUp3MouseDown(int32_t /*x*/, int32_t /*y*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator.
}

void CalculateTopUp() {
    // Filled in by the top-up calculator.
}

void TopUpCalculateKeyDown(int32_t /*key*/, int32_t /*modifiers*/) {
    // Filled in by the top-up calculator: key 13 runs CalculateTopUp.
}

void ClearTopUpBoxes() {
    // Filled in by the top-up calculator.
}
