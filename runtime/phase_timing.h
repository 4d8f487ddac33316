// Where the time of a start or of a monitoring pass goes: named phases timed with the
// performance counter, for the benchmarks. Only builds with MG_TEST_HOOKS gather anything, and
// only once timing is switched on (MG_PHASE_LOG=path for the program, EnablePhaseTiming() in a
// benchmark's own process); a release build compiles every span to nothing.
//
//   PhaseSpan span(Phase::kReparent);        // the time until `span` goes counts to kReparent
//   PhaseSpan span(Phase::kCreateUnit, code); // one row per key: unit creation per type code
//
// Each (phase, key) keeps its number of spans, their summed time, the first start, the last
// start and the last end. The counter is the system's, so the times of a program and of the
// benchmark that started it compare directly.
#pragma once

#include <cstdint>
#include <string>

enum class Phase : uint8_t {
    // Start-up, on the window thread unless said otherwise.
    kRuntimeInitialise,  // RtOtherHelp service 6, the template read included
    kTemplateRead,
    kCreateWindow,       // record 0
    kCreateUnit,         // keyed by type code
    kReparent,
    kOrder,
    kCursors,
    kLoadedMessages,
    kShowUnits,
    kCreatedEvent,       // events 0, 3 and 4 of the window, with the tools' handler
    kHostFiles,
    kSetUpLists,
    kShowWindow,
    kFirstPaint,         // from the window shown until its message queue first runs dry
    kLoadHostLists,      // the loader thread, from its first instruction to its last row
    kFillRows,
    // A monitoring pass.
    kPass,
    kThreadStart,        // CreateThread in StartThread
    kThreadLaunch,       // from CreateThread until the new thread runs the routine
    kSockets,            // WSAStartup and WSACleanup of a probe
    kEchoHandle,         // IcmpCreateFile and IcmpCloseHandle
    kEcho,               // IcmpSendEcho
    kCellRead,           // a worker's read of its address cell
    kCellWrite,          // a worker's time, lamp and history writes of a row
    kThrottle,           // the pass thread held back at the probe limit
    kFinalWait,          // the pass thread waiting for its last workers
    kCount
};

const char* PhaseName(Phase phase);

#if MG_TEST_HOOKS

class PhaseSpan {
public:
    explicit PhaseSpan(Phase phase, uint32_t key = 0);
    ~PhaseSpan();
    PhaseSpan(const PhaseSpan&) = delete;
    PhaseSpan& operator=(const PhaseSpan&) = delete;

private:
    Phase phase_;
    uint32_t key_;
    int64_t start_;
};

bool PhaseTimingEnabled();
void EnablePhaseTiming();
// Forgets every phase timed so far (a benchmark, between passes).
void ResetPhaseTiming();
// A span timed elsewhere, in performance-counter ticks.
void RecordPhase(Phase phase, uint32_t key, int64_t start, int64_t end);
// A phase that begins in one place and ends in another, once: the end counts only after a
// begin, and only the first time.
void BeginPhase(Phase phase);
void EndPhase(Phase phase);
int64_t PhaseClockNow();
// One line per (phase, key): "phase NAME KEY COUNT TOTAL_MS FIRST_START LAST_START LAST_END",
// the three points in ms of the performance counter.
std::string PhaseReport();
// Writes the report to the file MG_PHASE_LOG names, if it names one.
void WritePhaseLog();

#else

class PhaseSpan {
public:
    explicit PhaseSpan(Phase, uint32_t = 0) {}
};
inline void BeginPhase(Phase) {}
inline void EndPhase(Phase) {}

#endif
