// The advanced tab control: a tab strip that it draws itself, over pages whose units are
// ordinary units of the window. The loader re-parents those units into the control; the
// runtime shows the current page's units and hides the others (ShowPageUnits in
// forms/window_list.h), which the control asks for with notification 2039 after a page
// change, and asks the control for its current page through its operation (interface 10).
//
// Pages come from the page list of the type data (controls/page_control_data.h); a page
// whose hidden flag is set has no tab. The tab-control messages count tabs, that is the
// pages that are not hidden:
//   TCM_GETITEMCOUNT   number of tabs
//   TCM_GETCURSEL      tab of the current page, -1 for none
//   TCM_SETCURSEL      selects the page of a tab without events; returns the previous tab or -1
//   TCM_HITTEST        tab under a client point, -1 for none
//   TCM_GETITEMRECT    client rectangle of a tab
//   TCM_GETITEMW       TCIF_PARAM: the page (counted over all pages) that a tab shows
//
// Selecting a page by a click on its tab or by writing property 13 raises PageChanging with
// the new page first (a handler returning 0 cancels), then has the runtime show the page's
// units, then raises PageChanged. Clicking the current tab does nothing.
//
// Properties, by index: 8 and 9 the first two control settings, 10 the tab font, 11 the
// page list, 12 the tab height, 13 the current page (counted over all pages), 14-18 the
// other control settings, 19-30 the twelve colour settings, 31-40 the later settings.
// The type data's field 16 keeps the current page, so a rebuilt control starts on it.
#pragma once

#include "forms/unit_type.h"

#include <windows.h>

// The control's private window class.
inline constexpr wchar_t kPageControlClass[] = L"_XR_PageControl";
// To the window hosting a control that is no unit of a loaded window, after a page
// change: wParam the new page, lParam the control's window.
constexpr UINT kPageHostMessage = 0x83F2;
