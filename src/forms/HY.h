// The splash banner: topmost, colour-keyed, gone after one second.
#pragma once

#include "app/form.h"

namespace forms {

class HY : public app::Form {
 public:
  HY();
  static const app::FormLayout& storedLayout();

  void Form_Load();
  void Timer1_Timer();

  void raise(app::Event& event) override;
};

}  // namespace forms
