// Random typing, ticking, starting and mode switching, checked step by step
// against a small model of the countdown. The model converts with its own
// means (a regular expression and stod), not with the program's.
#include <cstdio>
#include <random>
#include <regex>

#include "support/program.h"

namespace sim {
namespace {

// Characters, not bytes: every character the fuzz types is in the basic plane.
std::size_t length(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

std::optional<double> number(std::string text) {
  static const std::vector<std::pair<std::string, std::string>> fold{
      {"０", "0"}, {"３", "3"},     {"－", "-"}, {"＋", "+"},
      {"．", "."}, {"\u3000", " "}, {"\t", " "}};
  for (const auto& [wide, narrow] : fold)
    for (auto at = text.find(wide); at != std::string::npos; at = text.find(wide))
      text.replace(at, wide.size(), narrow);
  static const std::regex plain(R"(^ *([+-]?) *([0-9]+\.?[0-9]*|\.[0-9]+) *$)");
  std::smatch m;
  if (!std::regex_match(text, m, plain))
    return std::nullopt;
  const double value = std::stod(m[2].str());
  return m[1] == "-" ? -value : value;
}

std::string written(double value) {
  if (value == 0)
    return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

struct Model {
  std::string text = "60";
  int mode = 0;  // 0 none, 1 shut down, 2 restart
  bool counting = false;
  int notices = 0;
  std::vector<std::string> fired;

  // The watcher, after the text became `t`.
  void changed(const std::string& t) {
    text = t;
    if (length(text) > 7) {
      ++notices;
      text = "60";
    }
    auto n = number(text);
    if (n && *n == 0.0 && mode != 0) {
      fired.push_back(mode == 1 ? "cmd.exe /c shutdown -s -t 3" : "cmd.exe /c shutdown -r -t 3");
      counting = false;
    }
  }
  void tick() {
    if (!counting || length(text) > 7)
      return;
    if (auto n = number(text))
      changed(written(*n - 1));
  }
};

std::string randomText(std::mt19937& rng) {
  static const std::vector<std::string> pieces{"0", "1",  "2",  "5",   "9",  "-",      "+", ".",
                                               " ", "０", "３", "－",  "．", "\u3000", "a", "e",
                                               "x", "关", "00", "0.0", "-0", "1e2",    "\t"};
  std::uniform_int_distribution<int> length(0, 9), piece(0, static_cast<int>(pieces.size()) - 1);
  std::string t;
  for (int n = length(rng); n > 0; --n) t += pieces[static_cast<std::size_t>(piece(rng))];
  return t;
}

class CountdownFuzz : public ProgramTest {};

TEST_F(CountdownFuzz, MatchesTheModelAndNeverRaises) {
  startToMain();
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::mt19937 rng(seed);
    Model model;
    model.text = text();
    model.mode = mainForm().Option1().Value() ? 1 : mainForm().Option2().Value() ? 2 : 0;
    model.counting = mainForm().Timer1().Enabled() == app::True;
    platform.commands.clear();
    platform.boxes.clear();
    // Small counts keep zero within reach of the ticks.
    std::uniform_int_distribution<int> action(0, 9), small(0, 4);
    for (int step = 0; step < 2500; ++step) {
      switch (action(rng)) {
        case 0:
        case 1:
        case 2: {
          auto t = randomText(rng);
          type(t);
          model.changed(t);
          break;
        }
        case 3: {
          auto t = std::to_string(small(rng));
          type(t);
          model.changed(t);
          break;
        }
        case 4:
        case 5:
        case 6:
          platform.advance(1s);
          model.tick();
          break;
        case 7:
          click("Command1");
          if (model.mode == 0)
            ++model.notices;
          model.counting = model.counting || model.mode != 0;
          if (model.text.empty())
            ++model.notices;
          break;
        case 8:
          click("Option1");
          model.mode = 1;
          break;
        case 9:
          click("Option2");
          model.mode = 2;
          break;
      }
      ASSERT_EQ(text(), model.text) << "seed " << seed << " step " << step;
      ASSERT_EQ(mainForm().Timer1().Enabled() == app::True, model.counting)
          << "seed " << seed << " step " << step;
      ASSERT_EQ(commandLines(), model.fired) << "seed " << seed << " step " << step;
      ASSERT_EQ(static_cast<int>(platform.boxes.size()), model.notices)
          << "seed " << seed << " step " << step;
    }
    for (auto& box : platform.boxes) EXPECT_EQ(box.title, "错误") << box.text;  // no runtime error
    EXPECT_FALSE(model.fired.empty()) << "seed " << seed << " never reached zero";
  }
}

}  // namespace
}  // namespace sim
