// The custom countdown. The count lives in Text1's text: every step reads
// the text, and the tick writes the lowered number back.
#include "app/application.h"
#include "app/conversions.h"
#include "forms/main.h"

namespace forms {

namespace {

constexpr std::size_t kLongestCount = 7;

// Text that is no number (an empty box, a lone sign) is not zero.
bool isZero(const std::string& text) {
  auto number = app::parseNumber(text);
  return number && *number == 0.0;
}

void error(const std::string& text) {
  app::MsgBox(text, app::MsgBoxStyle::Critical, "错误");
}

}  // namespace

void main::Command1_Click() {
  if (Option1().Value() == app::False && Option2().Value() == app::False) {
    error("请选择模式");
  } else {
    Timer1().setEnabled(app::True);
  }
  if (Text1().Text().empty())
    error("请输入正确的时间！");
}

void main::Timer1_Timer() {
  const std::string& text = Text1().Text();
  // A text too long is about to be reset by the watcher's notice; one that
  // is no number waits until the box holds a number again.
  if (app::Len(text) > kLongestCount)
    return;
  auto count = app::parseNumber(text);
  if (!count)
    return;
  Text1().setText(app::CStr(*count - 1.0));
}

void main::Text1_Change() {
  if (app::Len(Text1().Text()) > kLongestCount) {
    error("输入的数字过大");
    Text1().setText(app::CStr(app::Integer{60}));
  }
  if (isZero(Text1().Text()) && Option1().Value() == app::True) {
    app::Shell(app::CommandLine::shutDownAfter(3), app::WindowStyle::MinimizedFocus);
    Timer1().setEnabled(app::False);
  }
  if (isZero(Text1().Text()) && Option2().Value() == app::True) {
    app::Shell(app::CommandLine::restartAfter(3), app::WindowStyle::MinimizedFocus);
    Timer1().setEnabled(app::False);
  }
}

}  // namespace forms
