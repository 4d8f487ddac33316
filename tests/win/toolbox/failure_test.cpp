// The real program when its heap fails or its window template is malformed: each ends in its
// one fatal report and exit code -1, never in a crash, a hang or another box first.
#include <gtest/gtest.h>

#include "forms/template_image.h"
#include "tests/win/toolbox/action_failure.h"
#include "tests/win/toolbox/program_run.h"
#include "tests/win/toolbox/template_samples.h"
#include "tests/win/toolbox/toolbox_driver.h"

// A spread of allocations from the first to the last one before the window shows both lists
// (tools/allocation-sweep.sh runs all of them).
TEST(AllocationFailure, EachAllocationUntilTheListsAreLoadedEndsInItsMessage) {
    const uint64_t count = AllocationsUntilListsLoaded();
    ASSERT_GT(count, 20u) << "the program's allocation count could not be asked";
    constexpr uint64_t kSamples = 20;
    for (uint64_t i = 0; i < kSamples; ++i) {
        const uint64_t n = 1 + i * (count - 1) / (kSamples - 1);
        RunOptions options;
        options.environment = {L"MG_FAIL_ALLOCATION=" + std::to_wstring(n)};
        ProgramRun run = RunProgram(options);
        EXPECT_EQ(AllocationFailureMisbehaviour(run), "") << "allocation " << n << " of " << count;
    }
}

// The tools' work once the window is up: five allocations spread over each action, counted
// from its press (tools/allocation-sweep.sh --action runs all of them), each failed in a
// program of its own, also on a worker while other workers write their rows, and inside the
// export's writing of its record. The four counts come from one program.
TEST(AllocationFailure, EachActionsAllocationsEndInTheirMessage) {
    uint64_t counts[std::size(kAllToolActions)] = {};
    {
        Toolbox t(ActionProgramOptions());
        ASSERT_TRUE(t.started());
        for (size_t a = 0; a < std::size(kAllToolActions); ++a) counts[a] = CountActionAllocations(t, kAllToolActions[a]);
        t.Close();
    }
    for (size_t a = 0; a < std::size(kAllToolActions); ++a) {
        const ToolAction action = kAllToolActions[a];
        const uint64_t count = counts[a];
        ASSERT_GT(count, 5u) << ActionName(action) << ": its allocations could not be counted";
        // The last sample is the export's writing; a clock tick during the count may have
        // added allocations that the run does not make, so it need not be reached.
        for (uint64_t n : {uint64_t{1}, count / 4, count / 2, count * 3 / 4, count - 1}) {
            ActionRun run = FailActionAllocation(action, n);
            EXPECT_TRUE(run.reached || n == count - 1) << ActionName(action) << " allocation " << n << " of " << count;
            EXPECT_EQ(ActionFailureMisbehaviour(run), "") << ActionName(action) << " allocation " << n << " of " << count;
        }
    }
}

// Cut short anywhere, the image is refused; with a bit flipped it is refused with the same
// report or, when the reader takes it, loads without a crash.
TEST(TemplateFailure, MalformedImagesEndInTheTemplateMessage) {
    const std::vector<uint8_t> image = MainWindowImage();
    for (size_t length : SpreadLengths(image.size(), 3)) {
        ProgramRun run = RunWithTemplate(std::vector<uint8_t>(image.begin(), image.begin() + length));
        EXPECT_EQ(TemplateFailureMisbehaviour(run), "") << "cut at " << length;
    }
    // The window table's length and a slot, the unit table's length, a record's fields.
    for (size_t position : {size_t{0}, size_t{9}, size_t{35}, image.size() / 3}) {
        std::vector<uint8_t> flipped = Flipped(image, position);
        bool accepted = ReadTemplateImage(flipped.data(), flipped.size()).has_value();
        ProgramRun run = RunWithTemplate(flipped, accepted ? 1500 : 0);
        EXPECT_EQ(accepted ? AcceptedTemplateMisbehaviour(run) : TemplateFailureMisbehaviour(run), "")
            << "bit flipped in byte " << position << (accepted ? " (accepted)" : " (refused)");
    }
}

// A handler offset that names no entry of the program's event code (between two entries, or
// past the last) is refused at start-up, before any event could call it.
TEST(TemplateFailure, HandlerOffsetsOutsideTheEventCodeAreRefused) {
    const std::vector<uint8_t> image = MainWindowImage();
    for (uint32_t offset : {0x68u, 0x1000u}) {
        std::optional<TemplateImage> model = ReadTemplateImage(image.data(), image.size());
        ASSERT_TRUE(model);
        WindowTemplate& window = model->windows[0];
        UnitRecord& clock = window.records[static_cast<size_t>(window.FindPosition(units::时钟1.unitId))];
        ASSERT_EQ(clock.events.size(), 1u);
        clock.events[0].handlerOffset = offset;  // the tick fires every second
        std::optional<std::vector<uint8_t>> bytes = WriteTemplateImage(*model);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(TemplateFailureMisbehaviour(RunWithTemplate(*bytes)), "") << "offset " << offset;
    }
}
