#include "platform/qt/x11_window_state.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>

namespace qtui {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  const auto cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return result;
}

}  // namespace

void keepOffTaskbar(QWidget& window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr || window.isVisible())
    return;  // the offscreen platform offers the interface without a server
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t states[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                               atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
  xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                      atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
  xcb_flush(connection);
}

}  // namespace qtui
