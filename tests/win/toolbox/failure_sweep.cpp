// Runs the real program to its fatal end many times and counts how each run behaved.
//   failure_sweep allocations [FIRST [LAST [STEP]]]
//       counts the allocations of a normal start until the window shows both lists, then
//       fails each allocation FIRST..LAST (default: all of them) in its own start
//   failure_sweep action NAME [FIRST [LAST [STEP]]]
//       counts the allocations of one action of the tools (pass, export, calculate, top-up) on
//       a program whose window is up, then fails each allocation FIRST..LAST of that action
//       (default: all of them), counted from the action's press, each in a program of its own
//   failure_sweep templates [COUNT]
//       COUNT images of the main window cut short and COUNT with one bit flipped (default 100)
// Prints every run that misbehaved (every run with MG_SWEEP_VERBOSE set) and a summary line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "forms/template_image.h"
#include "tests/win/toolbox/action_failure.h"
#include "tests/win/toolbox/program_run.h"
#include "tests/win/toolbox/template_samples.h"

namespace {

using ull = unsigned long long;

struct Range {
    uint64_t first, last, step;
};

// FIRST [LAST [STEP]] from argv[at] on; by default every allocation of `count`.
Range RangeFrom(int argc, char** argv, int at, uint64_t count) {
    Range r{argc > at ? std::strtoull(argv[at], nullptr, 10) : 1, argc > at + 1 ? std::strtoull(argv[at + 1], nullptr, 10) : count,
            argc > at + 2 ? std::strtoull(argv[at + 2], nullptr, 10) : 1};
    if (r.first < 1) r.first = 1;
    if (r.step < 1) r.step = 1;
    return r;
}

// One run of a sweep: what went wrong (empty when it behaved), and a line to print anyway.
struct SweepRun {
    std::string misbehaviour;
    std::string note;
};

struct SweepCounts {
    uint64_t runs = 0, behaved = 0;
};

// Runs `one` for every allocation of the range, printing what misbehaved and the progress.
template <class One>
SweepCounts SweepRange(const Range& range, One one) {
    SweepCounts counts;
    const DWORD start = GetTickCount();
    for (uint64_t n = range.first; n <= range.last; n += range.step) {
        SweepRun run = one(n);
        ++counts.runs;
        if (run.misbehaviour.empty())
            ++counts.behaved;
        else
            std::printf("allocation %llu: %s\n", static_cast<ull>(n), run.misbehaviour.c_str());
        if (!run.note.empty()) std::printf("allocation %llu: %s\n", static_cast<ull>(n), run.note.c_str());
        if (counts.runs % 25 == 0)
            std::printf("... %llu runs (up to allocation %llu), %llu behaved, %lu s\n", static_cast<ull>(counts.runs),
                        static_cast<ull>(n), static_cast<ull>(counts.behaved), (GetTickCount() - start) / 1000);
        std::fflush(stdout);
    }
    return counts;
}

bool Verbose() { return std::getenv("MG_SWEEP_VERBOSE") != nullptr; }

int SweepAllocations(int argc, char** argv) {
    const uint64_t count = AllocationsUntilListsLoaded();
    std::printf("allocations until the window shows both lists: %llu\n", static_cast<ull>(count));
    if (count == 0) return 1;
    const Range range = RangeFrom(argc, argv, 2, count);
    SweepCounts counts = SweepRange(range, [](uint64_t n) {
        RunOptions options;
        options.environment = {L"MG_FAIL_ALLOCATION=" + std::to_wstring(n)};
        ProgramRun run = RunProgram(options);
        std::string why = AllocationFailureMisbehaviour(run);
        return SweepRun{why, why.empty() && Verbose() ? Describe(run) : ""};
    });
    std::printf("allocations %llu; failed in turn %llu..%llu step %llu: %llu runs, %llu behaved, %llu misbehaved\n",
                static_cast<ull>(count), static_cast<ull>(range.first), static_cast<ull>(range.last),
                static_cast<ull>(range.step), static_cast<ull>(counts.runs), static_cast<ull>(counts.behaved),
                static_cast<ull>(counts.runs - counts.behaved));
    return counts.runs == counts.behaved ? 0 : 1;
}

int SweepAction(int argc, char** argv) {
    std::optional<ToolAction> action = argc > 2 ? ActionNamed(argv[2]) : std::nullopt;
    if (!action) {
        std::fprintf(stderr, "usage: failure_sweep action pass|export|calculate|top-up [FIRST [LAST [STEP]]]\n");
        return 2;
    }
    uint64_t count = 0;
    {
        Toolbox counting(ActionProgramOptions());
        if (counting.started()) count = CountActionAllocations(counting, *action);
        counting.Close();
    }
    std::printf("allocations of the action %s: %llu\n", ActionName(*action), static_cast<ull>(count));
    if (count == 0) return 1;
    const Range range = RangeFrom(argc, argv, 3, count);
    uint64_t notReached = 0;
    SweepCounts counts = SweepRange(range, [&](uint64_t n) {
        ActionRun run = FailActionAllocation(*action, n);
        std::string why = ActionFailureMisbehaviour(run);
        if (!run.reached) ++notReached;
        std::string note;
        if (why.empty() && !run.reached)
            note = "not reached, the action ended first: " + Describe(run.run);
        else if (why.empty() && Verbose())
            note = Describe(run.run);
        return SweepRun{why, note};
    });
    std::printf("action %s: allocations %llu; failed in turn %llu..%llu step %llu: %llu runs, %llu behaved "
                "(%llu of them not reached), %llu misbehaved\n",
                ActionName(*action), static_cast<ull>(count), static_cast<ull>(range.first), static_cast<ull>(range.last),
                static_cast<ull>(range.step), static_cast<ull>(counts.runs), static_cast<ull>(counts.behaved),
                static_cast<ull>(notReached), static_cast<ull>(counts.runs - counts.behaved));
    return counts.runs == counts.behaved ? 0 : 1;
}

int SweepTemplates(int argc, char** argv) {
    const size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100;
    const std::vector<uint8_t> image = MainWindowImage();
    int cutRuns = 0, cutBehaved = 0, refused = 0, refusedBehaved = 0, accepted = 0, acceptedBehaved = 0;
    int loadedNormally = 0, otherReport = 0;
    for (size_t length : SpreadLengths(image.size(), count)) {
        std::string why = TemplateFailureMisbehaviour(RunWithTemplate({image.begin(), image.begin() + length}, 0));
        ++cutRuns;
        if (why.empty())
            ++cutBehaved;
        else
            std::printf("cut at %zu: %s\n", length, why.c_str());
        std::fflush(stdout);
    }
    // Flips spread over the image, the first one in each stretch of image.size() / count bytes.
    for (size_t i = 0; i < count; ++i) {
        size_t position = i * image.size() / count + i % 7;
        if (position >= image.size()) continue;
        std::vector<uint8_t> flipped = Flipped(image, position);
        bool readable = ReadTemplateImage(flipped.data(), flipped.size()).has_value();
        ProgramRun run = RunWithTemplate(flipped, readable ? 1500 : 0);
        std::string why = readable ? AcceptedTemplateMisbehaviour(run) : TemplateFailureMisbehaviour(run);
        (readable ? accepted : refused) += 1;
        if (why.empty()) (readable ? acceptedBehaved : refusedBehaved) += 1;
        if (readable && why.empty()) (run.boxes.empty() ? loadedNormally : otherReport) += 1;
        if (!why.empty() || (readable && !run.boxes.empty()))
            std::printf("flip in byte %zu (%s): %s%s\n", position, readable ? "accepted" : "refused",
                        why.empty() ? "" : "MISBEHAVED: ", Describe(run).c_str());
        std::fflush(stdout);
    }
    std::printf("image %zu bytes; cut short: %d runs, %d with the template report and -1\n", image.size(), cutRuns, cutBehaved);
    std::printf("one bit flipped: %d refused by the reader, %d of them with the template report and -1; "
                "%d accepted, %d without crash or hang (%d loaded and closed normally, %d ended in another report)\n",
                refused, refusedBehaved, accepted, acceptedBehaved, loadedNormally, otherReport);
    return cutRuns == cutBehaved && refused == refusedBehaved && accepted == acceptedBehaved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "allocations") == 0) return SweepAllocations(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "action") == 0) return SweepAction(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "templates") == 0) return SweepTemplates(argc, argv);
    std::fprintf(stderr,
                 "usage: failure_sweep allocations [FIRST [LAST [STEP]]] | action NAME [FIRST [LAST [STEP]]] | "
                 "templates [COUNT]\n");
    return 2;
}
