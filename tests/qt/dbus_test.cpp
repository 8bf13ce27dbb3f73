// The Linux requests against a stand-in logind and notification daemon on
// private buses (see with_private_buses.sh): what is scheduled, when, what
// the desktop is told, and that a refusal is never reported as done.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <chrono>
#include <cstdlib>
#include <string>

#include "app/runtime_error.h"
#include "bus_log.h"
#include "platform/qt/system_commands.h"

namespace qttest {
namespace {

using app::CommandLine;

qint64 nowUsec() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void control(const QString& method, bool value) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      "org.tavimo.Test.Control", "/org/freedesktop/login1", "org.tavimo.Test.Control", method);
  call << value;
  const QDBusMessage reply = QDBusConnection::systemBus().call(call);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

class LogindRequests : public ::testing::Test {
 protected:
  void TearDown() override { control("SetRefuse", false); }

  // Runs the request and waits for the one notification it sends; returns
  // the runtime error number it raised, or 0.
  int run(const CommandLine& command) {
    const std::size_t notes = log.calls("Notify").size();
    int number = 0;
    try {
      commands.run(command);
    } catch (const app::RuntimeError& error) {
      lastError = error.description();
      number = error.number();
    }
    EXPECT_EQ(log.waitForCalls("Notify", 0, notes + 1).size(), notes + 1)
        << "every request is announced";
    return number;
  }
  static std::string body(const QJsonObject& note) {
    return note.value("body").toString().toStdString();
  }

  qtui::SystemCommands commands;
  BusLog log;
  std::string lastError;
};

TEST_F(LogindRequests, SixtySecondsSchedulesAPowerOffOneMinuteFromNow) {
  const std::size_t before = log.size();
  const qint64 expected = nowUsec() + 60'000'000;
  ASSERT_EQ(run(CommandLine::shutDownAfter(60)), 0);
  auto calls = log.calls("ScheduleShutdown", before);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].value("type").toString(), "poweroff");
  EXPECT_NEAR(calls[0].value("usec").toDouble(), static_cast<double>(expected), 1e6);
  auto notes = log.calls("Notify", before);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(body(notes[0]), "将在 60 秒后关机");
  EXPECT_EQ(notes[0].value("app").toString(), "Tavimo 关机工具");
}

TEST_F(LogindRequests, TheCountdownsRestartIsARebootThreeSecondsOut) {
  const std::size_t before = log.size();
  const qint64 expected = nowUsec() + 3'000'000;
  ASSERT_EQ(run(CommandLine::restartAfter(3)), 0);
  auto calls = log.calls("ScheduleShutdown", before);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].value("type").toString(), "reboot");
  EXPECT_NEAR(calls[0].value("usec").toDouble(), static_cast<double>(expected), 1e6);
  auto notes = log.calls("Notify", before);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(body(notes[0]), "将在 3 秒后重启");
}

TEST_F(LogindRequests, AbortCancelsWhatIsPendingAndSaysWhenNothingWas) {
  ASSERT_EQ(run(CommandLine::shutDownAfter(18000)), 0);
  const std::size_t before = log.size();
  ASSERT_EQ(run(CommandLine::abortShutdown()), 0);
  ASSERT_EQ(run(CommandLine::abortShutdown()), 0);
  auto cancels = log.calls("CancelScheduledShutdown", before);
  ASSERT_EQ(cancels.size(), 2u);
  EXPECT_TRUE(cancels[0].value("cancelled").toBool());
  EXPECT_FALSE(cancels[1].value("cancelled").toBool());
  auto notes = log.calls("Notify", before);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(body(notes[0]), "已取消关机");
  EXPECT_EQ(body(notes[1]), "没有计划中的关机可以取消");
}

TEST_F(LogindRequests, ARefusalIsAnnouncedWithItsReasonAndRaised) {
  control("SetRefuse", true);
  const std::size_t before = log.size();
  EXPECT_EQ(run(CommandLine::shutDownAfter(60)), 70);
  EXPECT_NE(lastError.find("Access denied by the test's policy"), std::string::npos) << lastError;
  auto notes = log.calls("Notify", before);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(body(notes[0]), "无法安排关机：Access denied by the test's policy");
  EXPECT_TRUE(log.calls("ScheduleShutdown", before).at(0).value("refused").toBool());

  EXPECT_EQ(run(CommandLine::abortShutdown()), 0) << "cancelling is still allowed";
}

TEST_F(LogindRequests, AnAbsentLogindIsAnnouncedAndRaisedNeverFallenBackFrom) {
  control("SetPresent", false);
  const std::size_t before = log.size();
  EXPECT_NE(run(CommandLine::restartAfter(3)), 0);
  EXPECT_NE(run(CommandLine::abortShutdown()), 0);
  auto notes = log.calls("Notify", before);
  control("SetPresent", true);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(body(notes[0]).rfind("无法安排重启：", 0), 0u) << body(notes[0]);
  EXPECT_EQ(body(notes[1]).rfind("无法取消关机：", 0), 0u) << body(notes[1]);
  EXPECT_TRUE(log.calls("ScheduleShutdown", before).empty());
}

}  // namespace
}  // namespace qttest

int main(int argc, char* argv[]) {
  // Only ever against the private buses the wrapper started.
  const char* system = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
  const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const char* log = std::getenv("TAVIMO_BUS_LOG");
  if (!system || !session || !log || std::string(system).find("/run/dbus") != std::string::npos) {
    std::fprintf(stderr, "run me through with_private_buses.sh\n");
    return 2;
  }
  QCoreApplication qt(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
