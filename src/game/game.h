// The game: start-up, opening a picture and setting up its palette, colouring
// and the completion test, and moving between pictures. The handlers are
// those of the main window's controls.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "rules/colorslist.h"
#include "rules/random.h"
#include "ui/mainwindow.h"

namespace tintbox {

// The per-control integer that marks the game's palette buttons.
inline constexpr int32_t PaletteTag = -100;

// A palette button of colour AColor on APanel, its properties set in the
// order the game sets them.
TFlatButton* CreatePaletteButton(QWidget* APanel, const QRect& AGeometry, TColor AColor,
                                 TNotifyEvent AOnClick);

class TGame {
 public:
  // AProgramFile: the program file's full path; the pictures lie beside it,
  // unless AFolder names the folder to play instead.
  TGame(TForm1& AForm, TRandom& ARandom, std::string AProgramFile,
        std::optional<std::string> AFolder = std::nullopt);

  // Window handlers.
  void FormCreate();
  void FormShow();
  void FormClose();

  // Opening a picture.
  void LoadPicture(int i);
  void CreateGame(int i);
  void UpdateIndex(int i);
  void ColorButtonClick(QObject* Sender);

  // Colouring, and the hint of the areas still wrong.
  void imClick();
  void imRightClick();
  void ShowHint();

  // Colour by number: off at start, on and off with N for the rest of the
  // run, whatever picture is open. ShowNumbers brings the palette's digits
  // and the picture's up to date with the work.
  void ToggleNumbers();
  void ShowNumbers();
  bool NumbersOn() const { return FNumbers; }

  // Navigation and the example.
  void prevbtnClick();
  void maxbtnClick();
  void indexClick();
  void exClick();

  // The keys of the main window: 1 to 9 and 0 pick palette buttons 1 to 10;
  // Left and Page Up go back, Right and Page Down on, Home and End to the
  // first and the last picture; H shows the hint, N turns the numbers on or
  // off, M mutes and unmutes the sounds. True when the key was used.
  bool FormKeyDown(int Key, Qt::KeyboardModifiers Shift);

  std::string ImagesPath;
  std::string PictureFileName(int n) const;
  TColorsList* ColorsList() const { return FColorsList.get(); }

 private:
  // Shows AText and, once it is dismissed, runs ABeforeClose (if any) and
  // closes the main window: the program ends.
  void FatalStop(const QString& AText, const std::function<void()>& ABeforeClose = {});
  // Opens picture i unless it is open already: a move that goes nowhere
  // keeps the player's work.
  void MoveTo(int i);
  // Palette button k (1 is the first), or nullptr.
  TFlatButton* PaletteButton(int k) const;
  // Where AButton sits in the palette (0 is the first), or -1.
  int PalettePosition(const TFlatButton* AButton) const;

  TForm1& Form1;
  TRandom& FRandom;
  std::string FProgramFile;
  std::optional<std::string> FFolder;
  std::unique_ptr<TColorsList> FColorsList;
  bool FNumbers = false;
  // While CreateGame selects the first colour, which plays no note.
  bool FPreselecting = false;
};

}  // namespace tintbox
