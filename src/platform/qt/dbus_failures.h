// Why a D-Bus request failed, said in Chinese: the usual errors by name,
// the system's own text kept only as a detail line.
#pragma once

#include <QDBusError>
#include <QString>

namespace qtui {

// "系统拒绝了这个请求，当前用户没有权限。\n详细信息：…"
QString failureReason(const QDBusError& error);
// The system bus itself could not be reached; detail is the bus's error.
QString noSystemBusReason(const QDBusError& detail);

}  // namespace qtui
