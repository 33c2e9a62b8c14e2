// The game: start-up, opening a picture and setting up its palette, colouring
// and the completion test, and moving between pictures. The handlers are
// those of the main window's controls.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "game/colorslist.h"
#include "game/random.h"
#include "ui/mainwindow.h"

namespace tintbox {

// A palette button of colour AColor on APanel, its properties set in the
// order the game sets them.
TFlatButton* CreatePaletteButton(QWidget* APanel, const QRect& AGeometry, TColor AColor,
                                 TNotifyEvent AOnClick);

class TGame {
 public:
  // AProgramFile: the program file's full path; the pictures lie beside it.
  TGame(TForm1& AForm, TRandom& ARandom, std::string AProgramFile);

  // Window handlers.
  void FormCreate();
  void FormShow();
  void FormClose();

  // Opening a picture.
  void LoadPicture(int i);
  void CreateGame(int i);
  void UpdateIndex(int i);
  void ColorButtonClick(QObject* Sender);

  // Colouring.
  void imClick();

  // Navigation and the example.
  void prevbtnClick();
  void maxbtnClick();
  void indexClick();
  void exClick();

  std::string ImagesPath;
  std::string PictureFileName(int n) const;
  TColorsList* ColorsList() const { return FColorsList.get(); }

 private:
  // Shows AText and, once it is dismissed, runs ABeforeClose (if any) and
  // closes the main window: the program ends.
  void FatalStop(const QString& AText, const std::function<void()>& ABeforeClose = {});

  TForm1& Form1;
  TRandom& FRandom;
  std::string FProgramFile;
  std::unique_ptr<TColorsList> FColorsList;
};

}  // namespace tintbox
