#include "game/game.h"

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>

#include "picture/errors.h"
#include "rules/catalogue.h"
#include "rules/numbers.h"
#include "rules/playhelp.h"
#include "rules/strtoint.h"
#include "ui/dialogs.h"
#include "ui/examplewindow.h"
#include "widgets/control.h"

namespace tintbox {

namespace {

// The palette: a 64 x 64 frame with a margin of 7 around 50 x 50 buttons,
// starting at 16, 16 with 16 pixels between them.
constexpr int FrameSide = 64;
constexpr int FrameMargin = 7;
constexpr int PaletteStart = 16;
constexpr int PaletteGap = 16;

// The letter on the H key of a Russian keyboard layout (Р).
constexpr int KeyCyrillicEr = 0x0420;
// The letter on the N key of a Russian keyboard layout (Т).
constexpr int KeyCyrillicTe = 0x0422;
// The letter on the M key of a Russian keyboard layout (Ь).
constexpr int KeyCyrillicSoftSign = 0x042C;

}  // namespace

TGame::TGame(TForm1& AForm, TRandom& ARandom, std::string AProgramFile,
             std::optional<std::string> AFolder)
    : Form1(AForm),
      FRandom(ARandom),
      FProgramFile(std::move(AProgramFile)),
      FFolder(std::move(AFolder)) {
  Form1.im->OnClick = [this] { imClick(); };
  Form1.im->OnRightClick = [this] { imRightClick(); };
  Form1.ex->OnClick = [this] { exClick(); };
  Form1.prevbtn->OnClick = [this](QObject*) { prevbtnClick(); };
  Form1.maxbtn->OnClick = [this](QObject*) { maxbtnClick(); };
  Form1.index->OnClick = [this](QObject*) { indexClick(); };
  Form1.OnClose = [this] { FormClose(); };
  Form1.OnKeyDown = [this](int Key, Qt::KeyboardModifiers Shift) {
    return FormKeyDown(Key, Shift);
  };
}

std::string TGame::PictureFileName(int n) const {
  return tintbox::PictureFileName(ImagesPath, n);
}

void TGame::FormCreate() {
  FColorsList = std::make_unique<TColorsList>();
  ImagesPath = FFolder ? ImagesPathOf(*FFolder) : ImagesPathFor(FProgramFile);
  const int N = CountPictures(ImagesPath);
  if (N == 0) {
    FatalStop(QCoreApplication::translate("TGame", "Нет картинок. Программа будет завершена!"));
    return;
  }
  Form1.maxbtn->Tag = N;
}

void TGame::FormShow() {
  LoadPicture(1);
}

void TGame::FormClose() {
  FColorsList.reset();
}

void TGame::FatalStop(const QString& AText, const std::function<void()>& ABeforeClose) {
  ShowPlainMessage(AText);
  if (ABeforeClose) ABeforeClose();
  Form1.Close();
}

void TGame::UpdateIndex(int i) {
  Form1.index->SetCaption(QStringLiteral("%1/%2").arg(i).arg(Form1.maxbtn->Tag));
}

void TGame::LoadPicture(int i) {
  Form1.index->Tag = i;
  UpdateIndex(i);

  // The loading look.
  Form1.im->StopFlash();
  Form1.sh->hide();
  Form1.im->hide();
  Form1.ex->hide();
  Form1.an->hide();
  Form1.w->show();
  Form1.f->show();

  // The old palette goes.
  const QObjectList children = Form1.Panel1->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    auto* control = qobject_cast<TGraphicControlEx*>(*it);
    if (control && control->Tag == PaletteTag) delete control;
  }

  // Put the loading look on the screen while the file is read and scanned.
  if (Form1.isVisible()) Form1.repaint();

  try {
    Form1.im->Picture().LoadFromFile(PictureFileName(i));
  } catch (const std::exception&) {
    //: %1: the picture's number
    FatalStop(QCoreApplication::translate(
                  "TGame", "Картинки №%1 уже не существует. Программа будет завершена!")
                  .arg(i));
    return;
  }
  Form1.ex->AssignPicture(&Form1.im->Picture());

  ScanPicture(*Form1.im->Picture().Bitmap(), *FColorsList);
  FColorsList->Shuffle(FRandom);
  CreateGame(i);
}

TFlatButton* CreatePaletteButton(QWidget* APanel, const QRect& AGeometry, TColor AColor,
                                 TNotifyEvent AOnClick) {
  auto* button = new TFlatButton(APanel);
  button->setGeometry(AGeometry);
  button->SetGroupIndex(1);
  button->SetColor(AColor);
  button->SetCaption(QString());
  button->SetTransparent(false);
  button->SetFrameStyle(fsIndent);
  button->SetBorderWidth(2);
  button->SetPressOffset(0);
  button->OnClick = std::move(AOnClick);
  button->SetShowPressed(false);
  button->Tag = PaletteTag;
  button->show();
  return button;
}

void TGame::CreateGame(int i) {
  if (FColorsList->Count() > MaxColors) {
    //: %1: the picture's number; %2: the most colours a picture may have (10)
    FatalStop(QCoreApplication::translate(
                  "TGame",
                  "Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо "
                  "уменьшить количество цветов хотя бы до %2. Программа будет завершена!")
                  .arg(i)
                  .arg(MaxColors),
              [this] {
                Form1.im->AssignPicture(nullptr);
                Form1.ex->AssignPicture(nullptr);
              });
    return;
  }

  // The playing look.
  Form1.f->hide();
  Form1.w->hide();
  Form1.im->show();
  Form1.ex->show();

  Form1.sh->resize(FrameSide, FrameSide);
  Form1.sh->Tag = FrameMargin;

  // One button per colour, five to a row on the panel.
  int x = PaletteStart, y = PaletteStart;
  for (const TPColors& entry : FColorsList->colors) {
    const int side = Form1.sh->width() - 2 * Form1.sh->Tag;
    CreatePaletteButton(Form1.Panel1, QRect(x, y, side, side), entry.color,
                        [this](QObject* Sender) { ColorButtonClick(Sender); });
    x += side + PaletteGap;
    if (x + side + PaletteGap > Form1.Panel1->width()) {
      x = PaletteStart;
      y += side + PaletteGap;
    }
  }

  // Blank every coloured area inside its outline.
  BlankPicture(Form1.im->Canvas(), *FColorsList);

  // Preselect palette button 1, without its note: the player picked nothing.
  if (TFlatButton* button = PaletteButton(1)) {
    Form1.im->Canvas().Brush.SetColor(button->Color());
    FPreselecting = true;
    ColorButtonClick(button);
    FPreselecting = false;
  }
  ShowNumbers();
}

TFlatButton* TGame::PaletteButton(int k) const {
  for (QObject* child : Form1.Panel1->children()) {
    auto* button = qobject_cast<TFlatButton*>(child);
    if (button && button->Tag == PaletteTag && --k == 0) return button;
  }
  return nullptr;
}

void TGame::ColorButtonClick(QObject* Sender) {
  auto* button = qobject_cast<TFlatButton*>(Sender);
  if (!button) return;
  Form1.im->Canvas().Brush.SetColor(button->Color());
  button->SetDown(true);
  Form1.sh->move(button->x() - Form1.sh->Tag, button->y() - Form1.sh->Tag);
  Form1.sh->show();
  if (!FPreselecting) Form1.sounds.Play(TSound::Note, PalettePosition(button));
}

int TGame::PalettePosition(const TFlatButton* AButton) const {
  int k = 0;
  for (QObject* child : Form1.Panel1->children()) {
    auto* button = qobject_cast<TFlatButton*>(child);
    if (!button || button->Tag != PaletteTag) continue;
    if (button == AButton) return k;
    ++k;
  }
  return -1;
}

void TGame::imClick() {
  if (Form1.an->isVisible()) return;
  // Where the pointer is now, in the picture's own pixels. A click on an
  // outline fills the area nearest to it.
  const QPoint p = Form1.im->mapFromGlobal(QCursor::pos());
  TCanvas& canvas = Form1.im->Canvas();
  const TPoint start = FillStartPoint(canvas.Bitmap(), TPoint{p.x(), p.y()});
  const bool changes = FillChangesPicture(canvas.Bitmap(), start, canvas.Brush.Color());
  TRect changed;
  {
    const TCanvasLock lock(canvas);
    changed = canvas.FloodFill(start.X, start.Y, clBlack, fsBorder);
  }
  // A hint that is flashing goes on over the areas that are still wrong.
  if (Form1.im->Flashing()) Form1.im->SetFlashOverlay(HintOverlay(canvas.Bitmap(), *FColorsList));
  ShowNumbers();
  // On the screen at once, and only what the fill changed.
  Form1.im->RepaintPicture(changed);
  if (FColorsList->IsCorrectColors(canvas)) {
    Form1.ex->hide();
    Form1.an->show();
    // Once, as the firework starts; its loops are silent.
    Form1.sounds.Play(TSound::Cheer);
  } else if (changes) {
    Form1.sounds.Play(TSound::Pop);
  }
}

void TGame::imRightClick() {
  ShowHint();
}

void TGame::ShowHint() {
  // Nothing to show while a picture loads (the picture area is hidden) or
  // once it is solved.
  if (!Form1.im->isVisible() || Form1.an->isVisible()) return;
  const TBitmap* picture = Form1.im->Picture().Bitmap();
  if (!picture) return;
  if (auto overlay = HintOverlay(*picture, *FColorsList)) Form1.im->Flash(std::move(overlay));
}

void TGame::ToggleNumbers() {
  FNumbers = !FNumbers;
  ShowNumbers();
}

void TGame::ShowNumbers() {
  int k = 0;
  for (QObject* child : Form1.Panel1->children()) {
    auto* button = qobject_cast<TFlatButton*>(child);
    if (!button || button->Tag != PaletteTag) continue;
    if (FNumbers)
      button->SetNumber(ButtonNumber(k, button->Color(), button->width()));
    else
      button->SetNumber(std::nullopt);
    ++k;
  }
  const TBitmap* picture = Form1.im->Picture().Bitmap();
  Form1.im->SetNumbers(FNumbers && picture ? PlaceNumbers(*picture, *FColorsList)
                                           : std::vector<TNumberMark>{});
}

void TGame::MoveTo(int i) {
  if (i == Form1.index->Tag) return;
  Form1.index->Tag = i;
  LoadPicture(i);
}

// At the ends there is nowhere to go: the player's work stays.
void TGame::prevbtnClick() {
  MoveTo(std::max(Form1.index->Tag - 1, 1));
}

void TGame::maxbtnClick() {
  MoveTo(std::min(Form1.index->Tag + 1, Form1.maxbtn->Tag));
}

void TGame::indexClick() {
  QString text = QString::number(Form1.index->Tag);
  // A cancelled box changes nothing.
  if (!InputQuery(QCoreApplication::translate("TGame", "Выбор картинки"),
                  QCoreApplication::translate("TGame", "Пожалуйста, введите номер картинки:"),
                  text))
    return;
  const int32_t a = StrToInt(text.toStdString());
  if (a >= 1 && a <= Form1.maxbtn->Tag) LoadPicture(a);
}

bool TGame::FormKeyDown(int Key, Qt::KeyboardModifiers Shift) {
  // With Ctrl, Alt or the logo key a key is the desktop's, not the game's.
  if (Shift & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) {
    const int k = Key == Qt::Key_0 ? 10 : Key - Qt::Key_0;
    if (TFlatButton* button = PaletteButton(k)) ColorButtonClick(button);
    return true;
  }
  switch (Key) {
    case Qt::Key_Left:
    case Qt::Key_PageUp:
      prevbtnClick();
      return true;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      maxbtnClick();
      return true;
    case Qt::Key_Home:
      MoveTo(1);
      return true;
    case Qt::Key_End:
      MoveTo(Form1.maxbtn->Tag);
      return true;
    case Qt::Key_H:
    case KeyCyrillicEr:
      ShowHint();
      return true;
    case Qt::Key_N:
    case KeyCyrillicTe:
      ToggleNumbers();
      return true;
    case Qt::Key_M:
    case KeyCyrillicSoftSign:
      Form1.sounds.SetMuted(!Form1.sounds.Muted());
      return true;
    default:
      return false;
  }
}

void TGame::exClick() {
  ShowExampleWindow(Form1.ex->Picture(), &Form1);
}

}  // namespace tintbox
