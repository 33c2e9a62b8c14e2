// The player's language. The program's texts are written in Russian; the
// translations of them are built into the program (":/i18n/tintbox_<name>.qm"),
// and Qt's own texts (standard buttons, the edit box's menu) come from Qt's
// catalogues where they are installed.
#pragma once

#include <QString>
#include <QStringList>

namespace tintbox {

// The names of the translations built into the program ("de", "pt_BR", ...).
QStringList Translations();

// The language to show for a list of wanted languages, most wanted first (as
// QLocale::uiLanguages gives them: "de-DE", "pt-BR", "fr"): the first one that
// is Russian ("ru") or has a translation (its name; a translation of the same
// language for another country serves too). Empty when none of them does.
QString PickLanguage(const QStringList& AWanted);

// The language the environment asks for, by the usual rules: LANGUAGE (a
// colon-separated list) before LC_ALL, LC_MESSAGES and LANG. Empty when the
// messages locale is C or POSIX, whatever LANGUAGE says.
QString EnvironmentLanguage();

// Installs the translations of ALanguage (a name PickLanguage gives), the
// program's and Qt's, in place of any installed before. Empty: none, and the
// program shows its own texts. "ru": Qt's Russian only.
void InstallLanguage(const QString& ALanguage);

}  // namespace tintbox
