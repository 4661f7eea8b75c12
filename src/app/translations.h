#pragma once

#include <QStringList>

// The launcher's own translation, and Qt's for its standard buttons and menus where it is
// installed, for the first of `uiLanguages` (as QLocale::uiLanguages() gives them) that the
// launcher has a translation for. An English language, or C or POSIX, ends the search first: the
// texts are written in English. Returns the translation's language ("de"), or nothing for English.
QString installTranslations(const QStringList &uiLanguages);

// The languages the launcher has a translation for, as the file names give them ("de", "de_AT").
QStringList shippedTranslations();

// Takes the translations installTranslations() installed away again, so that the texts are
// English.
void removeTranslations();
