// The program's colours (RGB or &H800000xx system colours) as Qt colours.
#pragma once

#include <QColor>

#include "app/basic_types.h"

namespace qtui {

QColor toQColor(app::Colour colour);

}  // namespace qtui
