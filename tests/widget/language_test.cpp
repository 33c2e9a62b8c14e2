// The player's language: the texts of the number box, the example window and
// the fatal messages in each language built in, the dialogs sized to them, the
// language taken from the environment, and the .ts files complete.
#include "ui/language.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "game/game.h"
#include "picture/bmpwriter.h"
#include "rules/random.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"

using namespace tintbox;

[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

// What the player reads in one language.
struct TTexts {
  const char* Language;  // as InstallLanguage takes it
  const char* NumberBoxTitle;
  const char* NumberBoxPrompt;
  const char* ExampleTitle;
  const char* NoPictures;
};

const TTexts Russian = {"", "Выбор картинки", "Пожалуйста, введите номер картинки:", "Пример",
                        "Нет картинок. Программа будет завершена!"};

const TTexts Languages[] = {
    Russian,
    {"ru", "Выбор картинки", "Пожалуйста, введите номер картинки:", "Пример",
     "Нет картинок. Программа будет завершена!"},
    {"en", "Choose a picture", "Please type the number of the picture:", "Example",
     "No pictures found. The game will now close."},
    {"de", "Bild auswählen", "Bitte gib die Nummer des Bildes ein:", "Vorlage",
     "Keine Bilder gefunden. Das Programm wird jetzt beendet."},
    {"fr", "Choisir une image", "Tape le numéro de l'image :", "Modèle",
     "Aucune image trouvée. Le programme va se fermer."},
    {"es", "Elegir un dibujo", "Escribe el número del dibujo:", "Modelo",
     "No se ha encontrado ningún dibujo. El programa se va a cerrar."},
    {"it", "Scegli un disegno", "Scrivi il numero del disegno:", "Modello",
     "Nessun disegno trovato. Il programma ora si chiude."},
    {"pt_BR", "Escolher um desenho", "Digite o número do desenho:", "Modelo",
     "Nenhum desenho encontrado. O programa vai fechar."},
    {"pl", "Wybór obrazka", "Wpisz numer obrazka:", "Wzór",
     "Nie znaleziono żadnych obrazków. Program zostanie zamknięty."},
    {"uk", "Вибір малюнка", "Будь ласка, введи номер малюнка:", "Зразок",
     "Немає жодного малюнка. Програму буде закрито."},
    {"nl", "Kleurplaat kiezen", "Typ het nummer van de kleurplaat:", "Voorbeeld",
     "Geen kleurplaten gevonden. Het programma wordt nu afgesloten."},
};

// Answers the dialogs without showing them and remembers what they showed.
class TRecordedDialogs : public TDialogProvider {
 public:
  QStringList Messages;
  QString Caption, Prompt;

  void ShowPlainMessage(const QString& AText) override { Messages << AText; }
  bool InputQuery(const QString& ACaption, const QString& APrompt, QString&) override {
    Caption = ACaption;
    Prompt = APrompt;
    return false;
  }
  void ShowException(const QString& AText) override { ADD_FAILURE() << AText.toStdString(); }
};

// What the game shows in the language installed now: the number box, the
// example window's caption, the no-pictures and the too-many-colours messages.
struct TShown {
  QString NumberBoxTitle, NumberBoxPrompt, ExampleTitle, NoPictures, TooManyColours;
};

void WriteFile(const QString& APath, const std::vector<uint8_t>& ABytes) {
  QDir().mkpath(QFileInfo(APath).path());
  QFile F(APath);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write(reinterpret_cast<const char*>(ABytes.data()), qsizetype(ABytes.size()));
}

TShown Shown() {
  TShown S;
  QTemporaryDir Dir;
  const QString Root = Dir.path();
  QDir().mkpath(Root + "/none");
  // Two colours beside black; and eleven, one too many.
  WriteFile(Root + "/two/1.bmp", Bmp24(5, 3, [](int32_t X, int32_t) {
              return X < 2 ? 0x0000FF : X > 2 ? 0x00FF00 : 0;
            }));
  WriteFile(Root + "/many/1.bmp",
            Bmp24(11, 1, [](int32_t X, int32_t) { return TColor(0x101010 * uint32_t(X + 1)); }));

  TRecordedDialogs Dialogs;
  SetDialogProvider(&Dialogs);
  TRandom Random(1);
  const auto Play = [&](const char* AFolder, const std::function<void(TForm1&, TGame&)>& AThen) {
    TForm1 Form;
    TGame Game(Form, Random, (Root + "/tintbox").toStdString(),
               (Root + "/" + AFolder).toStdString());
    Game.FormCreate();
    if (!Form.Closed()) Game.FormShow();
    if (AThen) AThen(Form, Game);
  };
  Play("none", nullptr);
  Play("many", nullptr);
  if (Dialogs.Messages.size() == 2) {
    S.NoPictures = Dialogs.Messages[0];
    S.TooManyColours = Dialogs.Messages[1];
  }
  Play("two", [&](TForm1&, TGame& Game) {
    Game.indexClick();
    // The example window is modal: read its caption once it shows, then close it.
    QTimer Poll;
    Poll.setInterval(10);
    QObject::connect(&Poll, &QTimer::timeout, [&] {
      for (QWidget* W : QApplication::topLevelWidgets())
        if (auto* D = qobject_cast<QDialog*>(W); D && D->isVisible()) {
          S.ExampleTitle = D->windowTitle();
          D->close();
        }
    });
    Poll.start();
    Game.exClick();
  });
  SetDialogProvider(nullptr);
  S.NumberBoxTitle = Dialogs.Caption;
  S.NumberBoxPrompt = Dialogs.Prompt;
  return S;
}

// Qt's caption of the Cancel button in ALanguage, from its catalogue when
// installed.
QString QtCancel(const QString& ALanguage) {
  static const std::map<QString, QString> Cancel = {
      {"ru", "Отмена"},   {"de", "Abbrechen"}, {"fr", "Annuler"},
      {"es", "Cancelar"}, {"it", "Annulla"},   {"pt_BR", "Cancelar"},
      {"pl", "Anuluj"},   {"uk", "Скасувати"}, {"nl", "Annuleren"}};
  const auto It = Cancel.find(ALanguage);
  const QString Catalogue =
      QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" + ALanguage + ".qm";
  return It != Cancel.end() && QFile::exists(Catalogue) ? It->second : QStringLiteral("Cancel");
}

// Every child inside the dialog, and every label and button wide enough for
// its text.
void ExpectFits(QDialog& AForm, const QString& AWhat) {
  for (QWidget* W : AForm.findChildren<QWidget*>()) {
    if (!W->isVisibleTo(&AForm) || W->parentWidget() != &AForm) continue;
    EXPECT_TRUE(AForm.rect().contains(W->geometry()))
        << AWhat.toStdString() << ": " << W->metaObject()->className() << " at "
        << W->geometry().x() << "," << W->geometry().y() << " " << W->width() << "x" << W->height()
        << " outside " << AForm.width() << "x" << AForm.height();
  }
  const QFontMetrics Metrics(AForm.font(), &AForm);
  for (QLabel* L : AForm.findChildren<QLabel*>()) {
    const QRect Need = Metrics.boundingRect(QRect(0, 0, L->width(), 0),
                                            Qt::TextWordWrap | Qt::TextExpandTabs, L->text());
    EXPECT_LE(Need.width(), L->width()) << AWhat.toStdString();
    EXPECT_LE(Need.height(), L->height()) << AWhat.toStdString();
  }
  for (QPushButton* B : AForm.findChildren<QPushButton*>())
    EXPECT_GE(B->width(), Metrics.horizontalAdvance(B->text().remove('&')) + 8)
        << AWhat.toStdString() << ": " << B->text().toStdString();
}

class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallLanguage(QString()); }
};

}  // namespace

TEST_F(LanguageTest, EachLanguageShowsItsTextsInDialogsThatFitThem) {
  for (const TTexts& L : Languages) {
    SCOPED_TRACE(std::string("language \"") + L.Language + "\"");
    InstallLanguage(QString::fromLatin1(L.Language));
    const TShown S = Shown();
    EXPECT_EQ(S.NumberBoxTitle, QString::fromUtf8(L.NumberBoxTitle));
    EXPECT_EQ(S.NumberBoxPrompt, QString::fromUtf8(L.NumberBoxPrompt));
    EXPECT_EQ(S.ExampleTitle, QString::fromUtf8(L.ExampleTitle));
    EXPECT_EQ(S.NoPictures, QString::fromUtf8(L.NoPictures));
    // The picture's number and the colour limit are in the text, the Russian's
    // own characters are not (nothing left untranslated).
    EXPECT_TRUE(S.TooManyColours.contains(QStringLiteral("1")) &&
                S.TooManyColours.contains(QStringLiteral("10")))
        << S.TooManyColours.toStdString();
    EXPECT_FALSE(S.TooManyColours.contains('%')) << S.TooManyColours.toStdString();

    // The dialogs take their size from these texts.
    TInputQueryForm Box(S.NumberBoxTitle, S.NumberBoxPrompt, QStringLiteral("12"));
    EXPECT_EQ(Box.CancelButton()->text(), QtCancel(QString::fromLatin1(L.Language)));
    ExpectFits(Box, S.NumberBoxPrompt);
    EXPECT_GE(Box.Edit()->x(), Box.Prompt()->x() + Box.Prompt()->width());
    for (const QString& Text : {S.NoPictures, S.TooManyColours}) {
      TMessageForm Message(Text);
      ExpectFits(Message, Text);
    }
  }
}

TEST_F(LanguageTest, UnderCTheButtonsStayOKAndCancel) {
  InstallLanguage(QString());
  TInputQueryForm Box(QStringLiteral("Выбор картинки"), QStringLiteral("Номер:"), "1");
  EXPECT_EQ(Box.OKButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(Box.CancelButton()->text(), QStringLiteral("Cancel"));
  TMessageForm Message(QStringLiteral("Нет картинок"));
  EXPECT_EQ(Message.OKButton()->text(), QStringLiteral("OK"));
}

TEST(Language, EveryTranslationIsBuiltIn) {
  EXPECT_EQ(Translations(), QStringList({"de", "en", "es", "fr", "it", "nl", "pl", "pt_BR", "uk"}));
}

TEST(Language, PickedFromTheWantedLanguagesInTheirOrder) {
  struct TCase {
    QStringList Wanted;
    const char* Want;
  } Cases[] = {
      {{"de-DE", "de-Latn-DE", "de"}, "de"},
      {{"pt-BR", "pt-Latn-BR", "pt"}, "pt_BR"},
      {{"pt-PT", "pt-Latn-PT"}, "pt_BR"},  // the other country's Portuguese
      {{"en-GB", "en-Latn-GB"}, "en"},
      {{"nl-BE"}, "nl"},
      {{"uk-UA", "uk-Cyrl-UA", "uk"}, "uk"},
      {{"fr", "fr-Latn-FR", "fr-FR", "de"}, "fr"},
      {{"ja", "ja-Jpan-JP", "pl"}, "pl"},  // no Japanese: the next one
      {{"ru-RU", "de"}, "ru"},             // the program's own texts
      {{"ja-JP"}, ""},
      {{"C"}, ""},
      {{"xx"}, ""},
      {{}, ""},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(PickLanguage(C.Wanted), QString::fromLatin1(C.Want))
        << C.Wanted.join(' ').toStdString();
}

// The language the program starts in, from the environment: each row runs in
// a process of its own, started with those variables, since Qt reads the
// system locale once.
TEST(Language, TakenFromTheEnvironment) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct TCase {
    const char *Language, *All, *Messages, *Lang, *Title;
  } Cases[] = {
      {"", "", "", "C.UTF-8", "Выбор картинки"},
      {"", "", "", "", "Выбор картинки"},
      {"", "", "", "ru_RU.UTF-8", "Выбор картинки"},
      {"", "", "", "de_DE.UTF-8", "Bild auswählen"},
      {"fr", "", "", "de_DE.UTF-8", "Choisir une image"},
      {"ja:pl", "", "", "de_DE.UTF-8", "Wybór obrazka"},
      {"", "nl_NL.UTF-8", "", "de_DE.UTF-8", "Kleurplaat kiezen"},
      {"", "", "pt_BR.UTF-8", "de_DE.UTF-8", "Escolher um desenho"},
      {"", "", "ja_JP.UTF-8", "de_DE.UTF-8", "Выбор картинки"},
      // As gettext does: under C, LANGUAGE does not count.
      {"fr", "", "", "C.UTF-8", "Выбор картинки"},
      {"de", "POSIX", "", "fr_FR.UTF-8", "Выбор картинки"},
  };
  const auto Set = [](const char* AName, const char* AValue) {
    if (*AValue)
      qputenv(AName, AValue);
    else
      qunsetenv(AName);
  };
  const char* const Names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::map<const char*, QByteArray> Saved;
  for (const char* Name : Names)
    if (qEnvironmentVariableIsSet(Name)) Saved[Name] = qgetenv(Name);
  for (const TCase& C : Cases) {
    const std::string Row = std::string("LANGUAGE=") + C.Language + " LC_ALL=" + C.All +
                            " LC_MESSAGES=" + C.Messages + " LANG=" + C.Lang;
    Set("LANGUAGE", C.Language);
    Set("LC_ALL", C.All);
    Set("LC_MESSAGES", C.Messages);
    Set("LANG", C.Lang);
    EXPECT_EXIT(
        {
          InstallLanguage(EnvironmentLanguage());
          const QString Title = Shown().NumberBoxTitle;
          std::fprintf(stderr, "number box: %s\n", Title.toUtf8().constData());
          std::exit(Title == QString::fromUtf8(C.Title) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << Row << ", want " << C.Title;
  }
  for (const char* Name : Names)
    if (Saved.count(Name))
      qputenv(Name, Saved[Name]);
    else
      qunsetenv(Name);
}

// ---------------------------------------------------------------------------
// The .ts files.

namespace {

struct TMessage {
  QString Context, Source, Translation, Type;
};

struct TTsFile {
  QString Language, SourceLanguage;
  std::vector<TMessage> Messages;
};

TTsFile ReadTs(const QString& APath) {
  TTsFile File;
  QFile F(APath);
  if (!F.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << APath.toStdString();
    return File;
  }
  QXmlStreamReader Xml(&F);
  QString Context;
  TMessage* Message = nullptr;
  while (!Xml.atEnd()) {
    if (!Xml.readNext() || !Xml.isStartElement()) continue;
    const auto Name = Xml.name();
    if (Name == QLatin1String("TS")) {
      File.Language = Xml.attributes().value("language").toString();
      File.SourceLanguage = Xml.attributes().value("sourcelanguage").toString();
    } else if (Name == QLatin1String("name")) {
      Context = Xml.readElementText();
    } else if (Name == QLatin1String("message")) {
      File.Messages.push_back({Context, {}, {}, {}});
      Message = &File.Messages.back();
    } else if (Name == QLatin1String("source") && Message) {
      Message->Source = Xml.readElementText();
    } else if (Name == QLatin1String("translation") && Message) {
      Message->Type = Xml.attributes().value("type").toString();
      Message->Translation = Xml.readElementText();
    }
  }
  EXPECT_FALSE(Xml.hasError()) << APath.toStdString() << ": " << Xml.errorString().toStdString();
  return File;
}

std::set<QString> Placeholders(const QString& AText) {
  std::set<QString> Found;
  static const QRegularExpression Marker(QStringLiteral("%\\d+"));
  for (const auto& M : Marker.globalMatch(AText)) Found.insert(M.captured());
  return Found;
}

}  // namespace

TEST(Translations, EveryTextOfTheSourcesFinishedInEveryLanguageWithItsPlaceholders) {
  // The texts as they stand in the sources now, extracted as a translator
  // would extract them.
  QTemporaryDir Dir;
  const QString Extracted = Dir.filePath("extracted.ts");
  QProcess Lupdate;
  Lupdate.start(QStringLiteral(TINTBOX_LUPDATE),
                {"-silent", "-locations", "none", "-source-language", "ru_RU",
                 QStringLiteral(TINTBOX_SOURCE_DIR "/src"), "-ts", Extracted});
  ASSERT_TRUE(Lupdate.waitForFinished(60000)) << "lupdate did not finish";
  ASSERT_EQ(Lupdate.exitCode(), 0) << Lupdate.readAllStandardError().toStdString();
  std::set<std::pair<QString, QString>> Texts;
  for (const TMessage& M : ReadTs(Extracted).Messages) Texts.insert({M.Context, M.Source});
  ASSERT_GE(Texts.size(), 6u);

  const QDir Folder(QStringLiteral(TINTBOX_SOURCE_DIR "/translations"));
  const QStringList Files = Folder.entryList({"tintbox_*.ts"}, QDir::Files, QDir::Name);
  QStringList Names;
  for (const QString& Name : Files) {
    SCOPED_TRACE(Name.toStdString());
    const QString Language = Name.mid(8, Name.size() - 8 - 3);
    Names << Language;
    const TTsFile File = ReadTs(Folder.filePath(Name));
    EXPECT_EQ(File.Language, Language);
    EXPECT_EQ(File.SourceLanguage, QStringLiteral("ru_RU"));
    std::set<std::pair<QString, QString>> Translated;
    for (const TMessage& M : File.Messages) {
      const std::string What = (M.Context + ": " + M.Source).toStdString();
      EXPECT_TRUE(Texts.count({M.Context, M.Source})) << "no longer in the sources: " << What;
      EXPECT_TRUE(M.Type.isEmpty()) << M.Type.toStdString() << ": " << What;
      EXPECT_FALSE(M.Translation.trimmed().isEmpty()) << "empty: " << What;
      EXPECT_EQ(Placeholders(M.Translation), Placeholders(M.Source))
          << What << " -> " << M.Translation.toStdString();
      Translated.insert({M.Context, M.Source});
    }
    for (const auto& [Context, Source] : Texts)
      EXPECT_TRUE(Translated.count({Context, Source}))
          << "not translated: " << (Context + ": " + Source).toStdString();
  }
  // Every file is built into the program.
  EXPECT_EQ(Names, Translations());
}
