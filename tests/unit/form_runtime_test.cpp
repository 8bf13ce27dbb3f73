// The form runtime's own semantics, on a small form of the test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "app/application.h"
#include "support/sim_platform.h"

namespace sim {
namespace {

using K = app::ControlKind;
using E = app::EventKind;

const app::FormLayout kLayout{
    .name = "Probe",
    .caption = "probe",
    .clientWidth = 3000,
    .clientHeight = 2000,
    .controls = {
        {.name = "Box", .kind = K::TextBox, .container = "Probe", .caption = "designed"},
        {.name = "FrameA", .kind = K::Frame, .container = "Probe"},
        {.name = "FrameB", .kind = K::Frame, .container = "Probe"},
        {.name = "A1", .kind = K::OptionButton, .container = "FrameA"},
        {.name = "A2", .kind = K::OptionButton, .container = "FrameA"},
        {.name = "B1", .kind = K::OptionButton, .container = "FrameB"},
        {.name = "Tick", .kind = K::Timer, .container = "Probe", .enabled = false, .interval = 100},
        {.name = "Go", .kind = K::Button, .container = "Probe", .caption = "go"},
    }};

// Logs every event with what matters of it: "QueryUnload 1", "Click Go",
// "Change one" (the box's text), "Timer Tick"; then runs the hook for it.
class Probe : public app::Form {
 public:
  Probe() : app::Form(kLayout) {}
  std::vector<std::string> log;
  app::Integer cancelQuery = 0, cancelUnload = 0;
  std::map<E, std::function<void()>> on;

  void raise(app::Event& e) override {
    static const std::map<E, std::string> names{
        {E::Load, "Load"},     {E::QueryUnload, "QueryUnload"},
        {E::Unload, "Unload"}, {E::MouseMove, "MouseMove"},
        {E::Click, "Click"},   {E::Change, "Change"},
        {E::Timer, "Timer"}};
    const std::string detail = e.kind == E::QueryUnload ? std::to_string(e.unloadMode)
                               : e.kind == E::Change    ? control("Box").Text()
                                                        : std::string(e.control);
    log.push_back(names.at(e.kind) + (detail.empty() ? "" : " " + detail));
    e.cancel = e.kind == E::QueryUnload ? cancelQuery : e.kind == E::Unload ? cancelUnload : 0;
    if (on[e.kind])
      on[e.kind]();
  }
};

class FormLoading : public ::testing::Test {
 protected:
  SimPlatform platform;
  app::ProjectDescription project{.title = "Probe title",
                                  .startupForm = [] { return std::make_unique<Probe>(); }};
  app::Application application{platform, project};
  Probe& probe() { return app::instance<Probe>(); }
  app::Integer value(std::string_view option) { return probe().control(option).Value(); }
  auto logged(std::string_view entry) { return std::ranges::count(probe().log, entry); }
};

class FormRuntime : public FormLoading {
 protected:
  void SetUp() override { probe().Show(); }
};

TEST_F(FormLoading, ShowLoadsOnceAndLoadRunsBeforeTheWindowIsVisible) {
  bool visibleDuringLoad = true;
  probe().on[E::Load] = [&] { visibleDuringLoad = platform.peer("Probe")->visible; };
  probe().Show();
  probe().Show();
  EXPECT_FALSE(visibleDuringLoad);
  EXPECT_EQ(probe().log, std::vector<std::string>{"Load"});
  EXPECT_EQ(platform.peers.size(), 1u);
}

// From its own handler: using a property loads it again, hidden; showing
// it keeps the program running.
TEST_F(FormRuntime, UnloadDropsTheControlsAndTheNextShowStartsFresh) {
  probe().control("Box").setText("typed");
  probe().control("A1").setValue(app::True);
  probe().control("Tick").setEnabled(app::True);
  probe().on[E::Click] = [&] {
    EXPECT_TRUE(probe().Unload());
    EXPECT_FALSE(probe().loaded());
    EXPECT_EQ(platform.peer("Probe"), nullptr);
    EXPECT_EQ(application.nextDeadline(), std::nullopt);
    probe().hWnd();
    EXPECT_EQ(std::pair(probe().loaded(), probe().visible()), std::pair(true, false));
    probe().Show();
  };
  application.click(probe(), "Go");
  ASSERT_FALSE(platform.ended);
  EXPECT_EQ(probe().control("Box").Text(), "designed");
  EXPECT_EQ(probe().control("A1").Value(), app::False);
  EXPECT_EQ(probe().control("Tick").Enabled(), app::False);
  EXPECT_EQ(logged("Load"), 2);
}

TEST_F(FormRuntime, QueryUnloadThenUnloadEitherMayCancel) {
  probe().cancelQuery = app::True;
  EXPECT_FALSE(probe().Unload());
  probe().cancelQuery = 0;
  probe().cancelUnload = app::True;
  EXPECT_FALSE(probe().Unload());
  EXPECT_TRUE(probe().loaded());
  probe().cancelUnload = 0;
  application.closeRequested(probe(), app::UnloadMode::ControlMenu);
  EXPECT_FALSE(probe().loaded());
  EXPECT_EQ(probe().log, (std::vector<std::string>{"Load", "QueryUnload 1", "QueryUnload 1",
                                                   "Unload", "QueryUnload 0", "Unload"}));
  EXPECT_TRUE(platform.ended);  // it was the last form
}

TEST_F(FormRuntime, ChangeRunsInsideTheAssignmentButUserEditsAreNotEchoed) {
  probe().on[E::Click] = [&] {
    probe().control("Box").setText("one");
    probe().log.push_back("after");
  };
  application.click(probe(), "Go");
  EXPECT_EQ(probe().log, (std::vector<std::string>{"Load", "Click Go", "Change one", "after"}));
  EXPECT_EQ(platform.peer("Probe")->texts["Box"], "one");
  application.edited(probe(), "Box", "two");
  EXPECT_EQ(probe().log.back(), "Change two");
  EXPECT_EQ(platform.peer("Probe")->texts["Box"], "one");  // the window already shows it
}

TEST_F(FormRuntime, OptionButtonsAreExclusivePerContainer) {
  // What A1, A2 and B1 hold after each click; a click on the chosen one
  // keeps it chosen.
  const std::pair<const char*, std::vector<app::Integer>> clicks[] = {
      {"A1", {-1, 0, 0}}, {"B1", {-1, 0, -1}}, {"A2", {0, -1, -1}}, {"A2", {0, -1, -1}}};
  for (const auto& [option, values] : clicks) {
    application.click(probe(), option);
    EXPECT_EQ((std::vector{value("A1"), value("A2"), value("B1")}), values) << option;
  }
}

// The time to the next tick is rounded up; a late wake runs one tick and
// keeps the phase; hidden forms keep ticking.
TEST_F(FormRuntime, TimersTickInPhaseAndWhileHidden) {
  EXPECT_EQ(application.timeToNextTick(), std::nullopt);
  const auto started = platform.clock;
  probe().control("Tick").setEnabled(app::True);
  platform.clock += 99'500us;
  EXPECT_EQ(application.timeToNextTick(), 1ms);
  platform.clock += 250ms;  // overdue: the loop was busy elsewhere
  EXPECT_EQ(application.timeToNextTick(), 0ms);
  application.wake();
  EXPECT_EQ(logged("Timer Tick"), 1);
  EXPECT_EQ(application.nextDeadline(), started + 400ms);
  probe().Hide();
  platform.advance(1s);
  EXPECT_EQ(logged("Timer Tick"), 11);
}

TEST_F(FormRuntime, ATickBlockedInAMessageBoxIsNotEnteredAgain) {
  int depth = 0, deepest = 0;
  probe().on[E::Timer] = [&] {
    deepest = std::max(deepest, ++depth);
    if (depth == 1)
      app::MsgBox("hold");
    --depth;
  };
  platform.answers.push_back([&] { platform.advance(1s); });
  probe().control("Tick").setEnabled(app::True);
  platform.advance(100ms);
  EXPECT_EQ(deepest, 1);
  platform.advance(1s);
  EXPECT_GE(logged("Timer Tick"), 10);
}

// A runtime error, or any other exception, stops the handler where it was
// raised, keeps what was done and is reported; the program goes on.
TEST_F(FormRuntime, AFaultStopsTheHandlerReportsAndKeepsWhatWasDone) {
  probe().on[E::Click] = [&] {
    probe().control("Box").setText("before");
    probe().control("Go").Value();  // a button has no value: error 438
    probe().control("Box").setText("after");
  };
  application.click(probe(), "Go");
  EXPECT_EQ(probe().control("Box").Text(), "before");
  probe().on[E::Click] = [] { throw std::out_of_range("a fault of the program's own"); };
  EXPECT_NO_THROW(application.click(probe(), "Go"));
  probe().on[E::Click] = nullptr;
  application.click(probe(), "Go");
  EXPECT_EQ(probe().log.back(), "Click Go");
  EXPECT_FALSE(platform.ended);
  ASSERT_EQ(platform.boxes.size(), 2u);
  for (const auto& [box, number] : {std::pair{platform.boxes[0], "438"}, {platform.boxes[1], "51"}})
    EXPECT_EQ(std::tuple(box.text.find(number) != std::string::npos, box.style, box.title),
              std::tuple(true, 16, "Probe title"))
        << box.text;
}

// A box without a title, or a refusal told later, has the application's
// title; once ended nothing is shown.
TEST_F(FormRuntime, BoxesAndRefusalsShowTheApplicationTitleUntilTheEnd) {
  app::MsgBox("hello", 64);
  app::MsgBox("again", 0, "own");
  application.requestRefused("无法安排关机：原因");
  probe().on[E::Click] = [] { app::End(); };
  application.click(probe(), "Go");
  application.requestRefused("after the end");
  EXPECT_EQ(platform.boxes, (Boxes{{"hello", 64, "Probe title"},
                                   {"again", 0, "own"},
                                   {"无法安排关机：原因", 16, "Probe title"}}));
}

TEST_F(FormRuntime, EndUnwindsTheHandlerAndStopsEverything) {
  probe().control("Tick").setEnabled(app::True);
  probe().on[E::Click] = [&] {
    app::End();
    probe().log.push_back("not reached");
  };
  application.click(probe(), "Go");
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(probe().log.back(), "Click Go");
  const auto events = probe().log.size();
  platform.advance(1s);
  application.click(probe(), "Go");
  application.closeRequested(probe(), 0);
  EXPECT_EQ(probe().log.size(), events);
  EXPECT_TRUE(probe().loaded());
}

}  // namespace
}  // namespace sim
