#include "ui/examplewindow.h"

#include <QDialog>
#include <QVBoxLayout>

#include "widgets/image.h"

namespace tintbox {

void ShowExampleWindow(const TPicture& APicture, QWidget* ACentreOver) {
  // No owner: the window has a taskbar entry of its own, with the system menu
  // and maximise but no minimise; sizeable.
  QDialog window(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  window.setWindowTitle(QString::fromUtf8("Пример"));
  window.setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* image = new TImage(&window);
  image->AssignPicture(&APicture);
  image->SetStretch(true);
  layout->addWidget(image);

  // 640 x 480 outside, frame and title bar included; centred over the main window.
  const QSize outer(640, 480);
  window.resize(outer);
  auto place = [&] {
    const QRect frame = window.frameGeometry();
    const QSize extra = frame.size() - window.geometry().size();
    window.resize(outer - extra);
    QRect target(QPoint(0, 0), outer);
    if (ACentreOver) target.moveCenter(ACentreOver->frameGeometry().center());
    window.move(target.topLeft());
  };
  place();
  window.setWindowModality(Qt::ApplicationModal);
  window.show();
  place();  // the frame's size is known once the window is shown
  window.exec();
}

}  // namespace tintbox
