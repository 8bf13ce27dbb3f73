// The skin chooser: sets main's picture from a file beside the program.
// main is disabled while it is loaded.
#pragma once

#include <string_view>

#include "app/form.h"

namespace forms {

class Form1 : public app::Form {
 public:
  Form1();
  static const app::FormLayout& storedLayout();

  void Form_Load();
  void Form_Unload(app::Integer& Cancel);
  void Command1_Click();
  void Label1_Click();

  app::Control& Option1() { return control("Option1"); }
  app::Control& Option2() { return control("Option2"); }
  app::Control& Option3() { return control("Option3"); }

  void raise(app::Event& event) override;

 private:
  void applySkin(std::string_view suffix);
};

}  // namespace forms
