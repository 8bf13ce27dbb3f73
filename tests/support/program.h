// A started program on the simulated platform, for the forms' tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
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
