#include "catalogue/descriptor.h"

#include "catalogue/keyvalue.h"
#include "catalogue/textfile.h"
#include "catalogue/wraptext.h"

#include <QRegularExpression>

#include <algorithm>

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

void store(ComponentInfo &record, QStringView key, QString &&value)
{
    if (key == u"DESC") {
        record.desc = wrapText(descriptionWidth, value);
    } else if (key == u"NAME") {
        record.name = std::move(value);
    } else {
        record.tip = std::move(value);
    }
}
} // namespace

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

bool LanguageChoice::take(QStringView key, QStringView tag)
{
    const qsizetype rank = tag.isEmpty() ? m_languages.size() : m_languages.indexOf(tag);
    if (rank < 0) {
        return false;
    }
    int &best = key == u"DESC" ? m_desc : (key == u"NAME" ? m_name : m_tip);
    if (rank > best) {
        return false;
    }
    best = int(rank);
    return true;
}

void applyDescriptorLine(ComponentInfo &record, QString line, LanguageChoice &choice)
{
    QString value = splitKeyValue(line, u":"_s);
    if (line.endsWith(u']')) {
        // Only tagged keys end in a bracket, so an untagged line never gets this far.
        const qsizetype open = line.indexOf(u'[');
        if (open < 0) {
            return;
        }
        const QStringView key = QStringView(line).left(open);
        const QStringView tag = QStringView(line).sliced(open + 1, line.size() - open - 2);
        if (std::find(std::begin(translatableKeys), std::end(translatableKeys), key)
                != std::end(translatableKeys)
            && isLanguageTag(tag) && choice.take(key, tag)) {
            store(record, key, std::move(value));
        }
        return;
    }
    if (line == u"DESC" || line == u"NAME" || line == u"TIP") {
        if (choice.take(line, {})) {
            store(record, line, std::move(value));
        }
    } else if (line == u"EXE") {
        record.exe = std::move(value);
    } else if (line == u"HELP") {
        record.help = std::move(value);
    } else if (line == u"IMG") {
        record.img = std::move(value);
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
