#include "SimpleMainWindow.h"

#include "ButtonMatrix.h"
#include "MainController.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>

SimpleMainWindow::SimpleMainWindow(MainController *controller, QWidget *parent)
    : QWidget(parent, Qt::Window), controller_(controller) {
  setObjectName(QStringLiteral("wndSimpleMain"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  const char *const names[] = {"matrixSms", "matrixPhoneBook", "matrixSet", "matrixHelp", "matrixRecord"};
  const char *const titles[] = {"SMS", "Phonebook", "Settings", "Help", "DialRecord"};
  for (int tag = 0; tag < 5; ++tag) {
    auto *matrix = new ButtonMatrix(this);
    matrix->setObjectName(QLatin1String(names[tag]));
    matrix->setProperty("tag", tag);
    matrix->setMode(ButtonMatrix::HighlightMode);
    const QString title = QLatin1String(titles[tag]);
    matrix->setCellFactory([title](QWidget *parent) {
      auto *button = new QPushButton(parent);
      button->setText(title);
      return button;
    });
    matrix->setCellSize(QSize(96, 64));
    matrix->renewRows(1, 1);
    matrix->sizeToCells();
    matrix->setFixedSize(matrix->size()); // the layout keeps the cells' own size
    connect(matrix, &ButtonMatrix::cellActivated, this, [this, matrix] {
      if (controller_)
        controller_->goBackToMainWnd(matrix);
    });
    layout->addWidget(matrix);
    matrices_ << matrix;
  }
  resize(sizeHint());
}

void SimpleMainWindow::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (!controller_)
    return;
  // Either the program quits, or the close button only hides the windows.
  if (controller_->windowShouldClose(this) || controller_->wndFlag() == 0)
    hide();
}
