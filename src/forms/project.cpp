#include "forms/project.h"

#include "forms/HY.h"

namespace forms {

const app::ProjectDescription& project() {
  static const app::ProjectDescription description{
      .title = "Tavimo关机工具",
      .startupForm = [] { return std::make_unique<HY>(); },
  };
  return description;
}

}  // namespace forms
