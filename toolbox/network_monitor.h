// The network monitor's routines that are not event handlers: the host list loader, the
// ICMP probe, and the monitoring pass with its workers.
#pragma once

#include <cstdint>

#include "toolbox/rt.h"

// Thread routine, started once when the main window has been created: reads both host
// list files, sizes the group boxes and fills the result and address lists.
uint32_t MG_STDCALL LoadHostLists(void* unused);
// One row per host in each result list (grey lamp, "...") and its address list.
void FillHostRows();

// One ICMP echo of `data` to `host` (dotted IPv4 text or a name); the platform's reply is
// left in `reply`. A timeout of 0 or less means 500 ms. The reply's status, or -1 when the
// host gives no address or no ICMP handle opens (the reply is then untouched).
int32_t ProbeHost(rt::TextView host, rt::TextView data, rt::ProbeReply& reply, int32_t timeout = 0);

// Thread routine of one monitoring pass: a worker per row, at most ProbeLimit probes in
// flight, then waits for the last worker.
uint32_t MG_STDCALL RunMonitorPass(void* unused);
// Thread routine of one row index of a pass: probes the inside and the outside host of that
// row and writes their times and lamps.
uint32_t MG_STDCALL ProbeWorker(void* rowIndex);

// What a worker learnt of one host: its time, or no reply at all, and the lamp it got.
struct ProbeOutcome {
    bool lost;
    uint32_t milliseconds;
    int32_t lamp;
};
// Gives each row of both result lists a history of its probes and a tip that shows it. Once,
// on the window thread, after the result lists are set up.
void AttachRowHistories();
// Adds the outcome to the history of that result row, on the list's window thread (any thread
// may call it; it returns once the outcome is kept).
void RecordProbeOutcome(rt::Unit<rt::ListView> results, int32_t row, const ProbeOutcome& outcome);
