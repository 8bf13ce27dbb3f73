#include "forms/project.h"

#include "forms/HY.h"

namespace forms {

const app::ProjectDescription& project() {
  static const app::ProjectDescription description{
      .title = "Tavimo关机工具",
      .description = "Tavimo关机工具3.6.0",
      .locale = 0x804,
      .forms = {"HY", "main", "GY", "Form1"},
      .startupForm = [] { return std::make_unique<HY>(); },
  };
  return description;
}

}  // namespace forms
