// A started program on the simulated platform, for the forms' tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "forms/Form1.h"
#include "forms/GY.h"
#include "forms/HY.h"
#include "forms/Module1.h"
#include "forms/main.h"
#include "forms/project.h"
#include "support/sim_platform.h"

namespace sim {

// Steps, split by |: c click on main, C on the skin chooser, t type, w wait
// (ms), x a close request for this reason, X one for the chooser, m a tray
// callback at this x (twips), a the next message box stays open for the
// steps after it (split by ,), S main's screen has this many twips per
// pixel, R the shell refuses tray icons (1) or not (0); then what must hold:
// = the text, b boxes so far, n commands so far, s the style of every
// command, r counting (1) or not (0), v main's window (see window()), y main
// enabled (1) or not, f the chooser shown (1) or unloaded with its window
// gone (0), p the width of main's picture, i tray icons shown, k the
// messages of the tray calls so far, E ended with nothing due (1) or not
// ended (0). Last, the commands fired and the boxes shown.
struct Script {
  const char* name;
  std::string_view steps;
  std::vector<std::string> fired;
  Boxes boxes;
};
inline void PrintTo(const Script& script, std::ostream* out) {
  *out << script.name;
}
inline std::string nameOf(const ::testing::TestParamInfo<Script>& row) {
  return row.param.name;
}

inline const std::string kShutDownIn3 = "cmd.exe /c shutdown -s -t 3";
inline const std::string kRestartIn3 = "cmd.exe /c shutdown -r -t 3";
inline const RecordedBox kMinimised{"已最小化！可以双击任务栏的图标重新呼出！", 64, "最小化！"};
inline const RecordedBox kNotes{"说明：因为系统重装，源码没有备份，这是重做后的，或许有BUG。", 64,
                                "说明"};

// A tray record's fields: cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon, szTip.
using IconRecord = std::tuple<Long, Long, Long, Long, Long, Long, std::string>;
inline IconRecord fields(const app::NotifyIconData& r) {
  return {r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage, r.hIcon, r.szTip};
}

class ProgramTest : public ::testing::Test {
 protected:
  SimPlatform platform;
  app::Application application{platform, forms::project()};

  // Starts the program and lets the splash hand over to main.
  void startToMain() {
    application.start();
    platform.advance(1000ms);
    // A fault here stops the case, not the whole suite on a missing window.
    ASSERT_NE(platform.peer("main"), nullptr) << "main did not open";
  }

  forms::main& mainForm() { return app::instance<forms::main>(); }
  SimPeer& mainPeer() { return *platform.peer("main"); }

  void click(std::string_view control) { application.click(mainForm(), control); }
  void type(const std::string& text) { application.edited(mainForm(), "Text1", text); }
  std::string text() { return mainForm().Text1().Text(); }
  bool counting() { return mainForm().Timer1().Enabled() == app::True; }

  void run(const Script& script) {
    steps(script.steps);
    EXPECT_EQ(commandLines(), script.fired);
    EXPECT_EQ(platform.boxes, script.boxes);
    EXPECT_TRUE(platform.answers.empty()) << "a box was never shown";
  }
  // A form's window: shown (1), hidden (0), minimised (m) or none.
  std::string window(std::string_view form) const {
    const SimPeer* peer = platform.peer(form);
    return !peer ? "none" : peer->visible ? "1" : peer->minimized ? "m" : "0";
  }
  void steps(std::string_view steps, char separator = '|') {
    for (const auto part : std::views::split(steps, separator)) {
      const char op = part.front();
      const std::string arg(part.begin() + 1, part.end());
      SCOPED_TRACE(std::string(part.begin(), part.end()));
      if (op == 'c')
        click(arg);
      else if (op == 'C')
        application.click(app::instance<forms::Form1>(), arg);
      else if (op == 't')
        type(arg);
      else if (op == 'w')
        platform.advance(std::chrono::milliseconds(std::stoi(arg)));
      else if (op == 'x')
        application.closeRequested(mainForm(), static_cast<app::Integer>(std::stoi(arg)));
      else if (op == 'X')
        application.closeRequested(app::instance<forms::Form1>(), app::UnloadMode::ControlMenu);
      else if (op == 'm')
        application.mouseMove(mainForm(), 0, 0, std::stof(arg), 0);
      else if (op == 'a')
        platform.answers.push_back([this, arg] { this->steps(arg, ','); });
      else if (op == 'S')
        mainPeer().scale = std::stof(arg);
      else if (op == 'R')
        platform.refuseTrayIcons = arg == "1";
      else if (op == '=')
        EXPECT_EQ(text(), arg);
      else if (op == 'b')
        EXPECT_EQ(platform.boxes.size(), std::stoul(arg));
      else if (op == 'n')
        EXPECT_EQ(platform.commands.size(), std::stoul(arg));
      else if (op == 's')
        for (const auto& c : platform.commands)
          EXPECT_EQ(static_cast<int>(c.style), std::stoi(arg));
      else if (op == 'r')
        EXPECT_EQ(counting(), arg == "1");
      else if (op == 'v')
        EXPECT_EQ(window("main"), arg);
      else if (op == 'y')
        EXPECT_EQ(mainPeer().enabled, arg == "1");
      else if (op == 'f')
        EXPECT_EQ(window("Form1") + (app::instance<forms::Form1>().loaded() ? "" : " unloaded"),
                  arg == "1" ? "1" : "none unloaded");
      else if (op == 'p')  // main's picture, as its window shows it
        EXPECT_EQ(mainPeer().picture && mainPeer().picture == mainForm().picture()
                      ? mainPeer().picture->widthPixels()
                      : -1,
                  std::stoi(arg));
      else if (op == 'i')
        EXPECT_EQ(platform.trayIcons.size(), std::stoul(arg));
      else if (op == 'k')
        EXPECT_EQ(trayMessages(), arg);
      else if (op == 'E')
        EXPECT_EQ(!platform.ended              ? "0"
                  : application.nextDeadline() ? "1, a timer still due"
                                               : "1",
                  arg);
      else
        ADD_FAILURE() << "no such step";
    }
  }
  // The message of every tray call, each with the record main filled at load.
  std::string trayMessages() const {
    std::string messages;
    for (const auto& call : platform.trayCalls) {
      messages += std::to_string(call.message);
      EXPECT_EQ(fields(call.record), fields(platform.trayCalls[0].record));
    }
    return messages;
  }

  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (auto& c : platform.commands) lines.push_back(c.command.text());
    return lines;
  }
};

// Runs each row of a script table on a program of its own, started by the
// fixture: tests named Fixture/FixtureScript.Runs/row.
#define SCRIPT_TESTS(Fixture, rows)                                                        \
  class Fixture##Script : public Fixture, public ::testing::WithParamInterface<Script> {}; \
  TEST_P(Fixture##Script, Runs) {                                                          \
    run(GetParam());                                                                       \
  }                                                                                        \
  INSTANTIATE_TEST_SUITE_P(Fixture, Fixture##Script, ::testing::ValuesIn(rows), nameOf)

}  // namespace sim
