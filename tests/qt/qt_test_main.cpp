// One QApplication on the offscreen platform for every widget and D-Bus
// test. Only under with_private_buses.sh (which sets TAVIMO_BUS_LOG) do
// the buses lead anywhere, so no test can reach a real system service.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* system = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
  if (!std::getenv("TAVIMO_BUS_LOG") || !system ||
      std::string(system).find("/run/dbus") != std::string::npos) {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/session_bus_socket", 1);
  }
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
