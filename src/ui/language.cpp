#include "ui/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace tintbox {

namespace {

const QString TranslationsFolder = QStringLiteral(":/i18n");
const QString Prefix = QStringLiteral("tintbox_");
const QString Suffix = QStringLiteral(".qm");

// The translators installed now, owned by the application.
QPointer<QTranslator> FProgramTranslator;
QPointer<QTranslator> FQtTranslator;

// The locale of messages: the first of LC_ALL, LC_MESSAGES and LANG that is set.
QString MessagesLocale() {
  for (const char* Name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString Value = qEnvironmentVariable(Name);
    if (!Value.isEmpty()) return Value;
  }
  return QString();
}

// "C", "C.UTF-8", "POSIX", or nothing at all.
bool IsCLocale(const QString& AName) {
  const QString Base = AName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  return Base.isEmpty() || Base == QLatin1String("C") || Base == QLatin1String("POSIX");
}

QTranslator* Load(const QString& AFile, const QString& AFolder) {
  auto* Translator = new QTranslator(QCoreApplication::instance());
  if (Translator->load(AFile, AFolder) && QCoreApplication::installTranslator(Translator))
    return Translator;
  delete Translator;
  return nullptr;
}

}  // namespace

QStringList Translations() {
  QStringList Names;
  for (const QString& File : QDir(TranslationsFolder).entryList({Prefix + '*' + Suffix}))
    Names << File.mid(Prefix.size(), File.size() - Prefix.size() - Suffix.size());
  return Names;
}

QString PickLanguage(const QStringList& AWanted) {
  const QStringList Names = Translations();
  for (const QString& Tag : AWanted) {
    const QLocale Wanted(Tag);
    // Not a language Qt knows ("C", "xx").
    if (Wanted.language() == QLocale::C) continue;
    // The program's own texts are Russian.
    if (Wanted.language() == QLocale::Russian) return QStringLiteral("ru");
    if (Names.contains(Wanted.name())) return Wanted.name();
    // Another country's translation of the same language reads better than none.
    for (const QString& Name : Names)
      if (QLocale(Name).language() == Wanted.language()) return Name;
  }
  return QString();
}

QString EnvironmentLanguage() {
  // As gettext does, LANGUAGE counts only when the messages locale is not C.
  if (IsCLocale(MessagesLocale())) return QString();
  return PickLanguage(QLocale::system().uiLanguages());
}

void InstallLanguage(const QString& ALanguage) {
  delete FProgramTranslator;
  delete FQtTranslator;
  if (ALanguage.isEmpty()) return;
  if (ALanguage != QLatin1String("ru"))
    FProgramTranslator = Load(Prefix + ALanguage + Suffix, TranslationsFolder);
  FQtTranslator = Load(QStringLiteral("qtbase_") + ALanguage,
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace tintbox
