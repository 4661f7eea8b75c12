#include "suite/suitecheck.h"

#include "catalogue/descriptor.h"
#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/keyvalue.h"
#include "catalogue/paths.h"
#include "catalogue/textfile.h"
#include "platform/programstart.h"
#include "suite/loadedcomponent.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{
// The boxes a start-up would show, as findings at the place the check has reached.
class BoxFindings final : public MessageSink
{
public:
    explicit BoxFindings(QList<Finding> &findings)
        : m_findings(findings)
    {
    }
    void at(const QString &path, int line)
    {
        m_path = path;
        m_line = line;
    }
    void showMessage(const QString &text, const QString & /*title*/, MessageIcon icon) override
    {
        // On one line, without the "Error::" that only says again what the severity says.
        constexpr QStringView errorPrefix = u"Error::";
        QString line = text;
        if (line.startsWith(errorPrefix)) {
            line.remove(0, errorPrefix.size());
        }
        line.replace(u"\r\n"_s, u" "_s);
        m_findings.append({m_path, m_line,
                           icon == MessageIcon::Critical ? Finding::Error : Finding::Warning,
                           line.trimmed()});
    }

private:
    QList<Finding> &m_findings;
    QString m_path;
    int m_line = 0;
};

bool isPlainKey(QStringView key)
{
    return std::find(std::begin(descriptorKeys), std::end(descriptorKeys), key)
        != std::end(descriptorKeys);
}

// A key the launcher reads: one of the six, or DESC, NAME or TIP with a well-formed tag.
bool isKey(QStringView key)
{
    if (const std::optional<TaggedKey> tagged = splitLanguageTag(key)) {
        return translatableKey(tagged->key) && isLanguageTag(tagged->tag);
    }
    return isPlainKey(key);
}

// Why a tagged key that is not read is skipped; empty for any other key.
QString taggedKeyProblem(QStringView key)
{
    const std::optional<TaggedKey> tagged = splitLanguageTag(key);
    if (!tagged || !isPlainKey(tagged->key)) {
        return {};
    }
    if (!translatableKey(tagged->key)) {
        return u"key \"%1\" is skipped: only DESC, NAME and TIP take a language tag"_s.arg(key);
    }
    return u"key \"%1\" is skipped: a language tag is [ll] or [ll_CC], as in %2[de] or %2[de_AT]"_s
        .arg(key, tagged->key);
}

// The key `key` would be, were it written in upper case, its language tag kept; empty when none.
QString keyInOtherCase(QStringView key)
{
    const std::optional<TaggedKey> tagged = splitLanguageTag(key);
    const QStringView bare = tagged ? tagged->key : key;
    for (const QStringView known : descriptorKeys) {
        if (bare.compare(known, Qt::CaseInsensitive) == 0) {
            return tagged ? u"%1[%2]"_s.arg(known, tagged->tag) : known.toString();
        }
    }
    return {};
}

// What the lines of a descriptor tell an author, and where its values come from.
struct DescriptorLines {
    QHash<QString, int> lastLine; // the line each key's value comes from
    int failingLine = 0; // the first line that reading the descriptor fails on, or 0
};

DescriptorLines readLines(const QString &text, const QString &path, QList<Finding> &findings)
{
    DescriptorLines lines;
    int number = 0;
    forEachLine(text, [&](QStringView view) {
        ++number;
        const QString line = view.toString();
        const auto warn = [&](const QString &warning) {
            findings.append({path, number, Finding::Warning, warning});
        };
        if (lines.failingLine == 0 && captureFailure([&] {
                ComponentInfo scratch;
                applyDescriptorLine(scratch, line);
            })) {
            lines.failingLine = number;
        }
        QString key = line;
        splitKeyValue(key, u":"_s);
        if (!line.contains(u':')) {
            if (line.trimmed().isEmpty()) {
                return;
            }
            warn(isKey(key) ? u"line without a colon: %1 is set to an empty value"_s.arg(key)
                            : u"line without a colon is skipped"_s);
        } else if (!isKey(key)) {
            const QString upper = keyInOtherCase(key);
            if (const QString problem = taggedKeyProblem(key); !problem.isEmpty()) {
                warn(problem);
            } else {
                warn(upper.isEmpty()
                         ? u"unknown key \"%1\" is skipped"_s.arg(key)
                         : u"key \"%1\" is skipped: keys are upper case, %2"_s.arg(key, upper));
            }
        }
        if (const std::optional<TaggedKey> tagged = splitLanguageTag(key); tagged && isKey(key)) {
            if (descriptorLanguages({tagged->tag.toString()}).isEmpty()) {
                warn(u"%1 is never read: readers of English get the plain %2"_s.arg(key,
                                                                                    tagged->key));
            }
            // What a start-up in that language would meet on this line.
            LanguageChoice reader({tagged->tag.toString()});
            if (const std::optional<RuntimeError> failure = captureFailure([&] {
                    ComponentInfo scratch;
                    applyDescriptorLine(scratch, line, reader);
                })) {
                warn(u"for readers of %1 this line fails, and the button stays hidden: %2"_s.arg(
                    tagged->tag, failure->description()));
            }
        }
        if (isKey(key)) {
            if (const int earlier = lines.lastLine.value(key)) {
                warn(u"%1 given again: this value replaces the one on line %2"_s.arg(key).arg(
                    earlier));
            }
            lines.lastLine.insert(key, number);
        }
    });
    // A language's text is read only where that language is; everyone else gets the plain key's.
    for (auto line = lines.lastLine.cbegin(); line != lines.lastLine.cend(); ++line) {
        if (const std::optional<TaggedKey> tagged = splitLanguageTag(line.key());
            tagged && !lines.lastLine.contains(tagged->key.toString())) {
            findings.append({path, line.value(), Finding::Warning,
                             u"%1 without a %2 line: readers of other languages get no %2"_s.arg(
                                 line.key(), tagged->key)});
        }
    }
    return lines;
}

// The sharper files beside a picture that scaled screens take instead of it: named in a note, and
// warned of when one is not a picture or not N times the picture's size, since a screen would
// then show it squeezed or stretched, or the picture blurred after all.
void checkSharperSources(const QString &picture, QSize size, const QString &descriptor, int line,
                         QList<Finding> &found)
{
    QStringList sharper;
    for (int scale = 2; scale <= 4; ++scale) {
        qreal sourceScale = 1;
        const QString path = Picture::sharperSource(picture, scale, &sourceScale);
        if (sourceScale != scale) {
            continue;
        }
        const QString name = QFileInfo(path).fileName();
        sharper.append(u"%1 above %2 %"_s.arg(name).arg((scale - 1) * 100));
        try {
            const QSize sharperSize = Picture::load(path, {1, 1}).size();
            if (sharperSize != size * scale) {
                found.append(
                    {descriptor, line, Finding::Warning,
                     u"%1 is %2 x %3 pixels, not %4 times the picture's %5 x %6"_s.arg(name)
                         .arg(sharperSize.width())
                         .arg(sharperSize.height())
                         .arg(scale)
                         .arg(size.width())
                         .arg(size.height())});
            }
        } catch (const RuntimeError &error) {
            found.append(
                {descriptor, line, Finding::Warning,
                 u"%1 is passed over, so screens above %2 % show the picture scaled: %3"_s.arg(name)
                     .arg((scale - 1) * 100)
                     .arg(error.description())});
        }
    }
    if (!sharper.isEmpty()) {
        found.append(
            {descriptor, line, Finding::Note, u"sharper pictures: "_s + sharper.join(u", "_s)});
    }
}

void checkComponent(const QString &suite, const QString &folder, QSize buttonPixels,
                    qsizetype button, qsizetype buttons, QList<Finding> &findings)
{
    const QString descriptor = componentFilePath(suite, folder, descriptorFileName.toString());
    const LoadedComponent loaded = readComponent(suite, folder, buttonPixels);
    QList<Finding> found;
    BoxFindings boxes(found);
    DescriptorLines lines;
    const bool readable
        = !captureFailure([&] { lines = readLines(readTextFile(descriptor), descriptor, found); });
    if (readable) {
        static const QHash<QString, QString> meaning = {
            {u"DESC"_s, u"the description box shows no text about the component"_s},
            {u"EXE"_s, u"the button has no program to start"_s},
            {u"IMG"_s, u"the button has no picture and stays hidden"_s},
        };
        for (const QString &key : {u"DESC"_s, u"EXE"_s, u"IMG"_s}) {
            if (!lines.lastLine.contains(key)) {
                found.append({descriptor, 0, Finding::Warning,
                              u"no %1 line: %2"_s.arg(key, meaning.value(key))});
            }
        }
    }

    const int imgLine = lines.lastLine.value(u"IMG"_s);
    if (loaded.failure) {
        // Where loading met it: the descriptor as a whole, one of its lines, or else the picture.
        int line = imgLine;
        if (!readable) {
            line = 0;
        } else if (lines.failingLine != 0) {
            line = lines.failingLine;
        }
        boxes.at(descriptor, line);
        showErrorBox(boxes, *loaded.failure);
    } else {
        const QSize size = loaded.picture.size();
        if (size.width() > buttonPixels.width() || size.height() > buttonPixels.height()) {
            const QSize shown = size.boundedTo(buttonPixels);
            found.append({descriptor, imgLine, Finding::Warning,
                          u"the picture is %1 x %2 pixels, larger than the %3 x %4 button: at "
                          "100 % scale only its centre, %5 x %6, is seen"_s.arg(size.width())
                              .arg(size.height())
                              .arg(buttonPixels.width())
                              .arg(buttonPixels.height())
                              .arg(shown.width())
                              .arg(shown.height())});
        }
        checkSharperSources(componentFilePath(suite, folder, loaded.record.img), size, descriptor,
                            imgLine, found);
        const QString program = componentFilePath(suite, folder, loaded.record.exe);
        boxes.at(descriptor, lines.lastLine.value(u"EXE"_s));
        if (loaded.searchFailure) {
            reportSearchFailure(boxes, program, *loaded.searchFailure);
        } else if (!loaded.exeFound) {
            found.append({descriptor, lines.lastLine.value(u"EXE"_s), Finding::Warning,
                          u"program not found, so the button is disabled: "_s + program});
        } else if (const FileProblem problem = programFileProblem(program);
                   problem != FileProblem::None) {
            // The box a click on the button would show.
            showErrorBox(boxes, RuntimeError::forFile(problem, program));
        }
    }

    std::stable_sort(found.begin(), found.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    QString place = u"button %1 of %2"_s.arg(button).arg(buttons);
    if (loaded.failure) {
        place += u", hidden"_s;
    } else if (!loaded.exeFound) {
        place += u", disabled"_s;
    }
    findings.append({descriptor, 0, Finding::Note, place});
    findings.append(found);
}

// A sub-folder without a descriptor that looks as if it was meant to have one.
void checkOtherFolder(const QString &suite, const QString &folder, QList<Finding> &findings)
{
    const QDir directory(componentDirectory(suite, folder));
    // Name filters ignore letter case.
    const QFileInfoList lookalikes = directory.entryInfoList(
        {descriptorFileName.toString()},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : lookalikes) {
        QString why;
        if (entry.fileName() != descriptorFileName) {
            why = u"\"%1\" is not named kk.cfg in lower case"_s.arg(entry.fileName());
        } else if (entry.isDir()) {
            why = u"\"kk.cfg\" is a folder"_s;
        } else if (!entry.isFile()) {
            why = u"\"kk.cfg\" is not a plain file"_s;
        } else {
            continue; // a descriptor whose search failed: that has its own finding
        }
        findings.append({entry.filePath(), 0, Finding::Warning,
                         why + u", so \"%1\" is not a component"_s.arg(folder)});
    }
}

QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            line += u"\\x%1"_s.arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            line += c;
        }
    }
    return line;
}

QString counted(qsizetype count, const QString &what)
{
    return QString::number(count) + u' ' + what + (count == 1 ? u""_s : u"s"_s);
}
} // namespace

QDebug operator<<(QDebug debug, const Finding &finding)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Finding(" << finding.path << ':' << finding.line << ", " << finding.severity
                    << ", " << finding.text << ')';
    return debug;
}

qsizetype SuiteCheck::count(Finding::Severity severity) const
{
    return std::count_if(findings.begin(), findings.end(),
                         [severity](const Finding &f) { return f.severity == severity; });
}

QString SuiteCheck::listing() const
{
    static const QString severities[] = {u"error"_s, u"warning"_s, u"note"_s};
    QString text;
    for (const Finding &finding : findings) {
        text += oneLine(finding.path) + u':' + QString::number(finding.line) + u": "_s
            + severities[finding.severity] + u": "_s + oneLine(finding.text) + u'\n';
    }
    text += counted(components, u"component"_s) + u", "_s
        + counted(count(Finding::Error), u"error"_s) + u", "_s
        + counted(count(Finding::Warning), u"warning"_s) + u'\n';
    return text;
}

SuiteCheck checkSuite(const QString &folder, QSize buttonPixels)
{
    SuiteCheck check;
    BoxFindings boxes(check.findings);
    const QString descriptor = descriptorFileName.toString();
    // Found as a start-up finds them, with the boxes finding them shows.
    const Discovery found = discoverComponents(folder, descriptor);
    for (const Discovery::Box &box : found.boxes) {
        boxes.at(componentFilePath(folder, found.subFolders.at(box.folder), descriptor), 0);
        boxes.showMessage(box.text, box.title, box.icon);
    }
    boxes.at(folder, 0);
    if (found.failure) {
        showErrorBox(boxes, *found.failure);
        return check;
    }
    const bool none = isNoComponentsMarker(found.list);
    check.components = none ? 0 : found.list.size();
    qsizetype button = 0;
    for (qsizetype i = 0; i < found.holdsFile.size(); ++i) {
        const QString &name = found.subFolders.at(i);
        if (found.holdsFile.at(i)) {
            checkComponent(folder, name, buttonPixels, ++button, check.components, check.findings);
        } else {
            checkOtherFolder(folder, name, check.findings);
        }
    }
    if (none) {
        showNoComponentsBox(boxes);
    }
    return check;
}
