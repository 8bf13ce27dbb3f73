#include "platform/qt/dbus_failures.h"

#include <array>
#include <utility>

namespace qtui {

namespace {

constexpr auto kNoSystemBus = "无法连接系统总线。";

// Error names as D-Bus, logind and polkit send them.
const std::array<std::pair<const char*, const char*>, 13> kReasons{{
    {"org.freedesktop.DBus.Error.AccessDenied", "系统拒绝了这个请求，当前用户没有权限。"},
    {"org.freedesktop.DBus.Error.AuthFailed", "系统拒绝了这个请求，当前用户没有权限。"},
    {"org.freedesktop.PolicyKit1.Error.NotAuthorized", "系统拒绝了这个请求，当前用户没有权限。"},
    {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
     "系统要求先验证身份，但没有可以询问密码的认证代理。"},
    {"org.freedesktop.PolicyKit1.Error.Cancelled", "身份验证已取消。"},
    {"org.freedesktop.DBus.Error.ServiceUnknown", "系统中没有运行 systemd-logind。"},
    {"org.freedesktop.DBus.Error.NameHasNoOwner", "系统中没有运行 systemd-logind。"},
    {"org.freedesktop.DBus.Error.NoReply", "systemd-logind 没有及时应答，无法确认请求是否生效。"},
    {"org.freedesktop.DBus.Error.Timeout", "systemd-logind 没有及时应答，无法确认请求是否生效。"},
    {"org.freedesktop.DBus.Error.TimedOut", "systemd-logind 没有及时应答，无法确认请求是否生效。"},
    {"org.freedesktop.DBus.Error.Disconnected", kNoSystemBus},
    {"org.freedesktop.DBus.Error.UnknownMethod", "这个系统的 systemd-logind 不支持定时关机。"},
    {"org.freedesktop.DBus.Error.UnknownObject", "这个系统的 systemd-logind 不支持定时关机。"},
}};

QString detailLine(const QDBusError& error) {
  if (error.name().isEmpty())
    return {};
  const QString text =
      error.message().isEmpty() ? error.name() : error.message() + " (" + error.name() + ")";
  return QStringLiteral("\n详细信息：") + text;
}

}  // namespace

QString failureReason(const QDBusError& error) {
  QString reason = QStringLiteral("系统未能完成这个请求。");
  for (const auto& [name, words] : kReasons)
    if (error.name() == QLatin1String(name))
      reason = QString::fromUtf8(words);
  return reason + detailLine(error);
}

QString noSystemBusReason(const QDBusError& detail) {
  return QString::fromUtf8(kNoSystemBus) + detailLine(detail);
}

}  // namespace qtui
