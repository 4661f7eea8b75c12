#include "widgets/descriptionbox.h"

#include <QMimeData>
#include <QTextDocumentFragment>

using namespace Qt::StringLiterals;

DescriptionBox::DescriptionBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
}

void DescriptionBox::setText(const QString &text)
{
    m_text = text;
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    shown.replace(u'\r', u'\n');
    setPlainText(shown);
}

QMimeData *DescriptionBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    QString selected = textCursor().selection().toPlainText();
    selected.replace(u'\n', u"\r\n"_s);
    data->setText(selected);
    return data;
}
