// The chains of boxes that Enter or Down walks: each count box of the sheet, then the
// top-up page's three inputs, hand the focus to their successor; the last box of a chain
// hands it to its page's calculate button. Portable: the table names units only.
#pragma once

#include "main_window_units.h"

struct ChainLink {
    rt::AnyUnit from;
    rt::AnyUnit to;  // an edit box, which is emptied when entered, or a button
};

// The link that starts at `unit`; null for a unit outside the chains.
const ChainLink* SuccessorOf(rt::AnyUnit unit);

// Every link, for checks.
struct ChainLinks {
    const ChainLink* begin;
    const ChainLink* end;
};
ChainLinks AllChainLinks();
