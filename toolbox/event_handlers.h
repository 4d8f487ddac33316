// The tools' event handlers, named by the main window's form (toolbox/main_window.toml).
// The form compiler puts each one into the event-code table; the runtime calls them
// with the event's arguments: key handlers (KeyDown) get the virtual-key code and the
// modifier state (1 Ctrl, 2 Shift, 4 Alt), left-button handlers (MouseDown) the position
// in the unit and the modifier state, the types' own events nothing. None declares a
// result, so no handler can swallow the key or click that raised it. A handler bound to
// several units asks rt::EventSource() which one raised the event.
#pragma once

#include <cstdint>

// ---- Start-up ----
// The main window, Created: host list files, record folder, monitor, clock.
void OnMainWindowCreated();

// ---- Keyboard entry and clearing, on the sheet and on the top-up page ----
// KeyDown of the 32 count boxes and of 编辑框1-3: Enter or Down moves the focus to the
// box's successor and empties it (a button is only focused).
void AdvanceOnEnter(int32_t key, int32_t modifiers);
// KeyDown of 计算 and 计算按钮: Enter runs the button's calculation as a click does.
void ClickOnEnter(int32_t key, int32_t modifiers);
// MouseDown of 其它钱数 and 编辑框1-3: the box is emptied.
void EmptyBoxOnClick(int32_t x, int32_t y, int32_t modifiers);

// ---- Inventory sheet ----
// 盘清除, Click: empties the 32 count boxes.
void ClearCountBoxes();
// 收银员组合框, SelectionChanged: titles the summary panel with the chosen cashier.
void ShowCashierHeading();
// 计算, Click: values the counts and writes the five money lines.
void CalculateInventory();
// 时钟1, Tick: shows the current date and time in 时间显示.
void TickClock();
// 导出, Click: saves a picture of the main window into 盘货记录.
void ExportInventoryImage();
// 打开, Click: opens 盘货记录 in the shell.
void OpenRecordDirectory();

// ---- Network monitor ----
// 内网配置文件, Click: opens 疆内.txt in the shell.
void OpenInsideListFile();
// 外网配置文件, Click: opens 疆外.txt in the shell.
void OpenOutsideListFile();
// 开始, Click: checks the interval, runs a pass and starts 时钟2.
void StartMonitoring();
// 停止, Click: stops 时钟2.
void StopMonitoring();
// 编辑框秒, MouseDown: empties the interval box.
void ClearIntervalBox(int32_t x, int32_t y, int32_t modifiers);
// 时钟2, Tick: starts another monitoring pass.
void OnMonitorTimer();

// ---- Top-up calculator ----
// 计算按钮, Click: writes amount / ((amount + bonus) / rate) into 编辑框4.
void CalculateTopUp();
// 清除按钮, Click: empties every edit box named "编辑..." (编辑框秒 too).
void ClearTopUpBoxes();
