#pragma once

#include "catalogue/componentinfo.h"

#include <QStringList>
#include <QStringView>

#include <limits>
#include <optional>

// The descriptor's file name: a sub-folder that holds a plain file of this name is a component.
inline constexpr QStringView descriptorFileName = u"kk.cfg";

// The keys a descriptor line may have, exactly as written here.
inline constexpr QStringView descriptorKeys[] = {u"DESC", u"EXE", u"HELP", u"IMG", u"NAME", u"TIP"};

// Whether `tag` names a language as a descriptor key's tag does: two or three lower-case letters,
// optionally an underscore and the territory's two upper-case letters or three digits ("de",
// "de_AT", "es_419").
bool isLanguageTag(QStringView tag);

// The tags that suit a user whose languages are `uiLanguages` (as QLocale::uiLanguages() gives
// them, best first): each language with its territory, then without, "de_AT" and "de" for "de-AT".
// The list ends at the first English language, or C or POSIX: the plain keys are written in
// English, as the launcher's own texts are, and an English reader is better served by them than
// by a second language.
QStringList descriptorLanguages(const QStringList &uiLanguages);

// While one descriptor is read: the tags that suit the user, best first, and for each of DESC,
// NAME and TIP how well the line that gave the field its value suits. A plain key suits less
// than every tag the user reads; a tag the user does not read is skipped.
class LanguageChoice
{
public:
    explicit LanguageChoice(QStringList languages = {})
        : m_languages(std::move(languages))
    {
    }

    enum Key { Desc, Name, Tip };

    // Whether a line of `key` with language `tag` is taken: when it suits at least as well as the
    // line that set the field before. A line taken later replaces an earlier one that suits as
    // well, as plain keys always have.
    bool take(Key key, QStringView tag)
    {
        const qsizetype rank = m_languages.indexOf(tag);
        return rank >= 0 && takeRank(key, rank);
    }
    // The same for the plain key.
    bool takePlain(Key key) { return takeRank(key, m_languages.size()); }

private:
    bool takeRank(Key key, qsizetype rank)
    {
        if (rank > m_best[key]) {
            return false;
        }
        m_best[key] = rank;
        return true;
    }

    QStringList m_languages;
    qsizetype m_best[3]
        = {std::numeric_limits<qsizetype>::max(), std::numeric_limits<qsizetype>::max(),
           std::numeric_limits<qsizetype>::max()};
};

// Which of DESC, NAME and TIP, the keys that may also be given for one language, `key` is;
// nothing for any other key.
std::optional<LanguageChoice::Key> translatableKey(QStringView key);

// A key with a language tag, DESC[de]: the key before the bracket and the tag inside.
struct TaggedKey {
    QStringView key;
    QStringView tag;
};
// `key` split at its tag; nothing for a key that does not end in a bracketed tag.
std::optional<TaggedKey> splitLanguageTag(QStringView key);

// Stores one descriptor line in the record. The key is everything before the line's first colon
// and must be one of DESC, EXE, HELP, IMG, NAME or TIP, exactly in upper case, or DESC, NAME or TIP
// with a language tag that `choice` takes; any other line is skipped. DESC is wrapped for the
// description box as it is stored. Without a choice, every tagged line is skipped.
void applyDescriptorLine(ComponentInfo &record, QString line, LanguageChoice &choice);
void applyDescriptorLine(ComponentInfo &record, QString line);

// Reads the descriptor file at `path` into `record`, line by line; a key that occurs again
// replaces the earlier value, and DESC, NAME and TIP come from the line whose tag suits
// `languages` (descriptorLanguages()) best. Raises a RuntimeError when the file cannot be read;
// lines applied before the failure stay in the record.
void readDescriptor(const QString &path, ComponentInfo &record, const QStringList &languages = {});
