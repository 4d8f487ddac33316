// The tools' event handlers, named by the main window's form (toolbox/main_window.toml).
// The form compiler puts each one into the event-code table; the runtime calls them
// with the event's arguments: key handlers (event -9) get the virtual-key code and the
// modifier state (1 Ctrl, 2 Shift, 4 Alt), left-button handlers (event -1) the position
// in the unit and the modifier state, the types' own events nothing. None declares a
// result, so no handler can swallow the key or click that raised it.
#pragma once

#include <cstdint>

// ---- Start-up ----
// Window 0x52010001, event 0: the main window has been created.
void OnMainWindowCreated();

// ---- Inventory sheet: count entry ----
// 盘饮料1, event -9: Enter or Down goes to 盘饮料2 and empties it.
void Drink1KeyDown(int32_t key, int32_t modifiers);
// 盘饮料2, event -9: Enter or Down goes to 盘饮料3 and empties it.
void Drink2KeyDown(int32_t key, int32_t modifiers);
// 盘饮料3, event -9: Enter or Down goes to 盘饮料4 and empties it.
void Drink3KeyDown(int32_t key, int32_t modifiers);
// 盘饮料4, event -9: Enter or Down goes to 盘饮料5 and empties it.
void Drink4KeyDown(int32_t key, int32_t modifiers);
// 盘饮料5, event -9: Enter or Down goes to 盘饮料6 and empties it.
void Drink5KeyDown(int32_t key, int32_t modifiers);
// 盘饮料6, event -9: Enter or Down goes to 盘饮料7 and empties it.
void Drink6KeyDown(int32_t key, int32_t modifiers);
// 盘饮料7, event -9: Enter or Down goes to 盘饮料8 and empties it.
void Drink7KeyDown(int32_t key, int32_t modifiers);
// 盘饮料8, event -9: Enter or Down goes to 盘饮料9 and empties it.
void Drink8KeyDown(int32_t key, int32_t modifiers);
// 盘饮料9, event -9: Enter or Down goes to 盘饮料10 and empties it.
void Drink9KeyDown(int32_t key, int32_t modifiers);
// 盘饮料10, event -9: Enter or Down goes to 盘饮料11 and empties it.
void Drink10KeyDown(int32_t key, int32_t modifiers);
// 盘饮料11, event -9: Enter or Down goes to 盘饮料12 and empties it.
void Drink11KeyDown(int32_t key, int32_t modifiers);
// 盘饮料12, event -9: Enter or Down goes to 盘饮料13 and empties it.
void Drink12KeyDown(int32_t key, int32_t modifiers);
// 盘饮料13, event -9: Enter or Down goes to 盘饮料14 and empties it.
void Drink13KeyDown(int32_t key, int32_t modifiers);
// 盘饮料14, event -9: Enter or Down goes to 盘小吃1 and empties it.
void Drink14KeyDown(int32_t key, int32_t modifiers);
// 盘小吃1, event -9: Enter or Down goes to 盘小吃2 and empties it.
void Snack1KeyDown(int32_t key, int32_t modifiers);
// 盘小吃2, event -9: Enter or Down goes to 盘小吃3 and empties it.
void Snack2KeyDown(int32_t key, int32_t modifiers);
// 盘小吃3, event -9: Enter or Down goes to 盘小吃4 and empties it.
void Snack3KeyDown(int32_t key, int32_t modifiers);
// 盘小吃4, event -9: Enter or Down goes to 盘小吃5 and empties it.
void Snack4KeyDown(int32_t key, int32_t modifiers);
// 盘小吃5, event -9: Enter or Down goes to 盘小吃6 and empties it.
void Snack5KeyDown(int32_t key, int32_t modifiers);
// 盘小吃6, event -9: Enter or Down goes to 盘小吃7 and empties it.
void Snack6KeyDown(int32_t key, int32_t modifiers);
// 盘小吃7, event -9: Enter or Down goes to 盘小吃8 and empties it.
void Snack7KeyDown(int32_t key, int32_t modifiers);
// 盘小吃8, event -9: Enter or Down goes to 盘小吃9 and empties it.
void Snack8KeyDown(int32_t key, int32_t modifiers);
// 盘小吃9, event -9: Enter or Down goes to 盘小吃10 and empties it.
void Snack9KeyDown(int32_t key, int32_t modifiers);
// 盘小吃10, event -9: Enter or Down goes to 盘小吃11 and empties it.
void Snack10KeyDown(int32_t key, int32_t modifiers);
// 盘小吃11, event -9: Enter or Down goes to 盘小吃12 and empties it.
void Snack11KeyDown(int32_t key, int32_t modifiers);
// 盘小吃12, event -9: Enter or Down goes to 盘小吃13 and empties it.
void Snack12KeyDown(int32_t key, int32_t modifiers);
// 盘小吃13, event -9: Enter or Down goes to 盘小吃14 and empties it.
void Snack13KeyDown(int32_t key, int32_t modifiers);
// 盘小吃14, event -9: Enter or Down goes to 盘香烟1 and empties it.
void Snack14KeyDown(int32_t key, int32_t modifiers);
// 盘香烟1, event -9: Enter or Down goes to 盘香烟2 and empties it.
void Cigarette1KeyDown(int32_t key, int32_t modifiers);
// 盘香烟2, event -9: Enter or Down goes to 盘香烟3 and empties it.
void Cigarette2KeyDown(int32_t key, int32_t modifiers);
// 盘香烟3, event -9: Enter or Down goes to 盘香烟4 and empties it.
void Cigarette3KeyDown(int32_t key, int32_t modifiers);
// 盘香烟4, event -9: Enter or Down goes to the button 计算 (nothing is emptied).
void Cigarette4KeyDown(int32_t key, int32_t modifiers);
// 其它钱数, event -1: empties the box.
void OtherMoneyMouseDown(int32_t x, int32_t y, int32_t modifiers);
// 盘清除, event 0: empties the 32 count boxes.
void ClearCountBoxes();
// 收银员组合框, event 0: titles the summary panel with the chosen cashier.
void ShowCashierHeading();

// ---- Inventory sheet: totals and records ----
// 计算, event 0: values the counts and writes the five money lines.
void CalculateInventory();
// 计算, event -9: Enter values the counts as a click does.
void CalculateKeyDown(int32_t key, int32_t modifiers);
// 时钟1, event 0: shows the current date and time in 时间显示.
void TickClock();
// 导出, event 0: saves a picture of the main window into 盘货记录.
void ExportInventoryImage();
// 打开, event 0: opens 盘货记录 in the shell.
void OpenRecordDirectory();

// ---- Network monitor ----
// 内网配置文件, event 0: opens 疆内.txt in the shell.
void OpenInsideListFile();
// 外网配置文件, event 0: opens 疆外.txt in the shell.
void OpenOutsideListFile();
// 开始, event 0: checks the interval, runs a pass and starts 时钟2.
void StartMonitoring();
// 停止, event 0: stops 时钟2.
void StopMonitoring();
// 编辑框秒, event -1: empties the interval box.
void ClearIntervalBox(int32_t x, int32_t y, int32_t modifiers);
// 时钟2, event 0: starts another monitoring pass.
void OnMonitorTimer();

// ---- Top-up calculator ----
// 编辑框1, event -9: Enter or Down goes to 编辑框2 and empties it.
void TopUp1KeyDown(int32_t key, int32_t modifiers);
// 编辑框2, event -9: Enter or Down goes to 编辑框3 and empties it.
void TopUp2KeyDown(int32_t key, int32_t modifiers);
// 编辑框3, event -9: Enter or Down goes to the button 计算按钮 (nothing is emptied).
void TopUp3KeyDown(int32_t key, int32_t modifiers);
// 编辑框1, event -1: empties the box.
void TopUp1MouseDown(int32_t x, int32_t y, int32_t modifiers);
// 编辑框2, event -1: empties the box.
void TopUp2MouseDown(int32_t x, int32_t y, int32_t modifiers);
// 编辑框3, event -1: empties the box.
void TopUp3MouseDown(int32_t x, int32_t y, int32_t modifiers);
// 计算按钮, event 0: writes amount / ((amount + bonus) / rate) into 编辑框4.
void CalculateTopUp();
// 计算按钮, event -9: Enter calculates as a click does.
void TopUpCalculateKeyDown(int32_t key, int32_t modifiers);
// 清除按钮, event 0: empties every edit box named "编辑..." (编辑框秒 too).
void ClearTopUpBoxes();
