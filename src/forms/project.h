// The project description handed to the runtime at start.
#pragma once

#include "app/application.h"

namespace forms {

const app::ProjectDescription& project();

}  // namespace forms
