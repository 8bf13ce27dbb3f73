// One QApplication on the offscreen platform for every widget test. Both
// buses point nowhere, so no test can reach a real system service.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/session_bus_socket", 1);
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
