// The about box: a banner, the edition and a note; its button closes it.
#pragma once

#include "app/form.h"

namespace forms {

class GY : public app::Form {
 public:
  GY();
  static const app::FormLayout& storedLayout();

  void Command1_Click();

  void raise(app::Event& event) override;
};

}  // namespace forms
