// The Linux program's requests against dbusmock's logind and notification
// daemon on private buses (see with_private_buses.sh): what is scheduled,
// when, what the desktop is told, that the window never waits for logind,
// and that a refusal is never reported as done.
#include <QAbstractButton>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <chrono>
#include <string>

#include "bus_log.h"
#include "platform/qt/system_commands.h"
#include "qt_program.h"

namespace qttest {
namespace {

using app::CommandLine;
using namespace std::chrono_literals;

// Sets the mock logind's behaviour (see logind_shutdown.py).
void control(const char* setting, const QVariant& value) {
  const QDBusMessage reply = QDBusConnection::systemBus().call(
      logindMockCall("Set") << setting << QVariant::fromValue(QDBusVariant(value)));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

// The program as it runs, its requests going to the system bus.
struct Program : Running<qtui::SystemCommands> {
  explicit Program(std::chrono::milliseconds replyTimeout = qtui::LogindClient::kReplyTimeout)
      : Running(replyTimeout) {
    showMain();
  }
  void request(const CommandLine& command) {
    platform.run(command, app::WindowStyle::MinimizedFocus);
  }
  std::function<void()> atBox;  // looks at the program while a box is open
  BoxAnswerer answers{[this] {
    if (atBox)
      atBox();
    return true;
  }};
};

class LogindRequests : public ::testing::Test {
 protected:
  void TearDown() override { resetStandIn(); }
  void resetStandIn() {
    control("refusal", QString());
    control("wants_interactive", false);
    control("delay_ms", 0u);
    control("present", true);
  }
  // Runs the event loop until the notification daemon has `count` more.
  std::vector<QVariantList> notes(std::size_t count = 1, int ms = 3000) {
    (void)QTest::qWaitFor([&] { return log.calls("Notify").size() >= count; }, ms);
    return log.calls("Notify");
  }
  BusLog log;
};

// The mock refuses any request that does not let polkit ask the user (the
// header flag ALLOW_INTERACTIVE_AUTHORIZATION), so each note of success
// shows the flag was set; the cancel notes show what logind answered.
TEST_F(LogindRequests, AcceptedRequestsLetPolkitAskAndAreAnnouncedOnceLogindAnswers) {
  control("wants_interactive", true);
  struct Row {
    CommandLine command;
    const char* type;  // of shutdown; none for a cancel
    qint64 seconds;
    const char* note;
  };
  const Row rows[] = {
      {CommandLine::shutDownAfter(60), "poweroff", 60, "将在 60 秒后关机"},
      {CommandLine::shutDownAfter(7200), "poweroff", 7200, "将在 2 小时后关机"},
      {CommandLine::restartAfter(3), "reboot", 3, "将在 3 秒后重启"},
      {CommandLine::abortShutdown(), nullptr, 0, "已取消关机"},
      {CommandLine::abortShutdown(), nullptr, 0, "没有计划中的关机可以取消"},
  };
  Program program;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.note);
    log.clear();
    const qint64 at = (QDateTime::currentMSecsSinceEpoch() + row.seconds * 1000) * 1000;  // usec
    program.request(row.command);
    auto said = notes();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(noteBody(said[0]), row.note);
    EXPECT_EQ(noteApp(said[0]), "Tavimo 关机工具");
    EXPECT_EQ(noteUrgency(said[0]), 1);
    EXPECT_TRUE(program.answers.boxes.empty());
    auto calls = log.calls(row.type ? "ScheduleShutdown" : "CancelScheduledShutdown");
    ASSERT_EQ(calls.size(), 1u);
    if (!row.type)
      continue;
    EXPECT_EQ(calls[0].value(0).toString(), row.type);
    EXPECT_NEAR(calls[0].value(1).toDouble(), static_cast<double>(at), 1e6);
  }
}

// Every failure ends in an error box and a critical notification that say
// in Chinese what did not happen and why; the system's words only follow.
TEST_F(LogindRequests, FailuresAreToldInChineseInABoxAndACriticalNote) {
  struct Row {
    const char* setting;  // of the stand-in, with its value
    QVariant value;
    const char* errorName;  // ends the detail line
    CommandLine command;
    const char* said;  // up to the detail line
  };
  const Row rows[] = {
      {"refusal", "org.freedesktop.DBus.Error.AccessDenied",
       "org.freedesktop.DBus.Error.AccessDenied", CommandLine::shutDownAfter(60),
       "无法安排关机：系统拒绝了这个请求，当前用户没有权限。"},
      {"refusal", "org.freedesktop.PolicyKit1.Error.NotAuthorized",
       "org.freedesktop.PolicyKit1.Error.NotAuthorized", CommandLine::shutDownAfter(1800),
       "无法安排关机：系统拒绝了这个请求，当前用户没有权限。"},
      {"refusal", "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
       "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", CommandLine::restartAfter(3),
       "无法安排重启：系统要求先验证身份，但没有可以询问密码的认证代理。"},
      {"present", false, "org.freedesktop.DBus.Error.ServiceUnknown", CommandLine::abortShutdown(),
       "无法取消关机：系统中没有运行 systemd-logind。"},
      {"delay_ms", 3000u, "org.freedesktop.DBus.Error.NoReply", CommandLine::shutDownAfter(60),
       "无法安排关机：systemd-logind 没有及时应答，无法确认请求是否生效。"},
      {"refusal", "org.freedesktop.login1.OperationInProgress",
       "org.freedesktop.login1.OperationInProgress", CommandLine::shutDownAfter(3600),
       "无法安排关机：系统未能完成这个请求。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.said);
    control(row.setting, row.value);
    Program program(1s);  // the stand-in answers at once or after 3 s
    auto& answers = program.answers;
    log.clear();
    program.request(row.command);
    ASSERT_TRUE(answers.boxes.empty()) << "told only once logind answered";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.boxes.empty(); }, 5000));
    const SeenBox box = answers.boxes[0];
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.title, "Tavimo关机工具");
    EXPECT_TRUE(box.text.startsWith(QString(row.said) + "\n详细信息：")) << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(QString("(") + row.errorName + ")")) << box.text.toStdString();
    auto said = notes();
    ASSERT_EQ(said.size(), 1u) << "nothing is reported as done";
    EXPECT_EQ(noteBody(said[0]), box.text);
    EXPECT_EQ(noteUrgency(said[0]), 2);
    resetStandIn();
  }
}

// At zero the box shows 0 and Timer1 is off before logind answers; the
// refusal follows, and nothing counts on behind its box.
TEST_F(LogindRequests, TheCountdownEndsAtZeroBeforeARefusalIsTold) {
  control("refusal", "org.freedesktop.DBus.Error.AccessDenied");
  control("delay_ms", 300u);
  Program program;
  std::string textAtBox;
  app::Boolean timerAtBox = app::True;
  program.atBox = [&] {
    textAtBox = program.mainForm().Text1().Text();
    timerAtBox = program.mainForm().Timer1().Enabled();
  };
  auto& answers = program.answers;
  log.clear();
  program.startCountdown("Option1", "2");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.boxes.empty(); }, 5000));
  EXPECT_EQ(textAtBox, "0");
  EXPECT_EQ(timerAtBox, app::False);
  EXPECT_TRUE(answers.boxes[0].text.startsWith("无法安排关机：系统拒绝了这个请求"));
  EXPECT_EQ(log.calls("ScheduleShutdown").at(0).value(0).toString(), "poweroff");
  EXPECT_EQ(noteUrgency(notes().at(0)), 2);
  QTest::qWait(1500);
  EXPECT_EQ(program.mainForm().Text1().Text(), "0") << "no -1 behind the box";
  EXPECT_EQ(answers.boxes.size(), 1u);
}

// logind answers only after 5 s: the press returns at once, the countdown
// keeps ticking and another press is handled while the answer is awaited.
TEST_F(LogindRequests, TheWindowNeverWaitsForLogind) {
  control("delay_ms", 5000u);
  Program program;
  program.startCountdown("Option1", "30");
  log.clear();
  QElapsedTimer clock;
  clock.start();
  program.widget<QAbstractButton>(program.mainForm(), "Command2")->click();
  const qint64 pressMs = clock.elapsed();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !log.calls("ScheduleShutdown").empty(); }));
  QTest::qWait(2200);
  EXPECT_LE(std::stod(program.mainForm().Text1().Text()), 28) << "the countdown ticked on";

  QElapsedTimer handled;  // a press as the user makes it: an event of the loop
  handled.start();
  QMetaObject::invokeMethod(program.widget<QAbstractButton>(program.mainForm(), "Option2"),
                            &QAbstractButton::click, Qt::QueuedConnection);
  ASSERT_TRUE(QTest::qWaitFor([&] { return program.mainForm().Option2().Value() == app::True; }));
  const qint64 handledMs = handled.elapsed();
  EXPECT_TRUE(log.calls("Notify").empty()) << "handled before logind answered";
  std::printf("press returned in %lld ms; another was handled in %lld ms; logind answered at ",
              static_cast<long long>(pressMs), static_cast<long long>(handledMs));
  auto said = notes(1, 6000);
  std::printf("%lld ms\n", static_cast<long long>(clock.elapsed()));
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(noteBody(said[0]), "将在 60 秒后关机");
}

// A cancel made while logind still weighs a shutdown request (polkit asking
// for a password) reaches logind after it, and so cancels it.
TEST_F(LogindRequests, ACancelMadeWhileAShutdownAwaitsItsAnswerFollowsIt) {
  control("delay_ms", 500u);
  Program program;
  log.clear();
  program.request(CommandLine::shutDownAfter(60));
  program.request(CommandLine::abortShutdown());
  auto said = notes(2, 5000);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(noteBody(said[0]), "将在 60 秒后关机");
  EXPECT_EQ(noteBody(said[1]), "已取消关机") << "the cancel found the shutdown pending";
  EXPECT_EQ(log.calls("CancelScheduledShutdown").size(), 1u);
}

// Run with a system bus address nobody listens on (see CMakeLists.txt).
TEST(WithoutSystemBus, RequestsAreToldAsFailedNeverAsDone) {
  ASSERT_FALSE(QDBusConnection::systemBus().isConnected());
  Program program;
  auto& answers = program.answers;
  BusLog log;
  program.request(CommandLine::shutDownAfter(60));
  ASSERT_TRUE(answers.boxes.empty());
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !answers.boxes.empty() && !log.calls("Notify").empty(); }));
  EXPECT_TRUE(answers.boxes[0].text.startsWith("无法安排关机：无法连接系统总线。\n详细信息："));
  EXPECT_EQ(noteBody(log.calls("Notify").at(0)), answers.boxes[0].text);
}

}  // namespace
}  // namespace qttest
