#include "app/translations.h"

#include "catalogue/descriptor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{
const QString folder = u":/i18n"_s;
const QString prefix = u"kestrelkit_"_s;

// The translators installed, owned by the application object, so that they end with it.
struct Installed {
    QPointer<QTranslator> own;
    QPointer<QTranslator> qt;
};

Installed &installed()
{
    static Installed translators;
    return translators;
}
} // namespace

QStringList shippedTranslations()
{
    QStringList languages;
    const QStringList files = QDir(folder).entryList({prefix + u"*.qm"_s}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        languages.append(QFileInfo(file).completeBaseName().mid(prefix.size()));
    }
    return languages;
}

QString installTranslations(const QStringList &uiLanguages)
{
    removeTranslations();
    // The same tags as a descriptor's keys take, best first: "de_AT" then "de" for "de-AT".
    const QStringList shipped = shippedTranslations();
    for (const QString &language : descriptorLanguages(uiLanguages)) {
        if (!shipped.contains(language)) {
            continue;
        }
        auto own = std::make_unique<QTranslator>();
        if (!own->load(prefix + language, folder)) {
            continue;
        }
        own->setParent(QCoreApplication::instance());
        installed().own = own.release();
        QCoreApplication::installTranslator(installed().own);
        // Qt's texts in the same language, so that a box's buttons speak as its text does; a
        // system without Qt's translations shows them in English.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(u"qtbase_"_s + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            qt->setParent(QCoreApplication::instance());
            installed().qt = qt.release();
            QCoreApplication::installTranslator(installed().qt);
        }
        return language;
    }
    return {};
}

void removeTranslations()
{
    Installed &translators = installed();
    for (QPointer<QTranslator> *translator : {&translators.own, &translators.qt}) {
        // Deleting a translator takes it out of the application's list.
        delete translator->data();
        *translator = nullptr;
    }
}
