// A tip for the rows of a report-view list: resting the pointer on a row shows a small
// window with the row's lines of text and a bar graph below them; moving to another row
// shows that row's tip, leaving the list hides it. What a row says comes from a source that
// also takes records for rows from any thread: they are handed to it on the list's window
// thread, where a record for the row whose tip is open redraws the tip.
//
// The tip's window class is "MgRowTip"; its window text is the tip's whole text, the lines
// joined by CR LF, for screen readers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct RowTipBar {
    uint32_t value = 0;
    bool lost = false;  // drawn in red at full height
};

struct RowTipContent {
    std::vector<std::string> lines;  // GBK
    std::vector<RowTipBar> bars;     // the oldest first, at most kRowTipBarSlots
    std::vector<uint32_t> guides;    // faint horizontal lines at these values
    double top = 1;                  // the value at the graph's full height
};

constexpr int32_t kRowTipBarSlots = 100;

class RowTipSource {
public:
    virtual ~RowTipSource() = default;
    // Both run on the list's window thread.
    virtual void Record(int32_t row, const void* record) = 0;
    // False: the row has no tip.
    virtual bool Describe(int32_t row, RowTipContent& content) = 0;
};

// Attaches tips to the list window (a report-view list view); the attachment owns the source
// and ends with the window. Call on the list's window thread.
void AttachRowTips(intptr_t listWindow, std::unique_ptr<RowTipSource> source);

// Hands `record` for `row` to the list's source and returns once it is recorded (the record is
// read only during the call). Any thread; a window that has gone takes nothing.
void SendRowRecord(intptr_t listWindow, int32_t row, const void* record);
