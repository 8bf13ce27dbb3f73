#include "platform/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMessageBox>

#include "platform/qt/form_window.h"

namespace qtui {

namespace {

// Qt names a top-level window by its title already; a message box's text
// becomes its description, so a screen reader reads both when it opens.
class MessageBoxDescription : public QAccessibleWidget {
 public:
  explicit MessageBoxDescription(QMessageBox* box)
      : QAccessibleWidget(box, QAccessible::AlertMessage) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Description)
      return static_cast<const QMessageBox*>(widget())->text();
    return QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* describe(const QString& className, QObject* object) {
  // A plain QWidget would be a "filler", not a window.
  if (auto* window = dynamic_cast<FormWindow*>(object))
    return new QAccessibleWidget(window, QAccessible::Window);
  if (className == QLatin1String("QMessageBox"))
    return new MessageBoxDescription(static_cast<QMessageBox*>(object));
  return nullptr;
}

}  // namespace

void describeWindowsToAssistiveTechnology() {
  QAccessible::installFactory(&describe);
}

}  // namespace qtui
