// Closes the modal boxes a test's clicks open, as a user would with "OK", and
// keeps what each showed. File dialogs are answered by a callback.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <vector>

namespace tacho::test {

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon;
  int buttons;  // how many buttons it had
};

class BoxCatcher {
 public:
  BoxCatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  std::vector<SeenBox> boxes;
  // Answers a file dialog: select a file and accept it, or reject it.
  std::function<void(QFileDialog&)> answerDialog = [](QFileDialog& d) { d.reject(); };
  std::vector<QString> dialogNames;

  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (const SeenBox& b : boxes) texts.push_back(b.text);
    return texts;
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
      boxes.push_back({box->text(), box->windowTitle(), box->icon(), static_cast<int>(box->buttons().size())});
      box->button(QMessageBox::Ok)->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && dialog->isVisible()) {
      dialogNames.push_back(dialog->objectName());
      answerDialog(*dialog);
    }
  }

  QTimer timer_;
};

}  // namespace tacho::test
