#include "catalogue/descriptor.h"

#include "catalogue/keyvalue.h"
#include "catalogue/textfile.h"
#include "catalogue/wraptext.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{
constexpr qint16 descriptionWidth = 52;

bool isAsciiLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLanguage(QStringView text)
{
    return (text.size() == 2 || text.size() == 3)
        && std::all_of(text.begin(), text.end(), isAsciiLower);
}

bool isTerritory(QStringView text)
{
    return (text.size() == 2 && std::all_of(text.begin(), text.end(), isAsciiUpper))
        || (text.size() == 3 && std::all_of(text.begin(), text.end(), isAsciiDigit));
}

void store(ComponentInfo &record, LanguageChoice::Key key, QString &&value)
{
    switch (key) {
    case LanguageChoice::Desc:
        record.desc = wrapText(descriptionWidth, value);
        break;
    case LanguageChoice::Name:
        record.name = std::move(value);
        break;
    case LanguageChoice::Tip:
        record.tip = std::move(value);
        break;
    }
}
} // namespace

std::optional<LanguageChoice::Key> translatableKey(QStringView key)
{
    if (key == u"DESC") {
        return LanguageChoice::Desc;
    }
    if (key == u"NAME") {
        return LanguageChoice::Name;
    }
    if (key == u"TIP") {
        return LanguageChoice::Tip;
    }
    return std::nullopt;
}

std::optional<TaggedKey> splitLanguageTag(QStringView key)
{
    const qsizetype open = key.indexOf(u'[');
    if (open < 0 || !key.endsWith(u']')) {
        return std::nullopt;
    }
    return TaggedKey{key.left(open), key.sliced(open + 1, key.size() - open - 2)};
}

bool isLanguageTag(QStringView tag)
{
    const qsizetype underscore = tag.indexOf(u'_');
    if (underscore < 0) {
        return isLanguage(tag);
    }
    return isLanguage(tag.left(underscore)) && isTerritory(tag.mid(underscore + 1));
}

QStringList descriptorLanguages(const QStringList &uiLanguages)
{
    QStringList tags;
    for (const QString &name : uiLanguages) {
        // "de-AT", "de_AT.UTF-8", "sr-Latn-RS": the language, the territory if any, nothing else.
        const QStringView bare = QStringView(name).left(name.indexOf(u'.'));
        const QList<QStringView> parts = bare.split(QRegularExpression(u"[-_@]"_s));
        const QString language = parts.value(0).toString().toLower();
        if (language == u"en" || language == u"c" || language == u"posix") {
            break;
        }
        if (!isLanguage(language)) {
            continue;
        }
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString withTerritory = language + u'_' + parts.at(i).toString().toUpper();
            if (isTerritory(parts.at(i).toString().toUpper()) && !tags.contains(withTerritory)) {
                tags.append(withTerritory);
                break;
            }
        }
        if (!tags.contains(language)) {
            tags.append(language);
        }
    }
    return tags;
}

void applyDescriptorLine(ComponentInfo &record, QString line, LanguageChoice &choice)
{
    QString value = splitKeyValue(line, u":"_s);
    if (line == u"EXE") {
        record.exe = std::move(value);
    } else if (line == u"HELP") {
        record.help = std::move(value);
    } else if (line == u"IMG") {
        record.img = std::move(value);
    } else if (const std::optional<LanguageChoice::Key> key = translatableKey(line)) {
        if (choice.takePlain(*key)) {
            store(record, *key, std::move(value));
        }
    } else if (const std::optional<TaggedKey> tagged = splitLanguageTag(line)) {
        const std::optional<LanguageChoice::Key> taggedKey = translatableKey(tagged->key);
        if (taggedKey && isLanguageTag(tagged->tag) && choice.take(*taggedKey, tagged->tag)) {
            store(record, *taggedKey, std::move(value));
        }
    }
}

void applyDescriptorLine(ComponentInfo &record, QString line)
{
    LanguageChoice plain;
    applyDescriptorLine(record, std::move(line), plain);
}

void readDescriptor(const QString &path, ComponentInfo &record, const QStringList &languages)
{
    const QString text = readTextFile(path);
    LanguageChoice choice(languages);
    forEachLine(text, [&record, &choice](QStringView line) {
        applyDescriptorLine(record, line.toString(), choice);
    });
}
