// Seeded random sequences of everything a host does with the add-in, each
// step checked against a small model of what the add-in must do.
// Replay one seed with QUORREL_MODEL_SEED=N.
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "TestHost.h"

namespace {

// 5,000 steps: each kind of step about 600 times, each pair of kinds in a row
// about 80 times. An unload and reload costs milliseconds under Wine, so the
// count is what one run of the whole suite can afford six times over.
constexpr int Seeds = 20;
constexpr int StepsPerSeed = 250;

enum Step {
  OpenStep,
  RemoveStep,
  SampleFuncStep,
  ManagerStep,
  Excel12Step,
  CellStep,
  ThreadStep,
  ReloadStep,
  StepKinds
};
const char* const StepNames[] = {
    "xlAutoOpen",  "xlAutoRemove",          "SampleFunc",       "xlAddInManagerInfo", "SetExcel12EntryPt",
    "=TavikFnc()", "thread start and join", "unload and reload"};

// What the add-in must do: register once when opened, unregister once when
// removed, and answer fixed values whatever its state.
struct Model {
  bool registered = false;
};

XLOPER RandomRequest(std::mt19937& random) {
  switch (random() % 4) {
    case 0: return xllhost::IntegerRequest(static_cast<std::int16_t>(random() % 3));
    case 1: return xllhost::NumberRequest((random() % 3) * 0.5 + 0.5);
    case 2: return xllhost::IntegerRequest(1, static_cast<std::uint16_t>(random()));
    default: return xllhost::NumberRequest(1.0, xltypeNum | xlbitXLFree);
  }
}

class LifecycleModel : public QuorrelTest {
 protected:
  // Runs one step and answers the host calls the model expects of it.
  std::vector<int> Run(Step step, Model& model, std::mt19937& random) {
    switch (step) {
      case OpenStep:
        EXPECT_EQ(xllhost::Open(addIn), 1);
        return std::exchange(model.registered, true) ? std::vector<int>{} : OpenCalls;
      case RemoveStep:
        EXPECT_EQ(xllhost::Remove(addIn), 1);
        return std::exchange(model.registered, false) ? RemoveCalls : std::vector<int>{};
      case SampleFuncStep: EXPECT_EQ(xllhost::Display(xllhost::Capture(*sampleFunc())), "Tavik World"); return {};
      case ManagerStep: {
        XLOPER request = RandomRequest(random);
        EXPECT_EQ(xllhost::Display(xllhost::AskAddInManager(addIn, request)),
                  IsNameRequest(request) ? "Tavik Add-In" : "#VALUE!");
        return {};
      }
      case Excel12Step: xllhost::HandOverExcel12(addIn); return {};
      case CellStep:
        EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), model.registered ? "Tavik World" : "#NAME?");
        return {};
      case ThreadStep: std::thread([] {}).join(); return {};
      case ReloadStep:
        xllhost::Unload(addIn);
        LoadQuorrel();
        model.registered = false;
        return {};
      case StepKinds: break;
    }
    ADD_FAILURE() << "no step of kind " << step;
    return {};
  }

  void RunSeed(unsigned seed) {
    std::mt19937 random(seed);
    Model model;
    for (int i = 0; i < StepsPerSeed && !HasFailure(); ++i) {
      Step step = static_cast<Step>(random() % StepKinds);
      xllhost::ClearCalls();
      std::vector<int> expected = Run(step, model, random);
      EXPECT_EQ(xllhost::CallNumbers(), expected);
      EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
      EXPECT_TRUE(xllhost::Faults().empty());
      if (HasFailure())
        ADD_FAILURE() << "seed " << seed << " failed at step " << i << " (" << StepNames[step]
                      << "); replay with QUORREL_MODEL_SEED=" << seed;
    }
    if (model.registered) xllhost::Remove(addIn);
  }
};

TEST_F(LifecycleModel, RandomSequencesMatchTheModel) {
  if (const char* replay = std::getenv("QUORREL_MODEL_SEED")) {
    RunSeed(static_cast<unsigned>(std::strtoul(replay, nullptr, 10)));
    return;
  }
  for (unsigned seed = 1; seed <= Seeds && !HasFailure(); ++seed) RunSeed(seed);
}

}  // namespace
