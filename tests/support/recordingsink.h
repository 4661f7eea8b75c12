#pragma once

#include "catalogue/messagesink.h"

#include <QList>
#include <QStringList>

// Records the boxes the catalogue would show, for tests that need no display.
class RecordingSink final : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        texts.append(text);
        titles.append(title);
        icons.append(icon);
    }
    QStringList texts;
    QStringList titles;
    QList<MessageIcon> icons;
};
