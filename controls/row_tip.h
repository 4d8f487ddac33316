// A tip for the rows of a report-view list: resting the pointer on a row shows a small
// window with the row's lines of text and a bar graph below them; moving to another row
// shows that row's tip, leaving the list hides it. What a row says comes from a source that
// also takes records for rows, sent from any thread to the list's window (RecordMessage):
// they reach the source on the list's window thread, where a record for the row whose tip is
// open redraws the tip.
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

// The tips of one list, kept by the list view unit (controls/list_view_unit.h), which hands
// them its window's messages first. Everything runs on the list's window thread.
class RowTips {
public:
    RowTips(intptr_t listWindow, std::unique_ptr<RowTipSource> source);
    ~RowTips();  // the tip window goes with them
    RowTips(const RowTips&) = delete;
    RowTips& operator=(const RowTips&) = delete;

    // True when the message was a record and is answered; the list's own handling of every
    // other message goes on (the pointer's moves are only watched).
    bool OnListMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // The message that carries a record to the list: wParam the row, lParam the record.
    static uint32_t RecordMessage();

    struct State;  // the list, the source, the tip window and the row it shows

private:
    std::unique_ptr<State> state_;
};
