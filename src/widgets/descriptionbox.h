#pragma once

#include <QPlainTextEdit>

// The description box: a read-only text the user can scroll, select and copy but not change.
// Texts are set with CR LF line breaks; text() gives back exactly what was set, and copying a
// selection puts CR LF between its lines again. Qt's text control announces each new text to
// assistive technology as inserted text, so a screen reader hears it without the box taking focus.
class DescriptionBox final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DescriptionBox(QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    QMimeData *createMimeDataFromSelection() const override;

private:
    QString m_text;
};
