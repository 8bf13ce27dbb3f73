// A title bar drawn by the program itself, for display servers that leave
// decorating to the client (Wayland): the whole caption, a close button
// when the form has a control box, no minimise or maximise button and no
// edges to resize by, as a fixed single border has.
#pragma once

#include <QWidget>

class QDialog;

namespace qtui {

// Wayland: the compositor places and stacks windows; a client can neither
// move, raise nor keep one on top, and decorates its windows itself.
bool onWayland();

class TitleBar : public QWidget {
 public:
  TitleBar(QWidget* window, bool closeButton);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

// The same bar above a dialog that Qt lays out itself (a message box).
void addTitleBar(QDialog& dialog);

}  // namespace qtui
