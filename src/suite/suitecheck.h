#pragma once

#include <QDebug>
#include <QList>
#include <QSize>
#include <QString>

// One thing a check of a suite found, where it found it: a line of a descriptor counted from 1,
// or line 0 for a file or folder as a whole.
struct Finding {
    enum Severity { Error, Warning, Note };

    QString path;
    int line = 0;
    Severity severity = Error;
    QString text;

    friend bool operator==(const Finding &, const Finding &) = default;
};

QDebug operator<<(QDebug debug, const Finding &finding);

// What a start-up of the launcher in a suite folder would meet, found without a display and
// without starting anything, for the people who write and install suites. The boxes a start-up
// would show, and those a click on a button would show, come from the code that shows them:
// critical boxes are errors, warning boxes warnings. Beside them the check tells what an author
// would want to know: lines the launcher skips, keys given twice, missing keys, pictures larger
// than their button, programs that are not there, folders that look like components but are not,
// and, as a note per component, the button it gets.
struct SuiteCheck {
    QList<Finding> findings;
    qsizetype components = 0;

    qsizetype count(Finding::Severity severity) const;
    // One line per finding, "path:line: error: text", and a last line with the counts. Control
    // characters in names are escaped, so that every finding stays on its line.
    QString listing() const;
};

// Checks the suite in `folder`, for launch buttons of `buttonPixels`; paths in the findings begin
// with `folder` as given.
SuiteCheck checkSuite(const QString &folder, QSize buttonPixels);
