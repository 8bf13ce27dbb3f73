// Reads what the stand-in logind and notification daemon recorded.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <cstdlib>
#include <functional>
#include <vector>

namespace qttest {

class BusLog {
 public:
  BusLog() : path_(QString::fromLocal8Bit(std::getenv("TAVIMO_BUS_LOG"))) {}

  std::vector<QJsonObject> entries() const {
    std::vector<QJsonObject> out;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
      return out;
    while (!file.atEnd()) {
      const QByteArray line = file.readLine().trimmed();
      if (!line.isEmpty())
        out.push_back(QJsonDocument::fromJson(line).object());
    }
    return out;
  }

  // The entries of one call, after the first `skip` entries of the log.
  std::vector<QJsonObject> calls(const QString& name, std::size_t skip = 0) const {
    std::vector<QJsonObject> out;
    auto all = entries();
    for (std::size_t i = skip; i < all.size(); ++i)
      if (all[i].value("call").toString() == name)
        out.push_back(all[i]);
    return out;
  }

  // Notifications are sent without waiting for an answer: give them time.
  std::vector<QJsonObject> waitForCalls(const QString& name, std::size_t skip, std::size_t count,
                                        int ms = 3000) const {
    QElapsedTimer clock;
    clock.start();
    auto found = calls(name, skip);
    while (found.size() < count && clock.elapsed() < ms) {
      QThread::msleep(10);
      found = calls(name, skip);
    }
    return found;
  }

  std::size_t size() const { return entries().size(); }

 private:
  QString path_;
};

}  // namespace qttest
