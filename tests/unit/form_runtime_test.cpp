// The form runtime's own semantics, on a small form of the test's.
#include <gtest/gtest.h>

#include "app/application.h"
#include "support/sim_platform.h"

namespace sim {
namespace {

using K = app::ControlKind;

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

class Probe : public app::Form {
 public:
  Probe() : app::Form(kLayout) {}
  std::vector<std::string> log;
  app::Integer cancelQuery = 0, cancelUnload = 0;
  std::function<void()> onGo, onTick, onLoad;

  void raise(app::Event& e) override {
    switch (e.kind) {
      case app::EventKind::Load:
        log.push_back("Load");
        if (onLoad)
          onLoad();
        break;
      case app::EventKind::QueryUnload:
        log.push_back("QueryUnload " + std::to_string(e.unloadMode));
        e.cancel = cancelQuery;
        break;
      case app::EventKind::Unload:
        log.push_back("Unload");
        e.cancel = cancelUnload;
        break;
      case app::EventKind::Change:
        log.push_back("Change " + control("Box").Text());
        break;
      case app::EventKind::Click:
        log.push_back("Click " + std::string(e.control));
        if (e.control == "Go" && onGo)
          onGo();
        break;
      case app::EventKind::Timer:
        log.push_back("Tick");
        if (onTick)
          onTick();
        break;
      default:
        break;
    }
  }
};

class FormRuntime : public ::testing::Test {
 protected:
  SimPlatform platform;
  app::ProjectDescription project{.title = "Probe title",
                                  .startupForm = [] { return std::make_unique<Probe>(); }};
  app::Application application{platform, project};
  Probe& probe() { return app::instance<Probe>(); }
};

TEST_F(FormRuntime, ShowLoadsOnceAndLoadRunsBeforeTheWindowIsVisible) {
  bool visibleDuringLoad = true;
  probe().onLoad = [&] { visibleDuringLoad = platform.peer("Probe")->visible; };
  probe().Show();
  probe().Show();
  EXPECT_FALSE(visibleDuringLoad);
  EXPECT_EQ(probe().log, std::vector<std::string>{"Load"});
  EXPECT_EQ(platform.peers.size(), 1u);
}

TEST_F(FormRuntime, UsingAPropertyLoadsTheForm) {
  EXPECT_FALSE(probe().loaded());
  probe().hWnd();
  EXPECT_TRUE(probe().loaded());
  EXPECT_FALSE(probe().visible());
}

TEST_F(FormRuntime, UnloadDropsTheControlsAndTheNextShowStartsFresh) {
  probe().Show();
  probe().control("Box").setText("typed");
  probe().control("A1").setValue(app::True);
  probe().control("Tick").setEnabled(app::True);
  EXPECT_TRUE(probe().Unload());
  EXPECT_FALSE(probe().loaded());
  EXPECT_EQ(platform.peer("Probe"), nullptr);
  EXPECT_EQ(application.nextDeadline(), std::nullopt);
  probe().Show();
  EXPECT_EQ(probe().control("Box").Text(), "designed");
  EXPECT_EQ(probe().control("A1").Value(), app::False);
  EXPECT_EQ(probe().control("Tick").Enabled(), app::False);
  EXPECT_EQ(std::count(probe().log.begin(), probe().log.end(), "Load"), 2);
}

TEST_F(FormRuntime, QueryUnloadThenUnloadEitherMayCancel) {
  probe().Show();
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
}

TEST_F(FormRuntime, ChangeRunsInsideTheAssignmentButUserEditsAreNotEchoed) {
  probe().Show();
  probe().onGo = [&] {
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
  probe().Show();
  application.click(probe(), "A1");
  application.click(probe(), "B1");
  EXPECT_EQ(probe().control("A1").Value(), app::True);
  EXPECT_EQ(probe().control("B1").Value(), app::True);
  application.click(probe(), "A2");
  EXPECT_EQ(probe().control("A1").Value(), app::False);
  EXPECT_EQ(probe().control("A2").Value(), app::True);
  EXPECT_EQ(probe().control("B1").Value(), app::True);
  application.click(probe(), "A2");  // clicking the chosen one keeps it chosen
  EXPECT_EQ(probe().control("A2").Value(), app::True);
}

TEST_F(FormRuntime, HiddenFormsKeepTicking) {
  probe().Show();
  probe().control("Tick").setEnabled(app::True);
  probe().Hide();
  platform.advance(1s);
  EXPECT_EQ(std::count(probe().log.begin(), probe().log.end(), "Tick"), 10);
}

TEST_F(FormRuntime, ALateWakeRunsOneTickAndKeepsThePhase) {
  probe().Show();
  const auto started = platform.clock;
  probe().control("Tick").setEnabled(app::True);
  platform.clock += 350ms;  // the loop was busy elsewhere
  application.wake();
  EXPECT_EQ(std::count(probe().log.begin(), probe().log.end(), "Tick"), 1);
  EXPECT_EQ(application.nextDeadline(), started + 400ms);
}

TEST_F(FormRuntime, ATickBlockedInAMessageBoxIsNotEnteredAgain) {
  probe().Show();
  int depth = 0, deepest = 0;
  probe().onTick = [&] {
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
  EXPECT_GE(std::count(probe().log.begin(), probe().log.end(), "Tick"), 10);
}

TEST_F(FormRuntime, ARuntimeErrorStopsTheHandlerReportsAndKeepsWhatWasDone) {
  probe().Show();
  probe().onGo = [&] {
    probe().control("Box").setText("before");
    probe().control("Go").Value();  // a button has no value: error 438
    probe().control("Box").setText("after");
  };
  application.click(probe(), "Go");
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_NE(platform.boxes[0].text.find("438"), std::string::npos);
  EXPECT_EQ(platform.boxes[0].style, 16);
  EXPECT_EQ(platform.boxes[0].title, "Probe title");
  EXPECT_EQ(probe().control("Box").Text(), "before");
  probe().onGo = nullptr;
  application.click(probe(), "Go");
  EXPECT_EQ(probe().log.back(), "Click Go");
}

TEST_F(FormRuntime, NoOtherExceptionEscapesIntoTheMessageLoop) {
  probe().Show();
  probe().onGo = [] { throw std::out_of_range("a fault of the program's own"); };
  EXPECT_NO_THROW(application.click(probe(), "Go"));
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_NE(platform.boxes[0].text.find("51"), std::string::npos);
  EXPECT_FALSE(platform.ended);
}

TEST_F(FormRuntime, ARefusalToldLaterIsTheErrorBoxWithTheTitleAndNothingOnceEnded) {
  probe().Show();
  application.requestRefused("无法安排关机：原因");
  EXPECT_EQ(platform.boxes, (Boxes{{"无法安排关机：原因", 16, "Probe title"}}));
  probe().onGo = [] { app::End(); };
  application.click(probe(), "Go");
  application.requestRefused("after the end");
  EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(FormRuntime, TheProgramEndsWhenTheLastFormIsClosed) {
  probe().Show();
  application.closeRequested(probe(), app::UnloadMode::ControlMenu);
  EXPECT_TRUE(platform.ended);
}

TEST_F(FormRuntime, AFormThatUnloadsItselfAndShowsAnotherKeepsTheProgramRunning) {
  probe().Show();
  probe().onGo = [&] {
    probe().Unload();
    probe().Show();
  };
  application.click(probe(), "Go");
  EXPECT_FALSE(platform.ended);
  EXPECT_TRUE(probe().loaded());
}

TEST_F(FormRuntime, TheTimeToTheNextTickIsRoundedUp) {
  probe().Show();
  EXPECT_EQ(application.timeToNextTick(), std::nullopt);
  probe().control("Tick").setEnabled(app::True);
  platform.clock += 99'500us;
  EXPECT_EQ(application.timeToNextTick(), 1ms);
  platform.clock += 10ms;  // overdue
  EXPECT_EQ(application.timeToNextTick(), 0ms);
}

TEST_F(FormRuntime, AMessageBoxWithoutTitleShowsTheApplicationTitle) {
  app::MsgBox("hello", 64);
  app::MsgBox("again", 0, "own");
  EXPECT_EQ(platform.boxes, (Boxes{{"hello", 64, "Probe title"}, {"again", 0, "own"}}));
}

TEST_F(FormRuntime, EndUnwindsTheHandlerAndStopsEverything) {
  probe().Show();
  probe().control("Tick").setEnabled(app::True);
  probe().onGo = [&] {
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
