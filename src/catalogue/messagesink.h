#pragma once

#include <QString>

enum class MessageIcon { Critical, Exclamation };

// Where the catalogue's error traps send their message boxes. The application's platform
// services implement it with real modal boxes; tests record the boxes instead.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // An empty title stands for the application's title.
    virtual void showMessage(const QString &text, const QString &title, MessageIcon icon) = 0;
};
