// The game's handlers in the main window: opening a picture and its palette,
// blanking, colouring and the completion test, the fatal stops, and moving
// between pictures with the buttons and the counter. The dialogs are answered
// by a scripted provider; the pictures are tiny bitmaps written by each test.
#include "game/game.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "game/start.h"
#include "picture/bmpwriter.h"
#include "rules/playhelp.h"
#include "rules/random.h"
#include "soundlog.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "widgets/control.h"

using namespace tintbox;

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

// Pictures are drawn as rows of ink letters (see testbitmaps.h).
using testhelp::Ink;
using testhelp::RowsOf;
using testhelp::Show;
using testhelp::TRows;

using testhelp::LetterOf;

// A 24-bit bottom-up bitmap file of the rows.
QByteArray BitmapFile(const TRows& Rows) {
  const std::vector<uint8_t> File = testhelp::BitmapFile(Rows);
  return QByteArray(reinterpret_cast<const char*>(File.data()), qsizetype(File.size()));
}

// n side by side areas of the colours 'a', 'b', ... (found in that order by
// the column scan), each 2 x 4 inside a black outline.
TRows Stripes(int n) {
  std::string Edge(size_t(3 * n + 1), '#'), Inner = "#";
  for (int k = 0; k < n; ++k) Inner += std::string(2, char('a' + k)) + "#";
  return {Edge, Inner, Inner, Inner, Inner, Edge};
}

// Picture k of a numbered set: an area 'a' k pixels wide beside an area 'b',
// so every picture has its own width.
TRows Numbered(int k) {
  const std::string Edge(size_t(k + 5), '#');
  const std::string Inner = "#" + std::string(size_t(k), 'a') + "#bb#";
  return {Edge, Inner, Inner, Edge};
}

// The rows with every colour blanked to white.
TRows Blanked(TRows Rows) {
  for (std::string& R : Rows)
    for (char& C : R)
      if (C != '#') C = '.';
  return Rows;
}

TColor PixelOf(const QImage& Shot, QPoint P) {
  return QColorToColor(Shot.pixelColor(P));
}

// Answers the dialogs without showing them and remembers what was asked.
class TScriptedDialogs : public TDialogProvider {
 public:
  struct TQuery {
    QString Caption, Prompt, Preset;
  };

  std::vector<QString> Messages;
  std::vector<QString> Errors;
  std::vector<TQuery> Queries;
  // The input box's answer: confirmed with Answer, or cancelled.
  bool Confirm = true;
  QString Answer;
  // Runs while a plain message shows, before it is dismissed.
  std::function<void()> WhileMessageShows;

  void ShowPlainMessage(const QString& AText) override {
    Messages.push_back(AText);
    if (WhileMessageShows) WhileMessageShows();
  }
  bool InputQuery(const QString& ACaption, const QString& APrompt, QString& AValue) override {
    Queries.push_back({ACaption, APrompt, AValue});
    if (!Confirm) return false;
    AValue = Answer;
    return true;
  }
  void ShowException(const QString& AText) override { Errors.push_back(AText); }

  void Reset() {
    Messages.clear();
    Errors.clear();
    Queries.clear();
    Confirm = true;
    Answer.clear();
    WhileMessageShows = nullptr;
  }
};

const char* const NoPictures = "Нет картинок. Программа будет завершена!";

QString Gone(int i) {
  return QString::fromUtf8("Картинки №%1 уже не существует. Программа будет завершена!").arg(i);
}

QString TooManyColours(int i) {
  return QString::fromUtf8(
             "Загружаемая картинка №%1 имеет больше 10 цветов в палитре. Необходимо уменьшить "
             "количество цветов хотя бы до 10. Программа будет завершена!")
      .arg(i);
}

constexpr QPoint PanelAt(644, 0);  // Panel1 in the window
constexpr QPoint PictureAt(2, 2);  // im in the window

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("img")));
    SetDialogProvider(&Dialogs);
  }

  void TearDown() override {
    Stop();
    SetDialogProvider(nullptr);
  }

  QString PicturePath(int n) const { return Dir.filePath(QStringLiteral("img/%1.bmp").arg(n)); }

  void WriteBytes(int n, const QByteArray& Bytes) {
    QFile F(PicturePath(n));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate)) << PicturePath(n).toStdString();
    ASSERT_EQ(F.write(Bytes), Bytes.size());
  }

  void WritePicture(int n, const TRows& Rows) {
    Pictures[n] = Rows;
    WriteBytes(n, BitmapFile(Rows));
  }

  // As the program starts: FormCreate, then FormShow, each inside the error
  // report, then the window shows unless a fatal stop closed it.
  void Start(uint32_t ASeed = 12345) {
    Stop();
    Random.SetState(ASeed);
    Form = std::make_unique<TForm1>();
    Game = std::make_unique<TGame>(*Form, Random,
                                   Dir.filePath(QStringLiteral("tintbox")).toStdString());
    if (!StartGame(*Game, *Form)) return;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }

  void Stop() {
    if (!Form) return;
    Form->OnClose = nullptr;
    Game.reset();
    Form.reset();
  }

  // The palette buttons in control order.
  std::vector<TFlatButton*> Palette() const {
    std::vector<TFlatButton*> Buttons;
    for (QObject* Child : Form->Panel1->children()) {
      auto* B = qobject_cast<TFlatButton*>(Child);
      if (B && B->Tag == PaletteTag) Buttons.push_back(B);
    }
    return Buttons;
  }

  TFlatButton* PaletteButtonOf(char C) const {
    for (TFlatButton* B : Palette())
      if (B->Color() == Ink(C)) return B;
    ADD_FAILURE() << "no palette button of '" << C << "'";
    return nullptr;
  }

  // Where the button of colour C sits in the palette (0 is the first).
  int PositionOf(char C) const {
    const std::vector<TFlatButton*> Buttons = Palette();
    return int(std::find(Buttons.begin(), Buttons.end(), PaletteButtonOf(C)) - Buttons.begin());
  }

  QImage Shot() const { return Form->grab().toImage(); }

  // The picture as the window shows it, over the size of the rows given.
  TRows Seen(const TRows& Like) const {
    const QImage S = Shot();
    TRows Rows;
    for (size_t y = 0; y < Like.size(); ++y) {
      std::string R;
      for (size_t x = 0; x < Like[y].size(); ++x)
        R += LetterOf(PixelOf(S, PictureAt + QPoint(int(x), int(y))));
      Rows.push_back(R);
    }
    return Rows;
  }

  // A click as a person makes it: the pointer moves there and the left
  // button goes down and up in the window.
  void ClickAt(QWidget* AWidget, QPoint P, Qt::MouseButton AButton = Qt::LeftButton) {
    const QPoint InWindow = AWidget->mapTo(Form.get(), P);
    QCursor::setPos(Form->mapToGlobal(InWindow));
    QTest::mouseClick(Form->windowHandle(), AButton, {}, InWindow);
  }
  void Click(QWidget* AWidget) { ClickAt(AWidget, AWidget->rect().center()); }
  void ClickPicture(int x, int y) { ClickAt(Form->im, QPoint(x, y)); }
  void Pick(char C) {
    if (TFlatButton* B = PaletteButtonOf(C)) Click(B);
  }
  // A key pressed and released in the window, as the window system sends it.
  void Key(int AKey, Qt::KeyboardModifiers AShift = Qt::NoModifier) {
    QTest::keyClick(Form->windowHandle(), Qt::Key(AKey), AShift);
  }

  // Which numbered picture the thumbnail holds: compared with the files.
  void ExpectOpen(int n, const char* AWhere) {
    SCOPED_TRACE(AWhere);
    EXPECT_EQ(Form->index->Caption(), QStringLiteral("%1/%2").arg(n).arg(Form->maxbtn->Tag));
    ASSERT_NE(Form->ex->Picture().Bitmap(), nullptr);
    EXPECT_EQ(RowsOf(*Form->ex->Picture().Bitmap()), Pictures[n])
        << "thumbnail: got" << Show(RowsOf(*Form->ex->Picture().Bitmap())) << "\nwant"
        << Show(Pictures[n]);
    EXPECT_EQ(Seen(Pictures[n]), Blanked(Pictures[n]))
        << "picture: got" << Show(Seen(Pictures[n])) << "\nwant" << Show(Blanked(Pictures[n]));
    EXPECT_TRUE(Form->im->isVisible());
    EXPECT_TRUE(Form->ex->isVisible());
    EXPECT_FALSE(Form->an->isVisible());
    EXPECT_FALSE(Form->w->isVisible());
  }

  QTemporaryDir Dir;
  TScriptedDialogs Dialogs;
  TRandom Random;
  std::map<int, TRows> Pictures;
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TGame> Game;
};

// The pointer position is what imClick reads, so the platform must move it.
TEST_F(GameTest, ThePointerMovesWhereTheTestPutsIt) {
  WritePicture(1, Stripes(2));
  Start();
  ASSERT_FALSE(Form->Closed());
  const QPoint Want = Form->im->mapToGlobal(QPoint(3, 4));
  QCursor::setPos(Want);
  EXPECT_EQ(QCursor::pos(), Want) << "got (" << QCursor::pos().x() << ", " << QCursor::pos().y()
                                  << ")";
}

TEST_F(GameTest, PaletteGeometry) {
  struct Case {
    int Colours;
    std::vector<QPoint> Want;  // left, top of each button on the panel
  } Cases[] = {
      {1, {{16, 16}}},
      {5, {{16, 16}, {82, 16}, {148, 16}, {214, 16}, {280, 16}}},
      {10,
       {{16, 16},
        {82, 16},
        {148, 16},
        {214, 16},
        {280, 16},
        {16, 82},
        {82, 82},
        {148, 82},
        {214, 82},
        {280, 82}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Colours << " colours");
    WritePicture(1, Stripes(C.Colours));
    Start();
    ASSERT_FALSE(Form->Closed());
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_TRUE(Dialogs.Errors.empty());
    const std::vector<TFlatButton*> Buttons = Palette();
    ASSERT_EQ(Buttons.size(), C.Want.size());
    const QImage S = Shot();
    std::set<TColor> Colours;
    for (size_t k = 0; k < Buttons.size(); ++k) {
      const QRect Want(C.Want[k], QSize(50, 50));
      EXPECT_EQ(Buttons[k]->geometry(), Want)
          << "button " << k + 1 << ": got " << Buttons[k]->x() << ", " << Buttons[k]->y() << " "
          << Buttons[k]->width() << "x" << Buttons[k]->height();
      EXPECT_TRUE(Buttons[k]->isVisible());
      // Button k shows entry k's colour.
      EXPECT_EQ(Buttons[k]->Color(), Game->ColorsList()->colors[k].color) << "button " << k + 1;
      const TColor Got = PixelOf(S, PanelAt + Want.center());
      EXPECT_EQ(Got, Buttons[k]->Color())
          << "button " << k + 1 << ": got " << std::hex << Got << " want " << Buttons[k]->Color();
      Colours.insert(Buttons[k]->Color());
    }
    std::set<TColor> WantColours;
    for (int k = 0; k < C.Colours; ++k) WantColours.insert(Ink(char('a' + k)));
    EXPECT_EQ(Colours, WantColours);

    // The frame sits round button 1: a 2-pixel gray edge, then 5 clear
    // pixels of panel before the button.
    EXPECT_TRUE(Form->sh->isVisible());
    EXPECT_EQ(Form->sh->geometry(), QRect(9, 9, 64, 64));
    EXPECT_EQ(Form->sh->Tag, 7);
    for (int x : {9, 10, 71, 72}) {
      EXPECT_EQ(PixelOf(S, PanelAt + QPoint(x, 41)), clGray) << "frame column " << x;
      EXPECT_EQ(PixelOf(S, PanelAt + QPoint(41, x)), clGray) << "frame row " << x;
    }
    for (int x : {11, 15, 66, 70})
      EXPECT_EQ(PixelOf(S, PanelAt + QPoint(x, 41)), WindowColor) << "clear column " << x;
  }
}

TEST_F(GameTest, ElevenColoursStopTheProgram) {
  struct Case {
    int Picture;  // the picture with eleven colours; 1 is opened at start
  } Cases[] = {{1}, {2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "picture " << C.Picture);
    Dialogs.Messages.clear();
    WritePicture(1, C.Picture == 1 ? Stripes(11) : Stripes(10));
    WritePicture(2, Stripes(11));
    Start();
    if (C.Picture == 2) {
      ASSERT_FALSE(Form->Closed());
      ASSERT_TRUE(Dialogs.Messages.empty());
      Click(Form->maxbtn);
    }
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0], TooManyColours(C.Picture));
    EXPECT_TRUE(Dialogs.Errors.empty());
    EXPECT_TRUE(Form->im->Picture().Empty());
    EXPECT_TRUE(Form->ex->Picture().Empty());
    EXPECT_TRUE(Form->Closed());
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->index->Caption(), QStringLiteral("%1/2").arg(C.Picture));
  }
}

// Whatever the random order of the rest, the colour found second in the scan
// comes first and is selected: the frame, the button and the brush.
TEST_F(GameTest, TheColourFoundSecondIsPreselected) {
  WritePicture(1, Stripes(5));
  for (uint32_t Seed : {0u, 1u, 7u, 12345u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(testing::Message() << "seed " << Seed);
    Start(Seed);
    ASSERT_FALSE(Form->Closed());
    const std::vector<TFlatButton*> Buttons = Palette();
    ASSERT_EQ(Buttons.size(), 5u);
    EXPECT_EQ(Buttons[0]->Color(), Ink('b'));
    EXPECT_EQ(Form->im->Canvas().Brush.Color(), Ink('b'));
    for (size_t k = 0; k < Buttons.size(); ++k)
      EXPECT_EQ(Buttons[k]->Down(), k == 0) << "button " << k + 1;
    EXPECT_EQ(Form->sh->pos(), QPoint(9, 9));
    // The first fill paints with it.
    ClickPicture(1, 1);
    EXPECT_EQ(Seen(Stripes(5))[1].substr(0, 4), "#bb#");
  }
}

TEST_F(GameTest, APaletteClickSelectsItsColour) {
  WritePicture(1, Stripes(7));
  Start();
  const std::vector<TFlatButton*> Buttons = Palette();
  ASSERT_EQ(Buttons.size(), 7u);
  struct Case {
    size_t Button;
    QPoint Frame;
  } Cases[] = {{2, {141, 9}}, {6, {75, 75}}, {5, {9, 75}}, {0, {9, 9}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "button " << C.Button + 1);
    Click(Buttons[C.Button]);
    EXPECT_EQ(Form->sh->pos(), C.Frame);
    EXPECT_TRUE(Form->sh->isVisible());
    EXPECT_EQ(Form->im->Canvas().Brush.Color(), Buttons[C.Button]->Color());
    for (size_t k = 0; k < Buttons.size(); ++k)
      EXPECT_EQ(Buttons[k]->Down(), k == C.Button) << "button " << k + 1;
    EXPECT_EQ(PixelOf(Shot(), PanelAt + C.Frame + QPoint(0, 32)), clGray);
  }
}

// White stays white and gets a button; coloured areas blank; an area that
// no seed point lies in keeps its colour (its run carries on from the bottom
// of the column before).
const TRows Seedless = {
    "#c####",
    "##.#a#",
    "##.#a#",
    "c##b##",
};

TEST_F(GameTest, BlankingSkipsWhiteAndAreasWithoutASeed) {
  WritePicture(1, Seedless);
  Start();
  ASSERT_FALSE(Form->Closed());
  const TRows Want = {
      "#c####",
      "##.#.#",
      "##.#.#",
      ".##.##",
  };
  EXPECT_EQ(Seen(Seedless), Want) << "got" << Show(Seen(Seedless)) << "\nwant" << Show(Want);
  std::set<TColor> Colours;
  for (TFlatButton* B : Palette()) Colours.insert(B->Color());
  EXPECT_EQ(Colours, (std::set<TColor>{clWhite, Ink('a'), Ink('b'), Ink('c')}));
  // White is found second, so it is the colour selected.
  ASSERT_FALSE(Palette().empty());
  EXPECT_EQ(Palette()[0]->Color(), clWhite);
  EXPECT_EQ(Form->im->Canvas().Brush.Color(), clWhite);
  // The thumbnail keeps the picture as it came.
  EXPECT_EQ(RowsOf(*Form->ex->Picture().Bitmap()), Seedless);
}

TEST_F(GameTest, TheCompletionTestReadsSeedPointsOnly) {
  WritePicture(1, Seedless);
  Start();
  ASSERT_FALSE(Form->Closed());
  // The seedless area painted a wrong colour is not looked at.
  Pick('b');
  ClickPicture(1, 0);
  Pick('c');
  ClickPicture(0, 3);
  Pick('b');
  ClickPicture(3, 3);
  EXPECT_FALSE(Form->an->isVisible());
  Pick('a');
  ClickPicture(4, 2);
  const TRows Want = {
      "#b####",
      "##.#a#",
      "##.#a#",
      "c##b##",
  };
  EXPECT_EQ(Seen(Seedless), Want) << "got" << Show(Seen(Seedless)) << "\nwant" << Show(Want);
  EXPECT_TRUE(Form->an->isVisible());
  EXPECT_FALSE(Form->ex->isVisible());
}

// Two areas of 'a' and two of 'b'; 'b' is found second and preselected.
const TRows Pairs = {
    "#######", "#aa#bb#", "#######", "#bb#aa#", "#######",
};

TEST_F(GameTest, FillsAndTheCompletionTest) {
  WritePicture(1, Pairs);
  Start();
  ASSERT_FALSE(Form->Closed());
  struct Step {
    const char* What;
    char Pick;  // palette colour clicked first, or 0
    QPoint At;  // then a click on the picture there
    TRows Want;
    bool Solved;
  } Steps[] = {
      {"a wrong colour", 0, {1, 1}, {"#######", "#bb#..#", "#######", "#..#..#", "#######"}, false},
      {"refilled", 'a', {2, 1}, {"#######", "#aa#..#", "#######", "#..#..#", "#######"}, false},
      {"on the outline beside an area",
       'b',
       {6, 1},
       {"#######", "#aa#bb#", "#######", "#..#..#", "#######"},
       false},
      {"beyond the picture",
       0,
       {300, 200},
       {"#######", "#aa#bb#", "#######", "#..#..#", "#######"},
       false},
      {"one of two b", 0, {5, 1}, {"#######", "#aa#bb#", "#######", "#..#..#", "#######"}, false},
      {"one of two a", 'a', {4, 3}, {"#######", "#aa#bb#", "#######", "#..#aa#", "#######"}, false},
      {"the last area", 'b', {1, 3}, {"#######", "#aa#bb#", "#######", "#bb#aa#", "#######"}, true},
      {"after solving", 'a', {1, 3}, {"#######", "#aa#bb#", "#######", "#bb#aa#", "#######"}, true},
  };
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.What);
    if (S.Pick) Pick(S.Pick);
    ClickPicture(S.At.x(), S.At.y());
    EXPECT_EQ(Seen(Pairs), S.Want) << "got" << Show(Seen(Pairs)) << "\nwant" << Show(S.Want);
    EXPECT_EQ(Form->an->isVisible(), S.Solved);
    EXPECT_EQ(Form->ex->isVisible(), !S.Solved);
  }
  EXPECT_TRUE(Dialogs.Errors.empty());
}

TEST_F(GameTest, APaletteClickAfterSolvingMovesTheFrameOnly) {
  WritePicture(1, Stripes(3));
  Start();
  ASSERT_FALSE(Form->Closed());
  for (char C : {'a', 'b', 'c'}) {
    Pick(C);
    ClickPicture(1 + 3 * (C - 'a'), 2);
  }
  ASSERT_TRUE(Form->an->isVisible());
  const TRows Solved = Stripes(3);
  ASSERT_EQ(Seen(Solved), Solved);
  for (TFlatButton* B : Palette()) {
    SCOPED_TRACE(testing::Message() << "button at " << B->x() << ", " << B->y());
    Click(B);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Form->sh->pos(), B->pos() - QPoint(7, 7));
    EXPECT_EQ(Form->im->Canvas().Brush.Color(), B->Color());
    ClickPicture(2, 2);
    EXPECT_EQ(Seen(Solved), Solved) << "got" << Show(Seen(Solved));
    EXPECT_TRUE(Form->an->isVisible());
    EXPECT_FALSE(Form->ex->isVisible());
  }
}

TEST_F(GameTest, APictureThatCannotBeOpenedStopsTheProgram) {
  struct Case {
    const char* What;
    int Picture;        // the picture that fails
    const char* Bytes;  // its new content, or nullptr to delete it
    const char* Typed;  // opened through the counter with this text, or by ▶
  } Cases[] = {
      {"deleted, at start", 1, nullptr, nullptr},
      {"deleted, next", 2, nullptr, nullptr},
      {"not a bitmap, next", 2, "BA not a bitmap file", nullptr},
      {"cut short, next", 2, "BM12345", nullptr},
      {"deleted, typed", 3, nullptr, "3"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Dialogs.Reset();
    for (int n = 1; n <= 3; ++n) WritePicture(n, Numbered(n));
    Stop();
    Random.SetState(1);
    Form = std::make_unique<TForm1>();
    Game = std::make_unique<TGame>(*Form, Random,
                                   Dir.filePath(QStringLiteral("tintbox")).toStdString());
    ASSERT_TRUE(RunGuarded([&] { Game->FormCreate(); }));
    // The file goes after the pictures were counted.
    if (C.Bytes)
      WriteBytes(C.Picture, QByteArray(C.Bytes));
    else
      ASSERT_TRUE(QFile::remove(PicturePath(C.Picture)));
    QString CaptionSeen;
    bool ClosedSeen = true;
    Dialogs.WhileMessageShows = [&] {
      CaptionSeen = Form->index->Caption();
      ClosedSeen = Form->Closed();
    };
    RunGuarded([&] { Game->FormShow(); });
    if (C.Picture > 1) {
      ASSERT_FALSE(Form->Closed());
      Form->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
      if (C.Typed) {
        Dialogs.Answer = QString::fromUtf8(C.Typed);
        Click(Form->index);
      } else {
        Click(Form->maxbtn);
      }
    }
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0], Gone(C.Picture));
    EXPECT_EQ(CaptionSeen, QStringLiteral("%1/3").arg(C.Picture));
    EXPECT_FALSE(ClosedSeen) << "closed before the message was dismissed";
    EXPECT_TRUE(Dialogs.Errors.empty());
    EXPECT_TRUE(Form->Closed());
    EXPECT_FALSE(Form->isVisible());
    Dialogs.WhileMessageShows = nullptr;
  }
}

TEST_F(GameTest, NoPicturesStopTheProgram) {
  struct Case {
    const char* What;
    std::function<void()> Prepare;
  } Cases[] = {
      {"empty folder", [] {}},
      {"no folder", [this] { ASSERT_TRUE(QDir(Dir.filePath("img")).removeRecursively()); }},
      {"only 2.bmp", [this] { WritePicture(2, Stripes(2)); }},
      {"a folder named 1.bmp", [this] { ASSERT_TRUE(QDir(Dir.path()).mkpath("img/1.bmp")); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Dialogs.Reset();
    QDir(Dir.filePath("img")).removeRecursively();
    QDir(Dir.path()).mkpath("img");
    C.Prepare();
    Start();
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0], QString::fromUtf8(NoPictures));
    EXPECT_TRUE(Dialogs.Errors.empty());
    EXPECT_TRUE(Form->Closed());
    EXPECT_FALSE(Form->isVisible());
    // No picture was opened.
    EXPECT_EQ(Form->index->Caption(), QStringLiteral("0/0"));
    EXPECT_TRUE(Form->im->Picture().Empty());
  }
}

TEST_F(GameTest, PreviousAndNextMoveBetweenPictures) {
  for (int n = 1; n <= 3; ++n) WritePicture(n, Numbered(n));
  Start();
  ASSERT_FALSE(Form->Closed());
  ExpectOpen(1, "at start");
  struct Step {
    bool Next;
    int Want;
  } Steps[] = {{true, 2}, {true, 3}, {false, 2}, {false, 1}, {true, 2}};
  for (const Step& S : Steps) {
    Click(S.Next ? Form->maxbtn : Form->prevbtn);
    ExpectOpen(S.Want, S.Next ? "after ▶" : "after ◀");
  }
  EXPECT_TRUE(Dialogs.Messages.empty());
  EXPECT_TRUE(Dialogs.Errors.empty());
}

TEST_F(GameTest, OpeningAnotherPictureEndsTheCelebration) {
  WritePicture(1, Stripes(2));
  WritePicture(2, Numbered(2));
  Start();
  Pick('a');
  ClickPicture(1, 1);
  Pick('b');
  ClickPicture(4, 1);
  ASSERT_TRUE(Form->an->isVisible());
  Click(Form->maxbtn);
  ExpectOpen(2, "after ▶ from a solved picture");
}

// Picture 2 is open with one area filled; the counter is clicked and the box
// answered with the text.
TEST_F(GameTest, TypedNumbers) {
  struct Case {
    const char* Typed;
    int Opens;          // the picture opened, or 0 for none
    const char* Error;  // the error report's text, or nullptr
  } Cases[] = {
      {"  5", 5, nullptr},
      {"$A", 10, nullptr},
      {"0x0A", 10, nullptr},
      {"+3", 3, nullptr},
      {"12", 12, nullptr},
      {"0", 0, nullptr},
      {"-1", 0, nullptr},
      {"13", 0, nullptr},
      {"5 ", 0, "'5 ' is not a valid integer value for Integer type."},
      {"12a", 0, "'12a' is not a valid integer value for Integer type."},
      {"", 0, "'' is not a valid integer value for Integer type."},
      {"99999999999", 0, "'99999999999' is not a valid integer value for Integer type."},
  };
  for (int n = 1; n <= 12; ++n) WritePicture(n, Numbered(n));
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "typed '" << C.Typed << "'");
    Dialogs.Reset();
    Start();
    ASSERT_FALSE(Form->Closed());
    Click(Form->maxbtn);
    Pick('a');
    ClickPicture(1, 1);
    const TRows Filled = {"#######", "#aa#..#", "#aa#..#", "#######"};
    ASSERT_EQ(Seen(Filled), Filled) << "got" << Show(Seen(Filled));
    const QPointer<TFlatButton> First = Palette().at(0);

    Dialogs.Answer = QString::fromUtf8(C.Typed);
    Click(Form->index);

    ASSERT_EQ(Dialogs.Queries.size(), 1u);
    EXPECT_EQ(Dialogs.Queries[0].Caption, QString::fromUtf8("Выбор картинки"));
    EXPECT_EQ(Dialogs.Queries[0].Prompt, QString::fromUtf8("Пожалуйста, введите номер картинки:"));
    EXPECT_EQ(Dialogs.Queries[0].Preset, QStringLiteral("2"));
    EXPECT_TRUE(Dialogs.Messages.empty());
    if (C.Error) {
      ASSERT_EQ(Dialogs.Errors.size(), 1u);
      EXPECT_EQ(Dialogs.Errors[0], QString::fromUtf8(C.Error));
    } else {
      EXPECT_TRUE(Dialogs.Errors.empty()) << "got " << Dialogs.Errors[0].toStdString();
    }
    if (C.Opens) {
      ExpectOpen(C.Opens, "opened");
    } else {
      // Nothing happened: same picture, same palette, the fill still there.
      EXPECT_EQ(Form->index->Caption(), QStringLiteral("2/12"));
      EXPECT_EQ(Seen(Filled), Filled) << "got" << Show(Seen(Filled));
      EXPECT_FALSE(First.isNull()) << "the palette was rebuilt";
      EXPECT_FALSE(Form->index->Down());
    }
  }
}

TEST_F(GameTest, OneColourPlays) {
  const TRows One = {"#####", "#aaa#", "#aaa#", "#####"};
  WritePicture(1, One);
  Start();
  ASSERT_FALSE(Form->Closed());
  EXPECT_TRUE(Dialogs.Errors.empty()) << "got " << Dialogs.Errors.at(0).toStdString();
  const std::vector<TFlatButton*> Buttons = Palette();
  ASSERT_EQ(Buttons.size(), 1u);
  EXPECT_EQ(Buttons[0]->geometry(), QRect(16, 16, 50, 50));
  EXPECT_EQ(Buttons[0]->Color(), Ink('a'));
  EXPECT_TRUE(Buttons[0]->Down());
  EXPECT_EQ(Form->im->Canvas().Brush.Color(), Ink('a'));
  EXPECT_TRUE(Form->sh->isVisible());
  EXPECT_EQ(Form->sh->geometry(), QRect(9, 9, 64, 64));
  EXPECT_TRUE(Form->im->isVisible());
  EXPECT_FALSE(Form->w->isVisible());
  EXPECT_EQ(Seen(One), Blanked(One)) << "got" << Show(Seen(One));
  ClickPicture(2, 2);
  EXPECT_EQ(Seen(One), One) << "got" << Show(Seen(One));
  EXPECT_TRUE(Form->an->isVisible());
  EXPECT_FALSE(Form->ex->isVisible());
}

// A picture wider than the picture area is scanned and blanked whole; the
// area shows its first 640 columns.
TEST_F(GameTest, AWidePictureIsBlankedWhole) {
  // 'a' at 1..5, 'b' at 7..640 across the edge, 'c' at 642..648 out of sight.
  const std::string Inner = "#aaaaa#" + std::string(634, 'b') + "#" + std::string(7, 'c') + "#";
  const TRows Wide = {std::string(650, '#'), Inner, Inner, std::string(650, '#')};
  WritePicture(1, Wide);
  Start();
  ASSERT_FALSE(Form->Closed());
  std::set<TColor> Colours;
  for (TFlatButton* B : Palette()) Colours.insert(B->Color());
  EXPECT_EQ(Colours, (std::set<TColor>{Ink('a'), Ink('b'), Ink('c')}));
  EXPECT_TRUE(RowsOf(*Form->im->Picture().Bitmap()) == Blanked(Wide)) << "not blanked whole";
  const QImage S = Shot();
  EXPECT_EQ(PixelOf(S, PictureAt + QPoint(639, 1)), clWhite);  // the last column shown
  EXPECT_NE(PixelOf(S, PictureAt + QPoint(640, 1)), clWhite);  // beyond it the window
}

// Nothing but black: no palette, no frame, a white brush, and the first click
// anywhere on the picture area solves it.
TEST_F(GameTest, APictureWithoutColoursIsSolvedByTheFirstClick) {
  const TRows Black = {"###", "###"};
  WritePicture(1, Black);
  Start();
  ASSERT_FALSE(Form->Closed());
  EXPECT_TRUE(Dialogs.Errors.empty());
  EXPECT_TRUE(Palette().empty());
  EXPECT_FALSE(Form->sh->isVisible());
  EXPECT_EQ(Form->im->Canvas().Brush.Color(), clWhite);
  EXPECT_TRUE(Form->im->isVisible());
  EXPECT_FALSE(Form->an->isVisible());
  ClickPicture(1, 1);
  EXPECT_EQ(Seen(Black), Black) << "got" << Show(Seen(Black));
  EXPECT_TRUE(Form->an->isVisible());
  EXPECT_FALSE(Form->ex->isVisible());
}

// At the ends ◀ and ▶ do nothing, and neither does a cancelled box: the
// player's fill stays and the palette is not rebuilt.
TEST_F(GameTest, NothingIsReloadedWithoutAMove) {
  enum TAction { Prev, Next, Cancel };
  struct Case {
    const char* What;
    int Count;  // N
    int Open;   // the picture the player works on
    TAction Action;
  } Cases[] = {
      {"◀ on the first", 3, 1, Prev}, {"▶ on the last", 3, 3, Next},   {"◀ with one", 1, 1, Prev},
      {"▶ with one", 1, 1, Next},     {"cancelled box", 3, 2, Cancel},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Dialogs.Reset();
    QDir(Dir.filePath("img")).removeRecursively();
    QDir(Dir.path()).mkpath("img");
    for (int n = 1; n <= C.Count; ++n) WritePicture(n, Numbered(n));
    Start();
    ASSERT_FALSE(Form->Closed());
    for (int n = 1; n < C.Open; ++n) Click(Form->maxbtn);
    ASSERT_EQ(Form->index->Caption(), QStringLiteral("%1/%2").arg(C.Open).arg(C.Count));
    Pick('a');
    ClickPicture(1, 1);
    TRows Filled = Blanked(Pictures[C.Open]);
    for (std::string& R : Filled)
      for (int x = 1; x <= C.Open; ++x)
        if (R[size_t(x)] == '.') R[size_t(x)] = 'a';
    ASSERT_EQ(Seen(Filled), Filled) << "got" << Show(Seen(Filled));
    const QPointer<TFlatButton> First = Palette().at(0);
    const QPointer<TFlatButton> Second = Palette().at(1);
    Click(Second);  // the selection is the player's too

    switch (C.Action) {
      case Prev:
        Click(Form->prevbtn);
        break;
      case Next:
        Click(Form->maxbtn);
        break;
      case Cancel:
        Dialogs.Confirm = false;
        Click(Form->index);
        EXPECT_EQ(Dialogs.Queries.size(), 1u);
        break;
    }
    EXPECT_EQ(Form->index->Caption(), QStringLiteral("%1/%2").arg(C.Open).arg(C.Count));
    EXPECT_EQ(Seen(Filled), Filled) << "got" << Show(Seen(Filled)) << "\nwant" << Show(Filled);
    EXPECT_FALSE(First.isNull()) << "the palette was rebuilt";
    EXPECT_FALSE(Second.isNull()) << "the palette was rebuilt";
    if (Second) {
      EXPECT_TRUE(Second->Down());
    }
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_TRUE(Dialogs.Errors.empty());
  }
}

TEST_F(GameTest, ConfirmingTheCurrentNumberStartsThePictureAgain) {
  for (int n = 1; n <= 3; ++n) WritePicture(n, Numbered(n));
  Start();
  Click(Form->maxbtn);
  Pick('a');
  ClickPicture(1, 1);
  Pick('b');
  ClickPicture(4, 1);
  ASSERT_TRUE(Form->an->isVisible());
  const QPointer<TFlatButton> First = Palette().at(0);
  Dialogs.Answer = QStringLiteral("2");
  Click(Form->index);
  EXPECT_TRUE(First.isNull()) << "the palette was kept";
  ExpectOpen(2, "after confirming 2");
  EXPECT_TRUE(Dialogs.Errors.empty());
}

// A picture whose first pixel has the colour of the last pixel scanned in the
// picture before it sets up as when it is the first picture opened.
TEST_F(GameTest, APictureSetsUpTheSameWhicheverCameBefore) {
  const TRows Before = {"a#c", "a#c", "a#c"};  // ends on 'c'
  const TRows After = {"c#a", "c#a", "c#a"};   // starts with 'c'
  struct Setup {
    TRows Seen;
    std::map<TColor, std::vector<TPoint>> Seeds;
    std::set<TColor> Palette;
  };
  auto Take = [&] {
    Setup S;
    S.Seen = Seen(After);
    for (const TPColors& E : Game->ColorsList()->colors) S.Seeds[E.color] = E.points;
    for (TFlatButton* B : Palette()) S.Palette.insert(B->Color());
    return S;
  };

  WritePicture(1, Before);
  WritePicture(2, After);
  Start();
  ASSERT_FALSE(Form->Closed());
  Click(Form->maxbtn);
  ASSERT_EQ(Form->index->Caption(), QStringLiteral("2/2"));
  const Setup Second = Take();

  WritePicture(1, After);
  Start();
  ASSERT_FALSE(Form->Closed());
  const Setup First = Take();

  EXPECT_EQ(Second.Seen, Blanked(After)) << "got" << Show(Second.Seen);
  EXPECT_EQ(Second.Seen, First.Seen);
  EXPECT_EQ(Second.Palette, (std::set<TColor>{Ink('a'), Ink('c')}));
  EXPECT_EQ(Second.Palette, First.Palette);
  EXPECT_TRUE(Second.Seeds == First.Seeds) << "the seed points differ";
}

// A click that lands on black fills the nearest area within 3 pixels (the
// first in the column scan of equally near ones); the outline stays black.
TEST_F(GameTest, AClickOnAnOutlineFillsTheNearestArea) {
  // The picture with its two areas' row as given.
  auto With = [](const std::string& Row) {
    return TRows{"#########", Row, Row, "#########", "#########", "#########"};
  };
  const TRows Thick = With("#aa###bb#");
  struct Case {
    const char* What;
    QPoint At;
    TRows Want;  // 'b' is preselected
  } Cases[] = {
      {"outer frame, top-left corner", {0, 0}, With("#bb###..#")},
      {"outer frame, right edge", {8, 3}, With("#..###bb#")},
      {"outline beside an area", {5, 2}, With("#..###bb#")},
      {"midway: the left column first", {4, 1}, With("#bb###..#")},
      {"nothing within 3", {4, 5}, Blanked(Thick)},
  };
  WritePicture(1, Thick);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Start();
    ASSERT_FALSE(Form->Closed());
    ASSERT_EQ(Form->im->Canvas().Brush.Color(), Ink('b'));
    ClickPicture(C.At.x(), C.At.y());
    EXPECT_EQ(Seen(Thick), C.Want) << "got" << Show(Seen(Thick)) << "\nwant" << Show(C.Want);
    EXPECT_FALSE(Form->an->isVisible());
  }
}

// n square areas of the given side in a row, of the colours 'a', 'b', ...
TRows Squares(int n, int Side) {
  const std::string Edge(size_t(n * (Side + 1) + 1), '#');
  std::string Inner = "#";
  for (int k = 0; k < n; ++k) Inner += std::string(size_t(Side), char('a' + k)) + "#";
  TRows Rows{Edge};
  for (int y = 0; y < Side; ++y) Rows.push_back(Inner);
  Rows.push_back(Edge);
  return Rows;
}

// The hint: every area whose seed is wrong flashes on the screen, nothing
// else changes, and when it is over the screen is as before. A right click
// on the picture, H, and the letter on the H key of a Russian layout.
TEST_F(GameTest, TheHintFlashesTheAreasStillWrong) {
  const TRows Three = Squares(3, 17);  // large enough to need no ring
  WritePicture(1, Three);
  struct Case {
    const char* What;
    std::function<void()> Ask;
  } Cases[] = {
      {"right click", [this] { ClickAt(Form->im, QPoint(9, 9), Qt::RightButton); }},
      {"H", [this] { Key(Qt::Key_H); }},
      {"Р",
       [this] {
         QKeyEvent Press(QEvent::KeyPress, 0x0420, Qt::NoModifier, QString::fromUtf8("р"));
         QApplication::sendEvent(Form.get(), &Press);
       }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Start();
    ASSERT_FALSE(Form->Closed());
    // The first area right, the second wrong, the third still blank.
    Pick('a');
    ClickPicture(1, 1);
    Pick('c');
    ClickPicture(19, 1);
    const QImage Before = Shot();
    auto Wrong = [](QPoint P) {
      const QPoint Q = P - PictureAt;
      return Q.y() >= 1 && Q.y() <= 17 && Q.x() >= 19 && Q.x() <= 53 && Q.x() != 36;
    };

    C.Ask();
    ASSERT_TRUE(Form->im->Flashing());
    QImage During;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (During = Shot()) != Before; }, 5000));
    int Bad = 0;
    for (int y = 0; y < Before.height(); ++y)
      for (int x = 0; x < Before.width(); ++x) {
        const bool Changed = During.pixel(x, y) != Before.pixel(x, y);
        if (Changed != Wrong(QPoint(x, y)) && ++Bad <= 5)
          ADD_FAILURE() << "(" << x << "," << y << ") " << (Changed ? "changed" : "unchanged");
      }
    EXPECT_EQ(Bad, 0);
    // The picture itself is untouched.
    EXPECT_EQ(Form->im->Picture().Bitmap()->PixelAt(20, 2), Ink('c'));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->im->Flashing(); }, 5000));
    EXPECT_TRUE(Shot() == Before) << "the screen differs after the hint";
    EXPECT_TRUE(Dialogs.Errors.empty());
  }
}

// Fills go on while the hint flashes; an area put right stops flashing, and
// the last one ends the hint as the picture is solved.
TEST_F(GameTest, FillsWhileTheHintFlashes) {
  const TRows Three = Squares(3, 17);
  WritePicture(1, Three);
  Start();
  ASSERT_FALSE(Form->Closed());
  Pick('a');
  ClickPicture(1, 1);
  Key(Qt::Key_H);
  ASSERT_TRUE(Form->im->Flashing());
  Pick('b');
  ClickPicture(19, 1);
  TRows Want = Blanked(Three);
  for (std::string& R : Want)
    for (int x = 1; x <= 35; ++x)
      if (R[size_t(x)] == '.') R[size_t(x)] = x < 18 ? 'a' : 'b';
  ASSERT_TRUE(Form->im->Flashing());
  // In an "on" phase only the third area shows the hint.
  const QPoint Third = PictureAt + QPoint(45, 9), Second = PictureAt + QPoint(27, 9);
  ASSERT_TRUE(QTest::qWaitFor([&] { return PixelOf(Shot(), Third) != clWhite; }, 5000));
  EXPECT_EQ(PixelOf(Shot(), Second), Ink('b'));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->im->Flashing(); }, 5000));
  EXPECT_EQ(Seen(Three), Want) << "got" << Show(Seen(Three)) << "\nwant" << Show(Want);

  // The last area put right while the hint flashes: solved, the hint ends.
  Key(Qt::Key_H);
  ASSERT_TRUE(Form->im->Flashing());
  Pick('c');
  ClickPicture(37, 1);
  EXPECT_TRUE(Form->an->isVisible());
  EXPECT_FALSE(Form->im->Flashing());
  EXPECT_EQ(Seen(Three), Three) << "got" << Show(Seen(Three));
}

// An area too small to see gets a ring round it.
TEST_F(GameTest, TheHintRingsASmallArea) {
  TRows Tiny(21, std::string(21, '#'));
  Tiny[10][10] = 'a';
  WritePicture(1, Tiny);
  Start();
  ASSERT_FALSE(Form->Closed());
  const QImage Before = Shot();
  Key(Qt::Key_H);
  const QPoint Ring = PictureAt + QPoint(18, 10);  // 8 pixels right of the area
  ASSERT_TRUE(QTest::qWaitFor([&] { return PixelOf(Shot(), Ring) != clBlack; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->im->Flashing(); }, 5000));
  EXPECT_TRUE(Shot() == Before);
}

// No hint on a solved picture, nor while the picture area is hidden for
// loading (here while the message about a picture gone shows).
TEST_F(GameTest, NoHintWhenSolvedOrLoading) {
  WritePicture(1, Stripes(2));
  WritePicture(2, Stripes(2));
  Start();
  ASSERT_FALSE(Form->Closed());
  Pick('a');
  ClickPicture(1, 1);
  Pick('b');
  ClickPicture(4, 1);
  ASSERT_TRUE(Form->an->isVisible());
  // The picture area only: the firework moves on beside it.
  const QRect Picture(PictureAt, Form->im->size());
  const QImage Solved = Shot().copy(Picture);
  Key(Qt::Key_H);
  ClickAt(Form->im, QPoint(2, 2), Qt::RightButton);
  EXPECT_FALSE(Form->im->Flashing());
  EXPECT_TRUE(Shot().copy(Picture) == Solved);

  Start();
  ASSERT_FALSE(Form->Closed());
  ASSERT_TRUE(QFile::remove(PicturePath(2)));
  bool FlashedWhileLoading = true;
  Dialogs.WhileMessageShows = [&] {
    Game->ShowHint();
    FlashedWhileLoading = Form->im->Flashing();
  };
  Key(Qt::Key_Right);
  ASSERT_EQ(Dialogs.Messages.size(), 1u);
  EXPECT_FALSE(FlashedWhileLoading);
}

// The digits pick palette buttons as a click on them does: 1 to 9, and 0
// for the tenth; keypad digits too. A digit without its button, or with
// Ctrl, does nothing.
TEST_F(GameTest, DigitsPickPaletteButtons) {
  WritePicture(1, Stripes(10));
  Start();
  ASSERT_FALSE(Form->Closed());
  const std::vector<TFlatButton*> Buttons = Palette();
  ASSERT_EQ(Buttons.size(), 10u);
  struct Case {
    int Key;
    Qt::KeyboardModifiers Shift;
    size_t Button;  // the button selected afterwards
  } Cases[] = {
      {Qt::Key_3, Qt::NoModifier, 2},     {Qt::Key_0, Qt::NoModifier, 9},
      {Qt::Key_6, Qt::NoModifier, 5},     {Qt::Key_1, Qt::NoModifier, 0},
      {Qt::Key_7, Qt::KeypadModifier, 6}, {Qt::Key_2, Qt::ControlModifier, 6},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message()
                 << "key " << QKeySequence(C.Key | C.Shift).toString().toStdString());
    Key(C.Key, C.Shift);
    TFlatButton* B = Buttons[C.Button];
    EXPECT_EQ(Form->sh->pos(), B->pos() - QPoint(7, 7));
    EXPECT_TRUE(Form->sh->isVisible());
    for (size_t k = 0; k < Buttons.size(); ++k)
      EXPECT_EQ(Buttons[k]->Down(), k == C.Button) << "button " << k + 1;
    EXPECT_EQ(PixelOf(Shot(), PanelAt + Form->sh->pos() + QPoint(0, 32)), clGray);
    // The next fill takes its colour.
    ClickPicture(1, 1);
    EXPECT_EQ(PixelOf(Shot(), PictureAt + QPoint(1, 1)), B->Color());
  }

  // Three buttons: 5 finds none.
  WritePicture(1, Stripes(3));
  Start();
  ASSERT_FALSE(Form->Closed());
  Key(Qt::Key_5);
  EXPECT_EQ(Form->sh->pos(), QPoint(9, 9));
  EXPECT_TRUE(Palette().at(0)->Down());
}

// Left and Page Up act as ◀, Right and Page Down as ▶, Home and End open the
// first and the last picture; at the ends, and on the picture already open,
// nothing happens and the player's work stays. A key held down acts once.
TEST_F(GameTest, NavigationKeys) {
  for (int n = 1; n <= 3; ++n) WritePicture(n, Numbered(n));
  Start();
  ASSERT_FALSE(Form->Closed());
  struct Step {
    int Key;
    int Want;  // the picture open afterwards
    bool Moves;
  } Steps[] = {
      {Qt::Key_Right, 2, true},     {Qt::Key_PageDown, 3, true}, {Qt::Key_Right, 3, false},
      {Qt::Key_PageDown, 3, false}, {Qt::Key_End, 3, false},     {Qt::Key_Left, 2, true},
      {Qt::Key_PageUp, 1, true},    {Qt::Key_PageUp, 1, false},  {Qt::Key_Left, 1, false},
      {Qt::Key_Home, 1, false},     {Qt::Key_End, 3, true},      {Qt::Key_Home, 1, true},
  };
  for (const Step& S : Steps) {
    const QString Name = QKeySequence(S.Key).toString();
    SCOPED_TRACE(Name.toStdString());
    // Some work on the open picture, to see whether it stays.
    Pick('a');
    ClickPicture(1, 1);
    const QPointer<TFlatButton> First = Palette().at(0);
    Key(S.Key);
    EXPECT_EQ(Form->index->Caption(), QStringLiteral("%1/3").arg(S.Want));
    if (S.Moves) {
      ExpectOpen(S.Want, "moved");
    } else {
      EXPECT_FALSE(First.isNull()) << "the palette was rebuilt";
      EXPECT_EQ(PixelOf(Shot(), PictureAt + QPoint(1, 1)), Ink('a')) << "the work was lost";
    }
  }

  // The repeats of a key held down do nothing.
  QKeyEvent Repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(Form.get(), &Repeat);
  EXPECT_EQ(Form->index->Caption(), QStringLiteral("1/3"));
  EXPECT_TRUE(Dialogs.Messages.empty());
  EXPECT_TRUE(Dialogs.Errors.empty());
}

// What the player hears: a pick plays the note of its palette position, a
// fill that changes the picture a pop, the fill that solves it the cheer
// (once: the looping firework is silent); opening a picture and clicks that
// change nothing are silent.
TEST_F(GameTest, PicksFillsAndTheSolvedPictureAreHeard) {
  using TPlayed = test::TSoundLog::TPlayed;
  test::SoundLog().Take();
  WritePicture(1, Stripes(3));
  Start();
  ASSERT_FALSE(Form->Closed());
  EXPECT_EQ(test::SoundLog().Take(), std::vector<TPlayed>{}) << "opening picture 1";
  auto position = [&](char C) { return PositionOf(C); };
  const TPlayed Pop{TSound::Pop, 0}, Cheer{TSound::Cheer, 0};
  struct Step {
    const char* What;
    std::function<void()> Do;
    std::vector<TPlayed> Want;
  } Steps[] = {
      {"picking b", [&] { Pick('b'); }, {{TSound::Note, position('b')}}},
      {"picking b again", [&] { Pick('b'); }, {{TSound::Note, position('b')}}},
      {"key 1", [&] { Key(Qt::Key_1); }, {{TSound::Note, 0}}},
      {"key 3", [&] { Key(Qt::Key_3); }, {{TSound::Note, 2}}},
      {"key 9, no such button", [&] { Key(Qt::Key_9); }, {}},
      {"filling a with b",
       [&] {
         Pick('b');
         ClickPicture(1, 1);
       },
       {{TSound::Note, position('b')}, Pop}},
      {"filling it with b again", [&] { ClickPicture(2, 2); }, {}},
      {"beyond the picture", [&] { ClickPicture(300, 200); }, {}},
      {"a right again",
       [&] {
         Pick('a');
         ClickPicture(1, 1);
       },
       {{TSound::Note, position('a')}, Pop}},
      {"b right",
       [&] {
         Pick('b');
         ClickPicture(4, 1);
       },
       {{TSound::Note, position('b')}, Pop}},
      {"c right: solved",
       [&] {
         Pick('c');
         ClickPicture(7, 1);
       },
       {{TSound::Note, position('c')}, Cheer}},
      {"a click once solved", [&] { ClickPicture(1, 1); }, {}},
      {"the firework loops",
       [&] {
         // Past the last frame and round to the first again.
         bool Wrapped = false;
         int32_t Last = Form->an->FrameIndex();
         EXPECT_TRUE(QTest::qWaitFor(
             [&] {
               const int32_t Now = Form->an->FrameIndex();
               Wrapped = Wrapped || Now < Last;
               Last = Now;
               return Wrapped && Now > 0;
             },
             10000));
       },
       {}},
      {"a pick once solved", [&] { Pick('a'); }, {{TSound::Note, position('a')}}},
      {"the next picture", [&] { Game->LoadPicture(1); }, {}},
  };
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.What);
    S.Do();
    EXPECT_EQ(test::SoundLog().Take(), S.Want);
  }
  EXPECT_TRUE(Dialogs.Errors.empty());
}

// M, or Ь on a Russian layout, mutes every sound and unmutes them again; the
// window does not change. With Ctrl the key is not the game's.
TEST_F(GameTest, MMutesAndUnmutes) {
  using TPlayed = test::TSoundLog::TPlayed;
  WritePicture(1, Stripes(3));
  Start();
  ASSERT_FALSE(Form->Closed());
  test::SoundLog().Take();
  auto SoftSign = [this] {
    QKeyEvent Press(QEvent::KeyPress, 0x042C, Qt::NoModifier, QString::fromUtf8("ь"));
    QApplication::sendEvent(Form.get(), &Press);
  };
  const QImage Before = Shot();
  Key(Qt::Key_M);
  EXPECT_EQ(Shot(), Before) << "M changed the window";
  Key(Qt::Key_2);
  Pick('a');
  ClickPicture(1, 1);
  Key(Qt::Key_M, Qt::ControlModifier);
  Pick('b');
  ClickPicture(4, 1);
  Pick('c');
  ClickPicture(7, 1);
  ASSERT_TRUE(Form->an->isVisible());
  EXPECT_EQ(test::SoundLog().Take(), std::vector<TPlayed>{}) << "muted";
  // Ь is the key's letter on a Russian layout.
  SoftSign();
  Key(Qt::Key_1);
  EXPECT_EQ(test::SoundLog().Take(), (std::vector<TPlayed>{{TSound::Note, 0}})) << "unmuted";
  SoftSign();
  Key(Qt::Key_1);
  EXPECT_EQ(test::SoundLog().Take(), std::vector<TPlayed>{}) << "muted with Ь";
  // Muting lasts for the run, not for the picture.
  Game->LoadPicture(1);
  Pick('a');
  ClickPicture(1, 1);
  EXPECT_EQ(test::SoundLog().Take(), std::vector<TPlayed>{}) << "muted on the next picture";
  Key(Qt::Key_M);
  Pick('b');
  EXPECT_EQ(test::SoundLog().Take(), (std::vector<TPlayed>{{TSound::Note, PositionOf('b')}}));
}

}  // namespace

namespace {

// Three squares of 21 ('a', 'b', 'c'), room enough for a number each, and a
// 5 x 5 square 'd' too small for one.
TRows NumberSquares() {
  TRows Rows(23, std::string(73, '#'));
  for (int y = 1; y <= 21; ++y)
    for (int x = 1; x <= 71; ++x) {
      const int k = (x - 1) / 22, in = (x - 1) % 22;
      if (k < 3 && in < 21) Rows[size_t(y)][size_t(x)] = char('a' + k);
      if (k == 3 && in < 5 && y <= 5) Rows[size_t(y)][size_t(x)] = 'd';
    }
  return Rows;
}

// The pixels of the shot that differ from ABefore, as a set of window points.
std::vector<QPoint> Changes(const QImage& ABefore, const QImage& AAfter) {
  std::vector<QPoint> Changed;
  for (int y = 0; y < ABefore.height(); ++y)
    for (int x = 0; x < ABefore.width(); ++x)
      if (ABefore.pixel(x, y) != AAfter.pixel(x, y)) Changed.push_back(QPoint(x, y));
  return Changed;
}

}  // namespace

// N shows a digit on every palette button and in every wrong area with room
// for one, and changes nothing else on the screen; N again gives back the
// screen as it was, pixel for pixel; the picture itself is never drawn on.
TEST_F(GameTest, NumbersOnTheButtonsAndInTheWrongAreasOnly) {
  const TRows Picture = NumberSquares();
  WritePicture(1, Picture);
  Start();
  ASSERT_FALSE(Form->Closed());
  ASSERT_FALSE(Game->NumbersOn());
  const QImage Before = Shot();
  Key(Qt::Key_N);
  ASSERT_TRUE(Game->NumbersOn());
  const QImage On = Shot();

  // Where each change lies: in an area of the picture (by its colour in the
  // file), or on a palette button.
  const std::vector<TFlatButton*> Buttons = Palette();
  ASSERT_EQ(Buttons.size(), 4u);
  std::map<char, int> InArea;
  std::vector<int> OnButton(Buttons.size());
  int Elsewhere = 0;
  for (const QPoint& P : Changes(Before, On)) {
    const QPoint Q = P - PictureAt;
    if (Q.x() >= 0 && Q.y() >= 0 && Q.x() < 73 && Q.y() < 23 &&
        Picture[size_t(Q.y())][size_t(Q.x())] != '#') {
      ++InArea[Picture[size_t(Q.y())][size_t(Q.x())]];
      continue;
    }
    bool Found = false;
    for (size_t k = 0; k < Buttons.size(); ++k)
      if (Buttons[k]->geometry().translated(PanelAt).contains(P)) ++OnButton[k], Found = true;
    if (!Found && ++Elsewhere <= 5) ADD_FAILURE() << "changed at (" << P.x() << "," << P.y() << ")";
  }
  EXPECT_EQ(Elsewhere, 0);
  for (char C : {'a', 'b', 'c'}) EXPECT_GT(InArea[C], 20) << "no digit in area " << C;
  EXPECT_EQ(InArea['d'], 0) << "a digit in the area too small for one";
  for (size_t k = 0; k < Buttons.size(); ++k) EXPECT_GT(OnButton[k], 20) << "button " << k + 1;
  EXPECT_EQ(RowsOf(*Form->im->Picture().Bitmap()), Blanked(Picture));

  Key(Qt::Key_N);
  EXPECT_FALSE(Game->NumbersOn());
  EXPECT_TRUE(Shot() == Before) << "the screen differs with the numbers off again";
  // The letter on the N key of a Russian layout does the same.
  QKeyEvent Te(QEvent::KeyPress, 0x0422, Qt::NoModifier, QString::fromUtf8("т"));
  QApplication::sendEvent(Form.get(), &Te);
  EXPECT_TRUE(Game->NumbersOn());
  EXPECT_TRUE(Shot() == On);
}

// A right fill takes its area's digit away; a wrong one keeps it, in ink
// that reads on the wrong colour; the numbers stay on for the next picture.
TEST_F(GameTest, NumbersFollowTheFillsAndTheNextPicture) {
  const TRows Picture = NumberSquares();
  WritePicture(1, Picture);
  WritePicture(2, Picture);
  Start();
  ASSERT_FALSE(Form->Closed());
  Key(Qt::Key_N);
  // The colours seen over a square's inside.
  auto ColoursIn = [&](int ALeft) {
    const QImage S = Shot();
    std::set<TColor> Seen;
    for (int y = 1; y <= 21; ++y)
      for (int x = ALeft; x < ALeft + 21; ++x) Seen.insert(PixelOf(S, PictureAt + QPoint(x, y)));
    return Seen;
  };
  EXPECT_GT(ColoursIn(1).size(), 1u);
  Pick('a');
  ClickPicture(5, 5);  // right
  EXPECT_EQ(ColoursIn(1), (std::set<TColor>{Ink('a')}));
  Pick('c');
  ClickPicture(27, 5);  // wrong: 'b' belongs there
  const std::set<TColor> Wrong = ColoursIn(23);
  EXPECT_TRUE(Wrong.count(Ink('c'))) << "the fill";
  EXPECT_GT(Wrong.size(), 1u) << "the digit went";
  Pick('b');
  ClickPicture(27, 5);  // put right
  EXPECT_EQ(ColoursIn(23), (std::set<TColor>{Ink('b')}));

  Key(Qt::Key_Right);
  EXPECT_EQ(Form->index->Caption(), QStringLiteral("2/2"));
  EXPECT_TRUE(Game->NumbersOn());
  EXPECT_GT(ColoursIn(1).size(), 1u) << "no digit on the next picture";
  EXPECT_EQ(Form->ex->Picture().Bitmap()->PixelAt(5, 5), Ink('a'));

  // The hint flashes as before, the digits over its stripes.
  Key(Qt::Key_H);
  ASSERT_TRUE(Form->im->Flashing());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ColoursIn(1).count(HintColorA) > 0; }, 5000));
  EXPECT_TRUE(ColoursIn(1).count(clBlack)) << "the digit under the hint";
}
