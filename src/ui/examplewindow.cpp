#include "ui/examplewindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QVBoxLayout>

#include "ui/placement.h"
#include "widgets/image.h"

namespace tintbox {

void ShowExampleWindow(const TPicture& APicture, QWidget* ACentreOver) {
  // No owner: the window has a taskbar entry of its own, with the system menu
  // and maximise but no minimise; sizeable.
  QDialog window(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  window.setWindowTitle(QCoreApplication::translate("ExampleWindow", "Пример"));
  window.setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* image = new TImage(&window);
  image->AssignPicture(&APicture);
  image->SetStretch(true);
  layout->addWidget(image);

  // 640 x 480 outside, frame and title bar included; centred over the main window.
  PlaceByFrame(&window, [&](const QMargins& AFrame) {
    QRect outer(QPoint(0, 0), QSize(640, 480));
    if (ACentreOver) outer.moveCenter(ACentreOver->frameGeometry().center());
    SetFrameGeometry(&window, AFrame, outer);
  });
  window.setWindowModality(Qt::ApplicationModal);
  window.exec();
}

}  // namespace tintbox
