// The main window: quick shutdown buttons, the custom countdown, the tray,
// the close sequence and the menu.
#pragma once

#include <limits>
#include <string_view>

#include "app/form.h"

namespace forms {

using app::Integer;
using app::Long;
using app::Single;

class main : public app::Form {
 public:
  main();
  static const app::FormLayout& storedLayout();

  // Tray icon, minimise and restore.
  void Form_Load();
  void Form_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y);
  void Command5_Click();

  // Quick shutdown commands.
  void Command2_Click();
  void Command7_Click();
  void Command3_Click();
  void Command8_Click();
  void Command4_Click();
  void Command9_Click();
  void Command6_Click();

  // Custom countdown.
  void Command1_Click();
  void Timer1_Timer();
  void Text1_Change();

  // Close sequence.
  void Form_QueryUnload(Integer& Cancel, Integer& UnloadMode);
  void ULD_Timer();

  // Menu.
  void 说明_Click();
  void 关于_Click();
  void 留言_Click();
  void 换肤_Click();

  app::Control& Text1() { return control("Text1"); }
  app::Control& Option1() { return control("Option1"); }
  app::Control& Option2() { return control("Option2"); }
  app::Control& Timer1() { return control("Timer1"); }
  app::Control& ULD() { return control("ULD"); }

  void raise(app::Event& event) override;
  bool inTray() const override { return iconInTray_; }

 private:
  // The one record of whether the tray icon is there: the shell took the
  // last add, and no restore has removed it since.
  bool iconInTray_ = false;
  // The close sequence: the narrowest width read back so far, and for how
  // many ticks in a row the window has not become narrower than that.
  Single narrowestSeen_ = std::numeric_limits<Single>::infinity();
  int ticksNotNarrower_ = 0;
};

}  // namespace forms
