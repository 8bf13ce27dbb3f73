// A started program on the simulated platform, for the forms' tests.
#pragma once

#include <gtest/gtest.h>

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

// Steps, split by |: c click, t type, w wait (ms), x a close request, m a
// tray callback at this x (twips); then what must hold: = the text, b boxes
// so far, e all of them error boxes, n commands so far, r counting (1) or
// not (0), v main visible (1) or not, i tray icons shown, k tray calls so
// far, E ended (1) or not. Last, the commands fired and the boxes' texts.
struct Script {
  const char* name;
  std::string_view steps;
  std::vector<std::string> fired, boxes;
};
inline void PrintTo(const Script& script, std::ostream* out) {
  *out << script.name;
}
inline std::string nameOf(const ::testing::TestParamInfo<Script>& row) {
  return row.param.name;
}

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
  }

  forms::main& mainForm() { return app::instance<forms::main>(); }
  SimPeer& mainPeer() { return *platform.peer("main"); }

  void click(std::string_view control) { application.click(mainForm(), control); }
  void type(const std::string& text) { application.edited(mainForm(), "Text1", text); }
  std::string text() { return mainForm().Text1().Text(); }
  bool counting() { return mainForm().Timer1().Enabled() == app::True; }

  void run(const Script& script) {
    for (const auto part : std::views::split(script.steps, '|')) {
      const char op = part.front();
      const std::string arg(part.begin() + 1, part.end());
      SCOPED_TRACE(std::string(part.begin(), part.end()));
      if (op == 'c')
        click(arg);
      else if (op == 't')
        type(arg);
      else if (op == 'w')
        platform.advance(std::chrono::milliseconds(std::stoi(arg)));
      else if (op == 'x')
        application.closeRequested(mainForm(), app::UnloadMode::ControlMenu);
      else if (op == 'm')
        application.mouseMove(mainForm(), 0, 0, std::stof(arg), 0);
      else if (op == '=')
        EXPECT_EQ(text(), arg);
      else if (op == 'b')
        EXPECT_EQ(platform.boxes.size(), std::stoul(arg));
      else if (op == 'e')
        for (const auto& box : platform.boxes) EXPECT_TRUE(box.style == 16 && box.title == "错误");
      else if (op == 'n')
        EXPECT_EQ(platform.commands.size(), std::stoul(arg));
      else if (op == 'r')
        EXPECT_EQ(counting(), arg == "1");
      else if (op == 'v')
        EXPECT_EQ(mainPeer().visible, arg == "1");
      else if (op == 'i')
        EXPECT_EQ(platform.trayIcons.size(), std::stoul(arg));
      else if (op == 'k')
        EXPECT_EQ(platform.trayCalls.size(), std::stoul(arg));
      else if (op == 'E')
        EXPECT_EQ(platform.ended, arg == "1");
      else
        ADD_FAILURE() << "no such step";
    }
    EXPECT_EQ(commandLines(), script.fired);
    EXPECT_EQ(boxTexts(), script.boxes);
  }

  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (auto& c : platform.commands) lines.push_back(c.text());
    return lines;
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (auto& b : platform.boxes) texts.push_back(b.text);
    return texts;
  }
};

}  // namespace sim
