// From the splash to the main window, and the tray icon main adds.
#include "support/program.h"

namespace sim {
namespace {

using StartUp = ProgramTest;

TEST_F(StartUp, TheSplashLoadsTopmostAndColourKeyedAndGivesWayToMainAfterASecond) {
  application.start();
  SimPeer* splash = platform.peer("HY");
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->visible);
  EXPECT_EQ(splash->backColor, app::RGB(88, 88, 88));
  // Topmost, neither moved nor sized (flags 3); the extended style's index
  // -20; the layered bit added to the tool-window style 0x80 it had; key,
  // alpha 0, flag 1.
  const Long hy = splash->handle();
  EXPECT_EQ(platform.calls, (std::vector<EntryCall>{
                                {"SetWindowPos", {hy, -1, 0, 0, 0, 0, 3}},
                                {"GetWindowLongA", {hy, -20}},
                                {"SetWindowLongA", {hy, -20, 0x80080}},
                                {"SetLayeredWindowAttributes", {hy, 0x585858, 0, 1}},
                            }));
  EXPECT_EQ(platform.bindings, (std::vector<std::string>{
                                   "user32!SetWindowPos", "user32!GetWindowLongA",
                                   "user32!SetWindowLongA", "user32!SetLayeredWindowAttributes"}));
  // After one second the splash gives way to main.
  platform.advance(999ms);
  EXPECT_NE(platform.peer("HY"), nullptr);
  EXPECT_EQ(platform.peer("main"), nullptr);
  platform.advance(1ms);
  // Unloading the splash comes first, then main is made and shown.
  EXPECT_EQ(platform.windowLog, (std::vector<std::string>{"create HY", "show HY", "destroy HY",
                                                          "create main", "show main"}));
  ASSERT_NE(platform.peer("main"), nullptr);
  EXPECT_TRUE(mainPeer().visible);
  EXPECT_FALSE(platform.ended);
  // Its timer went with it: no second tick, no second main.
  platform.advance(5s);
  EXPECT_EQ(mainPeer().timesShown, 1);
}

// With its designed values, its tray icon, and default instances kept.
TEST_F(StartUp, MainOpensWithItsDesignedValuesAndTrayIcon) {
  startToMain();
  auto& m = mainForm();
  EXPECT_EQ(std::tuple(m.Text1().Text(), m.Option1().Value(), m.Option2().Value(),
                       m.Timer1().Enabled(), m.ULD().Enabled()),
            std::tuple("60", app::False, app::False, app::False, app::False));
  EXPECT_EQ(application.nextDeadline(), std::nullopt);  // nothing ticks while idle
  EXPECT_EQ(&app::instance<forms::main>(), &m);
  auto* about = &app::instance<forms::GY>();
  EXPECT_FALSE(about->loaded());  // a reference alone does not load
  EXPECT_EQ(&app::instance<forms::GY>(), about);
  ASSERT_EQ(trayMessages(), "0");
  EXPECT_EQ(fields(platform.trayCalls[0].record),
            (IconRecord{28, mainPeer().handle(), 1, 7, 512, mainForm().Icon()->handle(), ""}));
  EXPECT_EQ(platform.trayIcons.size(), 1u);
  // The entry is bound on its first call only: a restore calls it again.
  application.mouseMove(mainForm(), 0, 0, 7725, 0);
  EXPECT_EQ(trayMessages(), "02");
  EXPECT_EQ(std::ranges::count(platform.bindings, "shell32.dll!Shell_NotifyIcon"), 1);
  EXPECT_EQ(platform.bindings.back(), "shell32.dll!Shell_NotifyIcon");
}

TEST_F(StartUp, AnEntryThatCannotBeBoundIsAnErrorAndStartUpGoesOn) {
  platform.missingEntries.insert("user32!SetLayeredWindowAttributes");
  startToMain();
  ASSERT_EQ(platform.boxes.size(), 1u);
  const RecordedBox& box = platform.boxes[0];
  EXPECT_EQ(std::tuple(box.text.find("453") != std::string::npos, box.style, box.title),
            std::tuple(true, 16, "Tavimo关机工具"))
      << box.text;
  ASSERT_NE(platform.peer("main"), nullptr);
  EXPECT_TRUE(mainPeer().visible);
}

TEST_F(StartUp, ClosingTheSplashEndsTheProgramInsteadOfLeavingNoWindow) {
  application.start();
  application.closeRequested(*application.forms().front(), app::UnloadMode::ControlMenu);
  EXPECT_TRUE(platform.ended);
  platform.advance(2s);
  EXPECT_EQ(platform.peer("main"), nullptr);
}

}  // namespace
}  // namespace sim
